#include "schema/archive/v4/roles.h"

#include <string>

#include "schema/archive/v4/projects.h"
#include "schema/archive/v4/users.h"
#include "schema/render.h"

namespace schema::archive::v4::roles {

using projects::Projects;
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
using R = Roles;

namespace {

struct BuiltInRole {
  std::string_view id;
  std::string_view name;
  std::string_view description;
  std::string_view kind;
};

constexpr BuiltInRole kBuiltInRoles[] = {
    {"00000000000000000000000008", "sys_admin", "System Administrator Role", "sys_admin"},
    {"0000000000000000000000000g", "default", "Default Role", "default"},
    {"0000000000000000000000020o", "project_creator", "Project Creator Role", "project_creator"},
};

sqlbuilder::Expr text(std::string_view value) { return val(std::string(value)); }

}  // namespace

std::string_view to_string(Roles iden) {
  switch (iden) {
    case R::Table: return "roles";
    case R::Id: return "id";
    case R::Name: return "name";
    case R::Description: return "description";
    case R::CreatedOn: return "created_on";
    case R::CreatedById: return "created_by_id";
    case R::ModifiedOn: return "modified_on";
    case R::ModifiedById: return "modified_by_id";
    case R::Kind: return "kind";
    case R::ProjectId: return "project_id";
    case R::Fixed: return "fixed";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(R::Table)
      .col(ColumnDef(R::Id).text().not_null().primary_key())
      .col(ColumnDef(R::Name).text().not_null().unique_key())
      .col(ColumnDef(R::Description).text().not_null())
      .col(ColumnDef(R::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(R::CreatedById).text().not_null())
      .col(ColumnDef(R::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(R::ModifiedById).text().not_null())
      .col(ColumnDef(R::Kind).text().not_null())
      .col(ColumnDef(R::ProjectId).text().null())
      .col(ColumnDef(R::Fixed).boolean().not_null())
      .foreign_key({R::ProjectId}, Projects::Table, {Projects::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate project;
  project.name("roles___project_id___idx").table(R::Table).col(R::ProjectId);
  return {project};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  const auto own = [](R column) { return col(R::Table, column); };
  Select query;
  for (R column : {R::Id, R::Name, R::Description, R::CreatedOn, R::CreatedById}) {
    query.expr(own(column));
  }
  query.expr_as(render::name_or_id("created_by_user", Users::Name, R::Table, R::CreatedById), "created_by")
      .expr(own(R::ModifiedOn))
      .expr(own(R::ModifiedById))
      .expr_as(render::name_or_id("modified_by_user", Users::Name, R::Table, R::ModifiedById), "modified_by")
      .expr(own(R::Kind))
      .expr(own(R::ProjectId))
      .expr(own(R::Fixed))
      .from(R::Table)
      .join_as(JoinType::Left, Users::Table, "created_by_user",
               own(R::CreatedById).eq(col("created_by_user", Users::Id)))
      .join_as(JoinType::Left, Users::Table, "modified_by_user",
               own(R::ModifiedById).eq(col("modified_by_user", Users::Id)));
  return {{"roles__with_names", query}};
}

std::vector<Insert> Defs::seeds() const {
  std::vector<Insert> inserts;
  for (const BuiltInRole& role : kBuiltInRoles) {
    Insert insert;
    insert.into(R::Table)
        .columns({R::Id, R::Name, R::Description, R::CreatedOn, R::CreatedById, R::ModifiedOn, R::ModifiedById,
                  R::Kind, R::ProjectId, R::Fixed})
        .values({text(role.id), text(role.name), text(role.description), custom("CURRENT_TIMESTAMP"),
                 text(users::kSystemUserId), custom("CURRENT_TIMESTAMP"), text(users::kSystemUserId), text(role.kind),
                 val(sqlbuilder::Null{}), val(true)});
    inserts.push_back(insert);
  }
  return inserts;
}

}  // namespace schema::archive::v4::roles
