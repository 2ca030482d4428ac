#include "schema/current/collections.h"

#include "schema/current/connections.h"
#include "schema/current/groups.h"
#include "schema/current/projects.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::collections {

using connections::Connections;
using groups::Groups;
using projects::Projects;
using projects::ProjectsResolved;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::custom;
using sqlbuilder::func;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using users::Users;
using C = Collections;

std::string_view to_string(Collections iden) {
  switch (iden) {
    case C::Table: return "collections";
    case C::Id: return "id";
    case C::ProjectId: return "project_id";
    case C::Name: return "name";
    case C::Description: return "description";
    case C::CreatedOn: return "created_on";
    case C::CreatedById: return "created_by_id";
    case C::ModifiedOn: return "modified_on";
    case C::ModifiedById: return "modified_by_id";
    case C::NameWhenDeleted: return "name_when_deleted";
    case C::GroupId: return "group_id";
    case C::BasePath: return "base_path";
    case C::CollectionType: return "collection_type";
    case C::ConnectionId: return "connection_id";
  }
  return {};
}

std::string_view to_string(CollectionsResolved iden) {
  switch (iden) {
    case CollectionsResolved::Table: return "collections_resolved";
    case CollectionsResolved::EffectiveBasePath: return "effective_base_path";
    case CollectionsResolved::Deleted: return "deleted";
  }
  return {};
}

std::string_view to_string(CollectionsActive iden) {
  switch (iden) {
    case CollectionsActive::Table: return "collections_active";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(C::Table)
      .col(sql::id_column(C::Id).not_null().primary_key())
      .col(sql::id_column(C::ProjectId).not_null())
      .col(ColumnDef(C::Name).text().not_null())
      .col(ColumnDef(C::Description).text().not_null())
      .col(ColumnDef(C::CreatedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(C::CreatedById).not_null())
      .col(ColumnDef(C::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(sql::id_column(C::ModifiedById).not_null())
      .col(ColumnDef(C::NameWhenDeleted).text().null())
      .col(sql::id_column(C::GroupId).not_null())
      .col(ColumnDef(C::BasePath).text().null())
      .col(ColumnDef(C::CollectionType).text().not_null())
      .col(sql::id_column(C::ConnectionId).null())
      .foreign_key({C::GroupId}, Groups::Table, {Groups::Id})
      .foreign_key({C::ConnectionId}, Connections::Table, {Connections::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate resolved_name;
  resolved_name.name("collections___project_id__resolved_name___idx")
      .table(C::Table)
      .col(C::ProjectId)
      .expr_col(custom(R"(COALESCE("name_when_deleted", "name"))"));
  IndexCreate group;
  group.name("collections___group_id__project_id___idx").table(C::Table).col(C::GroupId).col(C::ProjectId);
  IndexCreate live_name;
  live_name.name("collections___project_id__name___live_uidx")
      .table(C::Table)
      .col(C::ProjectId)
      .col(C::Name)
      .unique()
      .and_where(col(C::NameWhenDeleted).is_null());
  IndexCreate project_id;
  project_id.name("collections___project_id__id___idx").table(C::Table).col(C::ProjectId).col(C::Id);
  return {resolved_name, group, live_name, project_id};
}

namespace {

sql::view::ViewDef resolved() {
  const auto own = [](C column) { return col(C::Table, column); };
  Select query;
  query.expr(own(C::Id))
      .expr(own(C::ProjectId))
      .expr_as(func("COALESCE", {own(C::NameWhenDeleted), own(C::Name)}), C::Name);
  for (C column : {C::Description, C::CreatedOn, C::CreatedById, C::ModifiedOn, C::ModifiedById, C::NameWhenDeleted,
                   C::GroupId, C::BasePath, C::CollectionType, C::ConnectionId}) {
    query.expr(own(column));
  }
  query
      .expr_as(func("COALESCE", {own(C::BasePath), col(Projects::Table, Projects::BasePath)}),
               CollectionsResolved::EffectiveBasePath)
      .expr_as(own(C::NameWhenDeleted).is_not_null(), CollectionsResolved::Deleted)
      .from(C::Table)
      .join(JoinType::Left, Projects::Table, own(C::ProjectId).eq(col(Projects::Table, Projects::Id)));
  return {CollectionsResolved::Table, query};
}

sql::view::ViewDef active() {
  Select query;
  for (C column : {C::Id, C::ProjectId, C::Name, C::Description, C::CreatedOn, C::CreatedById, C::ModifiedOn,
                   C::ModifiedById, C::GroupId, C::BasePath, C::CollectionType, C::ConnectionId}) {
    query.expr(col(CollectionsResolved::Table, column));
  }
  query.expr(col(CollectionsResolved::Table, CollectionsResolved::EffectiveBasePath))
      .from(CollectionsResolved::Table)
      .and_where(col(CollectionsResolved::Table, C::NameWhenDeleted).is_null());
  return {CollectionsActive::Table, query};
}

sql::view::ViewDef with_names() {
  const auto active = [](C column) { return col(CollectionsActive::Table, column); };
  Select query;
  query.expr(sqlbuilder::asterisk(CollectionsActive::Table))
      .expr_as(render::name_or_id("created_by_user", Users::Name, CollectionsActive::Table, C::CreatedById),
               "created_by")
      .expr_as(render::name_or_id("modified_by_user", Users::Name, CollectionsActive::Table, C::ModifiedById),
               "modified_by")
      .expr_as(col("groups_for_collection", Groups::Name), "group")
      .expr_as(col(ProjectsResolved::Table, Projects::Name), "project")
      .from(CollectionsActive::Table)
      .join_as(JoinType::Left, Users::Table, "created_by_user",
               active(C::CreatedById).eq(col("created_by_user", Users::Id)))
      .join_as(JoinType::Left, Users::Table, "modified_by_user",
               active(C::ModifiedById).eq(col("modified_by_user", Users::Id)))
      .join_as(JoinType::Left, Groups::Table, "groups_for_collection",
               active(C::GroupId).eq(col("groups_for_collection", Groups::Id)))
      .join(JoinType::Inner, ProjectsResolved::Table,
            active(C::ProjectId).eq(col(ProjectsResolved::Table, Projects::Id)));
  return {"collections__with_names", query};
}

}  // namespace

std::vector<sql::view::ViewDef> Defs::create_views() const { return {resolved(), active(), with_names()}; }

}  // namespace schema::current::collections
