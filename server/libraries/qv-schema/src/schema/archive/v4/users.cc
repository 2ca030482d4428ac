#include "schema/archive/v4/users.h"

#include <string>

#include "schema/render.h"

namespace schema::archive::v4::users {

using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::custom;
using sqlbuilder::Insert;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using sqlbuilder::val;
using U = Users;

namespace {

struct BuiltInUser {
  std::string_view id;
  std::string_view name;
  std::string_view full_name;
  std::string_view password_hash;
  bool enabled;
  bool system;
};

// The system user's "!" is a marker that no password matches; the
// administrator's hash is an argon2id PHC string.
constexpr BuiltInUser kBuiltInUsers[] = {
    {kSystemUserId, "system", "System", "!", false, true},
    {kAdminUserId, "admin", "Administrator",
     "$argon2id$v=19$m=19456,t=2,p=1$Zq3vN8pLw2XkTm5RbY7cHd$Vh4Qe9Ls2Kd7Wn1Bx6Jt3Mr8Pc5Gy0Fz2Ua7Nk4Ei9S", true, false},
};

sqlbuilder::Expr text(std::string_view value) { return val(std::string(value)); }

}  // namespace

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(U::Table)
      .col(ColumnDef(U::Id).text().not_null().primary_key())
      .col(ColumnDef(U::Name).text().not_null().unique_key())
      .col(ColumnDef(U::FullName).text().not_null())
      .col(ColumnDef(U::Email).text().null().unique_key())
      .col(ColumnDef(U::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(U::CreatedById).text().not_null())
      .col(ColumnDef(U::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(U::ModifiedById).text().not_null())
      .col(ColumnDef(U::PasswordHash).text().not_null())
      .col(ColumnDef(U::PasswordSetOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(U::PasswordMustChange).boolean().not_null())
      .col(ColumnDef(U::Enabled).boolean().not_null())
      .col(ColumnDef(U::System).boolean().not_null());
  return {table};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  Select query;
  query.expr(sqlbuilder::asterisk(U::Table))
      .expr_as(render::name_or_id("created_by_user", U::Name, U::Table, U::CreatedById), "created_by")
      .expr_as(render::name_or_id("modified_by_user", U::Name, U::Table, U::ModifiedById), "modified_by")
      .from(U::Table)
      .join_as(JoinType::Left, U::Table, "created_by_user",
               col(U::Table, U::CreatedById).eq(col("created_by_user", U::Id)))
      .join_as(JoinType::Left, U::Table, "modified_by_user",
               col(U::Table, U::ModifiedById).eq(col("modified_by_user", U::Id)));
  return {{"users__with_names", query}};
}

std::vector<Insert> Defs::seeds() const {
  std::vector<Insert> inserts;
  for (const BuiltInUser& user : kBuiltInUsers) {
    Insert insert;
    insert.into(U::Table)
        .columns({U::Id, U::Name, U::FullName, U::Email, U::CreatedOn, U::CreatedById, U::ModifiedOn, U::ModifiedById,
                  U::PasswordHash, U::PasswordSetOn, U::PasswordMustChange, U::Enabled, U::System})
        .values({text(user.id), text(user.name), text(user.full_name), val(sqlbuilder::Null{}),
                 custom("CURRENT_TIMESTAMP"), text(kSystemUserId), custom("CURRENT_TIMESTAMP"), text(kSystemUserId),
                 text(user.password_hash), custom("CURRENT_TIMESTAMP"), val(false), val(user.enabled),
                 val(user.system)});
    inserts.push_back(insert);
  }
  return inserts;
}

}  // namespace schema::archive::v4::users
