#include "schema/archive/v4/dependencies.h"

#include <array>
#include <cstddef>

#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::dependencies {
namespace {

using D = Dependencies;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 15> kNames = {
    "dependencies",
    "id",
    "project_id",
    "collection_id",
    "dependency_id",
    "function_id",
    "table_collection_id",
    "table_function_id",
    "table_id",
    "table_versions",
    "dep_pos",
    "defined_on",
    "defined_by_id",
    "system",
    "valid_to",
};

}  // namespace

std::string_view to_string(Dependencies iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(D::Table)
      .col(ColumnDef(D::Id).text().not_null().primary_key())
      .col(ColumnDef(D::ProjectId).text().not_null())
      .col(ColumnDef(D::CollectionId).text().not_null())
      .col(ColumnDef(D::DependencyId).text().not_null())
      .col(ColumnDef(D::FunctionId).text().not_null())
      .col(ColumnDef(D::TableCollectionId).text().not_null())
      .col(ColumnDef(D::TableFunctionId).text().not_null())
      .col(ColumnDef(D::TableId).text().not_null())
      .col(ColumnDef(D::TableVersions).text().not_null())
      .col(ColumnDef(D::DepPos).integer().not_null())
      .col(ColumnDef(D::DefinedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(D::DefinedById).text().not_null())
      .col(ColumnDef(D::System).boolean().not_null())
      .col(ColumnDef(D::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({D::CollectionId}, "collections", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(D::Table); };
  return {
      index("dependencies___project_id___current_idx").col(D::ProjectId).and_where(open_interval()),
      index("dependencies___project_id__id___idx").col(D::ProjectId).col(D::Id),
      index("dependencies___table_id___current_idx").col(D::TableId).and_where(open_interval()),
      index("dependencies___table_id___idx").col(D::TableId),
      index("dependencies___dependency_id__defined_on__id___idx").col(D::DependencyId).col(D::DefinedOn).col(D::Id),
      index("dependencies___function_id___idx").col(D::FunctionId),
      index("dependencies___dependency_id___current_uidx").col(D::DependencyId).unique().and_where(open_interval()),
      index("dependencies___function_id___current_idx").col(D::FunctionId).and_where(open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(D::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("table_collection", "name"), "table_collection")
      .from(D::Table)
      .join(JoinType::Left, "collections_resolved",
            col(D::Table, D::CollectionId).eq(col("collections_resolved", "id")))
      .join_as(JoinType::Left, "collections_resolved", "table_collection",
               col(D::Table, D::TableCollectionId).eq(col("table_collection", "id")));
  return {{"dependencies__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{sql::trigger::close_trigger_name(to_string(D::Table)),
                                           D::Table,
                                           D::DependencyId,
                                           D::DefinedOn,
                                           D::ValidTo,
                                           D::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::dependencies
