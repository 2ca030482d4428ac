#include "schema/archive/v4/tables.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "schema/archive/v4/functions.h"
#include "schema/render.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::tables {
namespace {

using T = Tables;
using functions::Functions;
using sql::scd2::open_interval;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 16> kNames = {
    "tables",
    "id",
    "project_id",
    "collection_id",
    "table_id",
    "name",
    "function_id",
    "function_version_id",
    "function_param_pos",
    "private",
    "partitioned",
    "defined_on",
    "defined_by_id",
    "status",
    "table_type",
    "valid_to",
};

}  // namespace

std::string_view to_string(Tables iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(T::Table)
      .col(ColumnDef(T::Id).text().not_null().primary_key())
      .col(ColumnDef(T::ProjectId).text().not_null())
      .col(ColumnDef(T::CollectionId).text().not_null())
      .col(ColumnDef(T::TableId).text().not_null())
      .col(ColumnDef(T::Name).text().not_null())
      .col(ColumnDef(T::FunctionId).text().null())
      .col(ColumnDef(T::FunctionVersionId).text().not_null())
      .col(ColumnDef(T::FunctionParamPos).integer().null())
      .col(ColumnDef(T::Private).boolean().not_null())
      .col(ColumnDef(T::Partitioned).boolean().null())
      .col(ColumnDef(T::DefinedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(T::DefinedById).text().not_null())
      .col(ColumnDef(T::Status).text().not_null())
      .col(ColumnDef(T::TableType).text().not_null().default_value(sqlbuilder::val(std::string("R"))))
      .col(ColumnDef(T::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({T::CollectionId}, "collections", {"id"})
      .foreign_key({T::FunctionVersionId}, Functions::Table, {Functions::Id});
  return {table};
}

// Live names were not yet unique within a collection: the first index is a
// plain one.
std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(T::Table); };
  return {
      index("tables___collection_id__name___current_idx").col(T::CollectionId).col(T::Name).and_where(open_interval()),
      index("tables___project_id__status___current_idx").col(T::ProjectId).col(T::Status).and_where(open_interval()),
      index("tables___project_id__id___idx").col(T::ProjectId).col(T::Id),
      index("tables___collection_id__name___idx").col(T::CollectionId).col(T::Name),
      index("tables___function_version_id___idx").col(T::FunctionVersionId),
      index("tables___function_id__status___idx").col(T::FunctionId).col(T::Status),
      index("tables___table_id__defined_on__id___idx").col(T::TableId).col(T::DefinedOn).col(T::Id),
      index("tables___table_id___current_uidx").col(T::TableId).unique().and_where(open_interval()),
      index("tables___function_id___current_idx").col(T::FunctionId).and_where(open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(T::Table))
      .expr_as(col(T::Table, T::FunctionParamPos).lt(sqlbuilder::val(std::int32_t{0})), "system")
      .expr_as(render::name_or_id("users", "name", T::Table, T::DefinedById), "defined_by")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Functions::Table, Functions::Name), "function")
      .from(T::Table)
      .join(JoinType::Left, "collections_resolved",
            col(T::Table, T::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Functions::Table,
            col(T::Table, T::FunctionVersionId).eq(col(Functions::Table, Functions::Id)))
      .join(JoinType::Left, "users", col(T::Table, T::DefinedById).eq(col("users", "id")));
  return {{"tables__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(to_string(T::Table)), T::Table, T::TableId, T::DefinedOn, T::ValidTo, T::Id};
  return {close.derived()};
}

}  // namespace schema::archive::v4::tables
