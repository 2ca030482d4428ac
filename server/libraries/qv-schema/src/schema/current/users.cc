#include "schema/current/users.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::users {
namespace {

using sqlbuilder::ColumnDef;
using sqlbuilder::Expr;

Expr text(std::string_view value) { return sqlbuilder::val(std::string(value)); }
Expr boolean(bool value) { return sqlbuilder::val(value); }
Expr now() { return sqlbuilder::custom("CURRENT_TIMESTAMP"); }

struct SeedUser {
  std::string_view id;
  std::string_view name;
  std::string_view full_name;
  std::string_view password_hash;
  bool enabled;
  bool system;
};

// "!" matches no password hash: the system user cannot log in.
constexpr SeedUser kSystemUser = {kSystemUserId, "system", "System", "!", false, true};
constexpr SeedUser kAdminUser = {
    kAdminUserId,
    "admin",
    "Administrator",
    "$argon2id$v=19$m=19456,t=2,p=1$Zq3vN8pLw2XkTm5RbY7cHd$Vh4Qe9Ls2Kd7Wn1Bx6Jt3Mr8Pc5Gy0Fz2Ua7Nk4Ei9S",
    true,
    false};

sqlbuilder::Insert seed(const SeedUser& user) {
  sqlbuilder::Insert insert;
  insert.into(Users::Table)
      .columns({Users::Id, Users::Name, Users::FullName, Users::Email, Users::CreatedOn, Users::CreatedById,
                Users::ModifiedOn, Users::ModifiedById, Users::PasswordHash, Users::PasswordSetOn,
                Users::PasswordMustChange, Users::Enabled, Users::System})
      .values({text(user.id), text(user.name), text(user.full_name), sqlbuilder::val(sqlbuilder::Null{}), now(),
               text(kSystemUserId), now(), text(kSystemUserId), text(user.password_hash), now(), boolean(false),
               boolean(user.enabled), boolean(user.system)});
  return insert;
}

// LEFT JOIN "users" AS "<alias>" ON "users"."<reference>" = "<alias>"."id"
sqlbuilder::Select& join_user(sqlbuilder::Select& query, const sqlbuilder::Iden& alias, Users reference) {
  return query.join_as(sqlbuilder::JoinType::Left, Users::Table, alias,
                       sqlbuilder::col(Users::Table, reference).eq(sqlbuilder::col(alias, Users::Id)));
}

}  // namespace

std::string_view to_string(Users iden) {
  static constexpr std::array<std::string_view, 14> kTexts = {
      "users",         "id",          "name",           "full_name",     "email",           "created_on",
      "created_by_id", "modified_on", "modified_by_id", "password_hash", "password_set_on", "password_must_change",
      "enabled",       "system",
  };
  return kTexts.at(static_cast<std::size_t>(iden));
}

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  using sql::id_column;
  sqlbuilder::TableCreate table;
  // created_by_id and modified_by_id name rows of this table without a
  // foreign key, so the system user can be its own creator.
  table.table(Users::Table)
      .col(id_column(Users::Id).not_null().primary_key())
      .col(ColumnDef(Users::Name).text().not_null().unique_key())
      .col(ColumnDef(Users::FullName).text().not_null())
      .col(ColumnDef(Users::Email).text().null().unique_key())
      .col(ColumnDef(Users::CreatedOn).timestamp_with_time_zone().not_null())
      .col(id_column(Users::CreatedById).not_null())
      .col(ColumnDef(Users::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(id_column(Users::ModifiedById).not_null())
      .col(ColumnDef(Users::PasswordHash).text().not_null())
      .col(ColumnDef(Users::PasswordSetOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(Users::PasswordMustChange).boolean().not_null())
      .col(ColumnDef(Users::Enabled).boolean().not_null())
      .col(ColumnDef(Users::System).boolean().not_null());
  return {table};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  const sqlbuilder::Iden created_by_user = "created_by_user";
  const sqlbuilder::Iden modified_by_user = "modified_by_user";
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(Users::Table))
      .expr_as(render::name_or_id(created_by_user, Users::Name, Users::Table, Users::CreatedById), "created_by")
      .expr_as(render::name_or_id(modified_by_user, Users::Name, Users::Table, Users::ModifiedById), "modified_by")
      .from(Users::Table);
  join_user(query, created_by_user, Users::CreatedById);
  join_user(query, modified_by_user, Users::ModifiedById);
  return {{"users__with_names", query}};
}

std::vector<sqlbuilder::Insert> Defs::seeds() const { return {seed(kSystemUser), seed(kAdminUser)}; }

}  // namespace schema::current::users
