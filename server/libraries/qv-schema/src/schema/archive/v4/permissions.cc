#include "schema/archive/v4/permissions.h"

#include <string>

#include "schema/archive/v4/projects.h"
#include "schema/archive/v4/roles.h"
#include "schema/archive/v4/users.h"
#include "schema/render.h"
#include "schema/sql/seed.h"

namespace schema::archive::v4::permissions {

using projects::Projects;
using projects::ProjectsResolved;
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
using P = Permissions;

namespace {

struct BuiltInPermission {
  std::string_view id;
  std::string_view role_name;
  std::string_view permission_type;
  std::string_view entity_type;
  bool fixed;
};

// The entity id of every built-in permission; the view shows NULL for it.
constexpr std::string_view kBuiltInEntityId = "00000000000000000000000204";

// The last id ends in the letter s; every id is 26 characters.
constexpr BuiltInPermission kBuiltInPermissions[] = {
    {"00000000000000000000000010", "sys_admin", "manage_access", "system", true},
    {"00000000000000000000000014", "sys_admin", "create_projects", "system", true},
    {"00000000000000000000000100", "sys_admin", "manage_roles", "system", true},
    {"00000000000000000000000104", "sys_admin", "manage_project", "project", true},
    {"00000000000000000000000108", "default", "create_projects", "system", false},
    {"0000000000000000000000020s", "project_creator", "create_projects", "system", true},
};

sqlbuilder::Expr text(std::string_view value) { return val(std::string(value)); }

Insert seed(const BuiltInPermission& permission) {
  Select row;
  row.expr(text(permission.id))
      .expr(col(Roles::Table, Roles::Id))
      .expr(text(permission.permission_type))
      .expr(text(permission.entity_type))
      .expr(text(kBuiltInEntityId))
      .expr(text(users::kSystemUserId))
      .expr(custom("CURRENT_TIMESTAMP"))
      .expr(val(permission.fixed))
      .from(Roles::Table)
      .and_where(col(Roles::Table, Roles::Name).eq(text(permission.role_name)));
  return sql::seed::insert_select(
      P::Table,
      {P::Id, P::RoleId, P::PermissionType, P::EntityType, P::EntityId, P::GrantedById, P::GrantedOn, P::Fixed}, row);
}

}  // namespace

std::string_view to_string(Permissions iden) {
  switch (iden) {
    case P::Table: return "permissions";
    case P::Id: return "id";
    case P::RoleId: return "role_id";
    case P::PermissionType: return "permission_type";
    case P::EntityType: return "entity_type";
    case P::EntityId: return "entity_id";
    case P::GrantedById: return "granted_by_id";
    case P::GrantedOn: return "granted_on";
    case P::Fixed: return "fixed";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(P::Table)
      .col(ColumnDef(P::Id).text().not_null().primary_key())
      .col(ColumnDef(P::RoleId).text().not_null())
      .col(ColumnDef(P::PermissionType).text().not_null())
      .col(ColumnDef(P::EntityType).text().not_null())
      .col(ColumnDef(P::EntityId).text().not_null())
      .col(ColumnDef(P::GrantedById).text().not_null())
      .col(ColumnDef(P::GrantedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(P::Fixed).boolean().not_null())
      .foreign_key({P::RoleId}, Roles::Table, {Roles::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate grant;
  grant.name("permissions___role_id__permission_type__entity___idx")
      .table(P::Table)
      .col(P::RoleId)
      .col(P::PermissionType)
      .col(P::EntityType)
      .col(P::EntityId)
      .unique();
  return {grant};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  const auto own = [](P column) { return col(P::Table, column); };
  Select query;
  for (P column : {P::Id, P::RoleId, P::PermissionType, P::EntityType, P::GrantedById, P::GrantedOn, P::Fixed}) {
    query.expr(own(column));
  }
  query.expr_as(render::name_or_id(Users::Table, Users::Name, P::Table, P::GrantedById), "granted_by")
      .expr_as(sqlbuilder::Case()
                   .when(own(P::EntityId).eq(text(kBuiltInEntityId)), val(sqlbuilder::Null{}))
                   .otherwise(own(P::EntityId))
                   .end(),
               P::EntityId)
      .expr_as(col(Roles::Table, Roles::Name), "role")
      .expr_as(col(ProjectsResolved::Table, Projects::Name), "entity")
      .from(P::Table)
      .join(JoinType::Left, Users::Table, own(P::GrantedById).eq(col(Users::Table, Users::Id)))
      .join(JoinType::Left, Roles::Table, own(P::RoleId).eq(col(Roles::Table, Roles::Id)))
      .join(JoinType::Left, ProjectsResolved::Table, own(P::EntityId).eq(col(ProjectsResolved::Table, Projects::Id)));
  return {{"permissions__with_names", query}};
}

std::vector<Insert> Defs::seeds() const {
  std::vector<Insert> inserts;
  for (const BuiltInPermission& permission : kBuiltInPermissions) {
    inserts.push_back(seed(permission));
  }
  return inserts;
}

}  // namespace schema::archive::v4::permissions
