#include "schema/current/projects.h"

#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::projects {

using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::custom;
using sqlbuilder::func;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using users::Users;
using P = Projects;

std::string_view to_string(Projects iden) {
  switch (iden) {
    case P::Table: return "projects";
    case P::Id: return "id";
    case P::Name: return "name";
    case P::Description: return "description";
    case P::BasePath: return "base_path";
    case P::CreatedOn: return "created_on";
    case P::CreatedById: return "created_by_id";
    case P::ModifiedOn: return "modified_on";
    case P::ModifiedById: return "modified_by_id";
    case P::NameWhenDeleted: return "name_when_deleted";
  }
  return {};
}

std::string_view to_string(ProjectsResolved iden) {
  switch (iden) {
    case ProjectsResolved::Table: return "projects_resolved";
    case ProjectsResolved::Deleted: return "deleted";
  }
  return {};
}

std::string_view to_string(ProjectsActive iden) {
  switch (iden) {
    case ProjectsActive::Table: return "projects_active";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(P::Table)
      .col(sql::id_column(P::Id).not_null().primary_key())
      .col(ColumnDef(P::Name).text().not_null())
      .col(ColumnDef(P::Description).text().not_null())
      .col(ColumnDef(P::BasePath).text().not_null())
      .col(ColumnDef(P::CreatedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(P::CreatedById).not_null())
      .col(ColumnDef(P::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(P::ModifiedById).not_null())
      .col(ColumnDef(P::NameWhenDeleted).text().null());
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate live_name;
  live_name.name("projects___name___live_uidx")
      .table(P::Table)
      .col(P::Name)
      .unique()
      .and_where(col(P::NameWhenDeleted).is_null());
  IndexCreate resolved_name;
  resolved_name.name("projects___resolved_name___idx")
      .table(P::Table)
      .expr_col(custom(R"(COALESCE("name_when_deleted", "name"))"));
  return {live_name, resolved_name};
}

namespace {

sql::view::ViewDef resolved() {
  Select query;
  query.expr(col(P::Id)).expr_as(func("COALESCE", {col(P::NameWhenDeleted), col(P::Name)}), P::Name);
  for (P column : {P::Description, P::BasePath, P::CreatedOn, P::CreatedById, P::ModifiedOn, P::ModifiedById,
                   P::NameWhenDeleted}) {
    query.expr(col(column));
  }
  query.expr_as(col(P::NameWhenDeleted).is_not_null(), ProjectsResolved::Deleted).from(P::Table);
  return {ProjectsResolved::Table, query};
}

sql::view::ViewDef active() {
  Select query;
  for (P column :
       {P::Id, P::Name, P::Description, P::BasePath, P::CreatedOn, P::CreatedById, P::ModifiedOn, P::ModifiedById}) {
    query.expr(col(ProjectsResolved::Table, column));
  }
  query.from(ProjectsResolved::Table).and_where(col(ProjectsResolved::Table, P::NameWhenDeleted).is_null());
  return {ProjectsActive::Table, query};
}

sql::view::ViewDef with_names() {
  const auto active = [](P column) { return col(ProjectsActive::Table, column); };
  Select query;
  for (P column : {P::Id, P::Name, P::Description, P::BasePath, P::CreatedOn, P::CreatedById}) {
    query.expr(active(column));
  }
  query.expr_as(render::name_or_id("created_by_user", Users::Name, ProjectsActive::Table, P::CreatedById), "created_by")
      .expr(active(P::ModifiedOn))
      .expr(active(P::ModifiedById))
      .expr_as(render::name_or_id("modified_by_user", Users::Name, ProjectsActive::Table, P::ModifiedById),
               "modified_by")
      .from(ProjectsActive::Table)
      .join_as(JoinType::Left, Users::Table, "created_by_user",
               active(P::CreatedById).eq(col("created_by_user", Users::Id)))
      .join_as(JoinType::Left, Users::Table, "modified_by_user",
               active(P::ModifiedById).eq(col("modified_by_user", Users::Id)));
  return {"projects__with_names", query};
}

}  // namespace

std::vector<sql::view::ViewDef> Defs::create_views() const { return {resolved(), active(), with_names()}; }

}  // namespace schema::current::projects
