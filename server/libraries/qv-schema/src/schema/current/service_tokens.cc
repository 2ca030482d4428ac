#include "schema/current/service_tokens.h"

#include "schema/current/users.h"
#include "schema/sql/column.h"

namespace schema::current::service_tokens {

using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using sqlbuilder::val;
using users::Users;
using T = ServiceTokens;

std::string_view to_string(ServiceTokens iden) {
  switch (iden) {
    case T::Table: return "service_tokens";
    case T::Id: return "id";
    case T::UserId: return "user_id";
    case T::Slot: return "slot";
    case T::Digest: return "digest";
    case T::Hint: return "hint";
    case T::Comment: return "comment";
    case T::CreatedOn: return "created_on";
    case T::ExpiresOn: return "expires_on";
    case T::LastUsedOn: return "last_used_on";
    case T::Scope: return "scope";
    case T::System: return "system";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(T::Table)
      .col(sql::id_column(T::Id).not_null().primary_key())
      .col(sql::id_column(T::UserId).not_null())
      .col(ColumnDef(T::Slot).integer().not_null().check(col(T::Slot).in({val(1), val(2)})))
      .col(ColumnDef(T::Digest).text().not_null().unique_key())
      .col(ColumnDef(T::Hint).text().not_null())
      .col(ColumnDef(T::Comment).text().null())
      .col(ColumnDef(T::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::ExpiresOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::LastUsedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(T::Scope).text().not_null())
      .col(ColumnDef(T::System).boolean().not_null())
      .foreign_key({T::UserId}, Users::Table, {Users::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate slot;
  slot.name("service_tokens___user_id__slot___idx").table(T::Table).col(T::UserId).col(T::Slot).unique();
  return {slot};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col(Users::Table, Users::Name), "user_name")
      .expr_as(col(Users::Table, Users::Enabled), "user_enabled")
      .from(T::Table)
      .join(JoinType::Inner, Users::Table, col(T::Table, T::UserId).eq(col(Users::Table, Users::Id)));
  return {{"service_tokens__with_names", query}};
}

}  // namespace schema::current::service_tokens
