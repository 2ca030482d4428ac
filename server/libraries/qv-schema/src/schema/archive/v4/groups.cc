#include "schema/archive/v4/groups.h"

#include "schema/archive/v4/users.h"
#include "schema/render.h"

namespace schema::archive::v4::groups {

using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using sqlbuilder::Select;
using sqlbuilder::TableCreate;
using users::Users;
using G = Groups;

std::string_view to_string(Groups iden) {
  switch (iden) {
    case G::Table: return "groups";
    case G::Id: return "id";
    case G::ProjectId: return "project_id";
    case G::Name: return "name";
    case G::Description: return "description";
    case G::CreatedOn: return "created_on";
    case G::CreatedById: return "created_by_id";
    case G::ModifiedOn: return "modified_on";
    case G::ModifiedById: return "modified_by_id";
    case G::System: return "system";
  }
  return {};
}

std::vector<TableCreate> Defs::create_tables() const {
  TableCreate table;
  table.table(G::Table)
      .col(ColumnDef(G::Id).text().not_null())
      .col(ColumnDef(G::ProjectId).text().not_null())
      .col(ColumnDef(G::Name).text().not_null())
      .col(ColumnDef(G::Description).text().not_null())
      .col(ColumnDef(G::CreatedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(G::CreatedById).text().not_null())
      .col(ColumnDef(G::ModifiedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(G::ModifiedById).text().not_null())
      .col(ColumnDef(G::System).boolean().not_null())
      .primary_key({G::ProjectId, G::Id});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  IndexCreate name;
  name.name("groups___name___idx").table(G::Table).col(G::Name);
  IndexCreate id;
  id.name("groups___id___idx").table(G::Table).col(G::Id);
  IndexCreate project_name;
  project_name.name("groups___project_id__name___idx").table(G::Table).col(G::ProjectId).col(G::Name).unique();
  return {name, id, project_name};
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  const auto own = [](G column) { return col(G::Table, column); };
  Select query;
  for (G column : {G::Id, G::ProjectId, G::Name, G::Description, G::CreatedOn, G::CreatedById}) {
    query.expr(own(column));
  }
  query.expr_as(render::name_or_id("created_by_user", Users::Name, G::Table, G::CreatedById), "created_by")
      .expr(own(G::ModifiedOn))
      .expr(own(G::ModifiedById))
      .expr_as(render::name_or_id("modified_by_user", Users::Name, G::Table, G::ModifiedById), "modified_by")
      .expr(own(G::System))
      .from(G::Table)
      .join_as(JoinType::Left, Users::Table, "created_by_user",
               own(G::CreatedById).eq(col("created_by_user", Users::Id)))
      .join_as(JoinType::Left, Users::Table, "modified_by_user",
               own(G::ModifiedById).eq(col("modified_by_user", Users::Id)));
  return {{"groups__with_names", query}};
}

}  // namespace schema::archive::v4::groups
