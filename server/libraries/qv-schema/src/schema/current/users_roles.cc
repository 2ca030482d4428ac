#include "schema/current/users_roles.h"

#include <string>

#include "schema/current/roles.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/seed.h"
#include "schema/sql/column.h"

namespace schema::current::users_roles {

using roles::Roles;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::custom;
using sqlbuilder::IndexCreate;
using sqlbuilder::Insert;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using sqlbuilder::val;
using users::Users;
using UR = UsersRoles;

namespace {

struct BuiltInBinding {
  std::string_view id;
  std::string_view user_name;
  std::string_view role_name;
};

constexpr BuiltInBinding kBuiltInBindings[] = {
    {"0000000000000000000000000k", "admin", "sys_admin"},
    {"0000000000000000000000000o", "admin", "default"},
};

sqlbuilder::Expr text(std::string_view value) { return val(std::string(value)); }

}  // namespace

std::string_view to_string(UsersRoles iden) {
  switch (iden) {
    case UR::Table: return "users_roles";
    case UR::Id: return "id";
    case UR::UserId: return "user_id";
    case UR::RoleId: return "role_id";
    case UR::AddedOn: return "added_on";
    case UR::AddedById: return "added_by_id";
    case UR::Fixed: return "fixed";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(UR::Table)
      .col(sql::id_column(UR::Id).not_null().primary_key())
      .col(sql::id_column(UR::UserId).not_null())
      .col(sql::id_column(UR::RoleId).not_null())
      .col(ColumnDef(UR::AddedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(UR::AddedById).not_null())
      .col(ColumnDef(UR::Fixed).boolean().not_null())
      .foreign_key({UR::UserId}, Users::Table, {Users::Id})
      .foreign_key({UR::RoleId}, Roles::Table, {Roles::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate role;
  role.name("users_roles___role_id__id___idx").table(UR::Table).col(UR::RoleId).col(UR::Id);
  // Existing databases hold this index under the "roles___" prefix, and
  // indexes are dropped and re-created by name.
  IndexCreate binding;
  binding.name("roles___user_id__role_id___idx").table(UR::Table).col(UR::UserId).col(UR::RoleId).unique();
  return {role, binding};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  const auto own = [](UR column) { return col(UR::Table, column); };
  Select query;
  query.expr(own(UR::Id))
      .expr(own(UR::UserId))
      .expr_as(render::name_or_id(Users::Table, Users::Name, UR::Table, UR::UserId), "user")
      .expr(own(UR::RoleId))
      .expr_as(render::name_or_id(Roles::Table, Roles::Name, UR::Table, UR::RoleId), "role")
      .expr(own(UR::AddedOn))
      .expr(own(UR::AddedById))
      .expr_as(render::name_or_id("added_by_user", Users::Name, UR::Table, UR::AddedById), "added_by")
      .expr(own(UR::Fixed))
      .from(UR::Table)
      .join(JoinType::Left, Users::Table, own(UR::UserId).eq(col(Users::Table, Users::Id)))
      .join(JoinType::Left, Roles::Table, own(UR::RoleId).eq(col(Roles::Table, Roles::Id)))
      .join_as(JoinType::Left, Users::Table, "added_by_user", own(UR::AddedById).eq(col("added_by_user", Users::Id)));
  return {{"users_roles__with_names", query}};
}

std::vector<Insert> Defs::seeds() const {
  std::vector<Insert> inserts;
  for (const BuiltInBinding& binding : kBuiltInBindings) {
    Select row;
    row.expr(text(binding.id))
        .expr(col(Users::Table, Users::Id))
        .expr(col(Roles::Table, Roles::Id))
        .expr(custom("CURRENT_TIMESTAMP"))
        .expr(text(users::kSystemUserId))
        .expr(val(true))
        .from(Users::Table)
        .cross_join(Roles::Table)
        .and_where(col(Users::Table, Users::Name).eq(text(binding.user_name)))
        .and_where(col(Roles::Table, Roles::Name).eq(text(binding.role_name)));
    inserts.push_back(sql::seed::insert_select(
        UR::Table, {UR::Id, UR::UserId, UR::RoleId, UR::AddedOn, UR::AddedById, UR::Fixed}, row));
  }
  return inserts;
}

}  // namespace schema::current::users_roles
