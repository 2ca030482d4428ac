#include "schema/archive/v4/functions.h"

#include <array>
#include <cstddef>

#include "schema/render.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::functions {
namespace {

using F = Functions;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 22> kNames = {
    "functions",
    "id",
    "project_id",
    "collection_id",
    "name",
    "description",
    "decorator",
    "runtime_values",
    "function_id",
    "base_path",
    "stage_id",
    "stage_base_path",
    "storage_version",
    "bundle_id",
    "snippet",
    "defined_on",
    "defined_by_id",
    "status",
    "connector",
    "connection",
    "enabled",
    "valid_to",
};

}  // namespace

std::string_view to_string(Functions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(F::Table)
      .col(ColumnDef(F::Id).text().not_null().primary_key())
      .col(ColumnDef(F::ProjectId).text().not_null())
      .col(ColumnDef(F::CollectionId).text().not_null())
      .col(ColumnDef(F::Name).text().not_null())
      .col(ColumnDef(F::Description).text().not_null())
      .col(ColumnDef(F::Decorator).text().not_null())
      .col(ColumnDef(F::RuntimeValues).text().not_null())
      .col(ColumnDef(F::FunctionId).text().not_null())
      .col(ColumnDef(F::BasePath).text().null())
      .col(ColumnDef(F::StageId).text().not_null())
      .col(ColumnDef(F::StageBasePath).text().not_null())
      .col(ColumnDef(F::StorageVersion).text().not_null())
      .col(ColumnDef(F::BundleId).text().not_null())
      .col(ColumnDef(F::Snippet).text().not_null())
      .col(ColumnDef(F::DefinedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(F::DefinedById).text().not_null())
      .col(ColumnDef(F::Status).text().not_null())
      .col(ColumnDef(F::Connector).text().null())
      .col(ColumnDef(F::Connection).text().null())
      .col(ColumnDef(F::Enabled).boolean().default_value(sqlbuilder::val(true)))
      .col(ColumnDef(F::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({F::CollectionId}, "collections", {"id"});
  return {table};
}

// Live names were not yet unique within a collection: the name index over
// live versions is a plain one.
std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(F::Table); };
  return {
      index("functions___collection_id__name___idx").col(F::CollectionId).col(F::Name),
      index("functions___collection_id__name___current_idx")
          .col(F::CollectionId)
          .col(F::Name)
          .and_where(open_interval()),
      index("functions___project_id__status___current_idx").col(F::ProjectId).col(F::Status).and_where(open_interval()),
      index("functions___project_id__id___idx").col(F::ProjectId).col(F::Id),
      index("functions___function_id__defined_on__id___idx").col(F::FunctionId).col(F::DefinedOn).col(F::Id),
      index("functions___function_id___current_uidx").col(F::FunctionId).unique().and_where(open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(F::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("collections_resolved", "group_id"), "group_id")
      .expr_as(render::name_or_id("users", "name", F::Table, F::DefinedById), "defined_by")
      .from(F::Table)
      .join(JoinType::Left, "collections_resolved",
            col(F::Table, F::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, "users", col(F::Table, F::DefinedById).eq(col("users", "id")));
  return {{"functions__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(to_string(F::Table)), F::Table, F::FunctionId, F::DefinedOn, F::ValidTo, F::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::functions
