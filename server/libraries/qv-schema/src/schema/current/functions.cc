#include "schema/current/functions.h"

#include <array>
#include <cstddef>

#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::current::functions {
namespace {

using F = Functions;
using sql::id_column;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 24> kNames = {
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
    "valid_from",
    "defined_by_id",
    "status",
    "connector",
    "connection",
    "enabled",
    "valid_to",
    "function_type",
    "parent_function_id",
};

}  // namespace

std::string_view to_string(Functions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(F::Table)
      .col(ColumnDef(F::Id).big_integer().not_null().primary_key())
      .col(id_column(F::ProjectId).not_null())
      .col(id_column(F::CollectionId).not_null())
      .col(ColumnDef(F::Name).text().not_null())
      .col(ColumnDef(F::Description).text().not_null())
      .col(ColumnDef(F::Decorator).text().not_null())
      .col(ColumnDef(F::RuntimeValues).text().not_null())
      .col(id_column(F::FunctionId).not_null())
      .col(ColumnDef(F::BasePath).text().null())
      .col(id_column(F::StageId).not_null())
      .col(ColumnDef(F::StageBasePath).text().not_null())
      .col(ColumnDef(F::StorageVersion).text().not_null())
      .col(id_column(F::BundleId).not_null())
      .col(ColumnDef(F::Snippet).text().not_null())
      .col(ColumnDef(F::ValidFrom).timestamp_with_time_zone().not_null())
      .col(id_column(F::DefinedById).not_null())
      .col(ColumnDef(F::Status).text().not_null())
      .col(ColumnDef(F::Connector).text().null())
      .col(ColumnDef(F::Connection).text().null())
      .col(ColumnDef(F::Enabled).boolean().default_value(sqlbuilder::val(true)))
      .col(ColumnDef(F::ValidTo).timestamp_with_time_zone().not_null())
      .col(ColumnDef(F::FunctionType).text().not_null())
      .col(id_column(F::ParentFunctionId).null())
      .foreign_key({F::CollectionId}, "collections", {"id"});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(F::Table); };
  return {
      index("functions___collection_id__name___idx").col(F::CollectionId).col(F::Name),
      index("functions___collection_id__name___current_uidx")
          .col(F::CollectionId)
          .col(F::Name)
          .unique()
          .and_where(open_interval()),
      index("functions___project_id__status___current_idx").col(F::ProjectId).col(F::Status).and_where(open_interval()),
      index("functions___project_id__id___idx").col(F::ProjectId).col(F::Id),
      index("functions___function_id__valid_from__id___idx").col(F::FunctionId).col(F::ValidFrom).col(F::Id),
      index("functions___parent_function_id___current_idx")
          .col(F::ParentFunctionId)
          .and_where(open_interval().and_(col(F::ParentFunctionId).is_not_null())),
      index("functions___function_id___current_uidx").col(F::FunctionId).unique().and_where(open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(F::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("collections_resolved", "group_id"), "group_id")
      .expr_as(render::name_or_id(Users::Table, Users::Name, F::Table, F::DefinedById), "defined_by")
      .from(F::Table)
      .join(JoinType::Left, "collections_resolved",
            col(F::Table, F::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Users::Table, col(F::Table, F::DefinedById).eq(col(Users::Table, Users::Id)));
  return {{"functions__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(to_string(F::Table)), F::Table, F::FunctionId, F::ValidFrom, F::ValidTo, F::Id};
  return {close.derived()};
}

}  // namespace schema::current::functions
