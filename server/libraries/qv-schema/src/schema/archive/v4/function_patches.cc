#include "schema/archive/v4/function_patches.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/archive/v4/functions.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::archive::v4::function_patches {
namespace {

using P = FunctionPatches;
using functions::Functions;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;

constexpr std::array<std::string_view, 14> kNames = {
    "function_patches", "id",
    "project_id",       "parent_function_version_id",
    "function_id",      "collection_id",
    "snippet",          "bundle_id",
    "runtime_values",   "description",
    "defined_on",       "defined_by_id",
    "status",           "valid_to",
};

// Every column but "valid_to", which the close trigger must still be able to
// set. Taken from the identifier list so that a new column is guarded too.
std::vector<sqlbuilder::Iden> guarded_columns() {
  std::vector<sqlbuilder::Iden> columns;
  for (std::size_t i = 1; i < kNames.size(); ++i) {
    if (kNames[i] != to_string(P::ValidTo)) columns.emplace_back(kNames[i]);
  }
  return columns;
}

}  // namespace

std::string_view to_string(FunctionPatches iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(P::Table)
      .col(ColumnDef(P::Id).text().not_null().primary_key())
      .col(ColumnDef(P::ProjectId).text().not_null())
      .col(ColumnDef(P::ParentFunctionVersionId).text().not_null())
      .col(ColumnDef(P::FunctionId).text().not_null())
      .col(ColumnDef(P::CollectionId).text().not_null())
      .col(ColumnDef(P::Snippet).text().not_null())
      .col(ColumnDef(P::BundleId).text().not_null())
      .col(ColumnDef(P::RuntimeValues).text().not_null())
      .col(ColumnDef(P::Description).text().not_null())
      .col(ColumnDef(P::DefinedOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(P::DefinedById).text().not_null())
      .col(ColumnDef(P::Status).text().not_null())
      .col(ColumnDef(P::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({P::ParentFunctionVersionId}, Functions::Table, {Functions::Id});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(P::Table); };
  return {
      index("function_patches___function_id__defined_on___idx").col(P::FunctionId).col(P::DefinedOn),
      index("function_patches___parent_fv_id__defined_on__id___idx")
          .col(P::ParentFunctionVersionId)
          .col(P::DefinedOn)
          .col(P::Id),
      index("function_patches___parent_function_version_id___current_uidx")
          .col(P::ParentFunctionVersionId)
          .unique()
          .and_where(sql::scd2::open_interval()),
  };
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const std::string table = std::string(to_string(P::Table));
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(table), P::Table, P::ParentFunctionVersionId, P::DefinedOn, P::ValidTo, P::Id};
  const sql::trigger::ImmutableColumnsTriggerDef immutable{sql::trigger::immutable_trigger_name(table),
                                                           guarded_columns(), P::Table};
  return {close.derived(), immutable.derived()};
}

}  // namespace schema::archive::v4::function_patches
