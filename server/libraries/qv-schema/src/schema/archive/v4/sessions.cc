#include "schema/archive/v4/sessions.h"

#include "schema/archive/v4/users.h"

namespace schema::archive::v4::sessions {

using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using users::Users;
using S = Sessions;

std::string_view to_string(Sessions iden) {
  switch (iden) {
    case S::Table: return "sessions";
    case S::AccessTokenId: return "access_token_id";
    case S::RefreshTokenId: return "refresh_token_id";
    case S::UserId: return "user_id";
    case S::CreatedOn: return "created_on";
    case S::ExpiresOn: return "expires_on";
    case S::StatusChangeOn: return "status_change_on";
    case S::Status: return "status";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(S::Table)
      .col(ColumnDef(S::AccessTokenId).text().not_null().primary_key())
      .col(ColumnDef(S::RefreshTokenId).text().not_null().unique_key())
      .col(ColumnDef(S::UserId).text().not_null())
      .col(ColumnDef(S::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(S::ExpiresOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(S::StatusChangeOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(S::Status).text().not_null());
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate status;
  status.name("sessions___status___idx").table(S::Table).col(S::Status);
  IndexCreate expires;
  expires.name("sessions___expires_on___idx").table(S::Table).col(S::ExpiresOn);
  IndexCreate user;
  user.name("sessions___user_id___idx").table(S::Table).col(S::UserId);
  return {status, expires, user};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  Select query;
  query.expr(sqlbuilder::asterisk(S::Table))
      .expr_as(col(Users::Table, Users::Name), "user_name")
      .from(S::Table)
      .join(JoinType::Inner, Users::Table, col(S::Table, S::UserId).eq(col(Users::Table, Users::Id)));
  return {{"sessions__with_names", query}};
}

}  // namespace schema::archive::v4::sessions
