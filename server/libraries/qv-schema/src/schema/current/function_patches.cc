#include "schema/current/function_patches.h"

#include <array>
#include <cstddef>

#include "schema/current/functions.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/scd2.h"
#include "schema/sql/trigger.h"

namespace schema::current::function_patches {
namespace {

using P = FunctionPatches;
using functions::Functions;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using users::Users;

constexpr std::array<std::string_view, 14> kNames = {
    "function_patches", "id",
    "project_id",       "parent_function_version_id",
    "function_id",      "collection_id",
    "snippet",          "bundle_id",
    "runtime_values",   "description",
    "valid_from",       "defined_by_id",
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
      .col(logical_id_column(P::Id).not_null().primary_key())
      .col(id_column(P::ProjectId).not_null())
      .col(logical_id_column(P::ParentFunctionVersionId).not_null())
      .col(id_column(P::FunctionId).not_null())
      .col(id_column(P::CollectionId).not_null())
      .col(ColumnDef(P::Snippet).text().not_null())
      .col(id_column(P::BundleId).not_null())
      .col(ColumnDef(P::RuntimeValues).text().not_null())
      .col(ColumnDef(P::Description).text().not_null())
      .col(ColumnDef(P::ValidFrom).timestamp_with_time_zone().not_null())
      .col(id_column(P::DefinedById).not_null())
      .col(ColumnDef(P::Status).text().not_null())
      .col(ColumnDef(P::ValidTo).timestamp_with_time_zone().not_null())
      .foreign_key({P::ParentFunctionVersionId}, Functions::Table, {Functions::Id});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(P::Table); };
  return {
      index("function_patches___function_id__valid_from___idx").col(P::FunctionId).col(P::ValidFrom),
      index("function_patches___parent_fv_id__valid_from__id___idx")
          .col(P::ParentFunctionVersionId)
          .col(P::ValidFrom)
          .col(P::Id),
      index("function_patches___parent_function_version_id___current_uidx")
          .col(P::ParentFunctionVersionId)
          .unique()
          .and_where(sql::scd2::open_interval()),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(P::Table))
      .expr_as(render::name_or_id(Users::Table, Users::Name, P::Table, P::DefinedById), "defined_by")
      .from(P::Table)
      .join(sqlbuilder::JoinType::Left, Users::Table, col(P::Table, P::DefinedById).eq(col(Users::Table, Users::Id)));
  return {{"function_patches__with_names", query}};
}

std::vector<source::Derived> Defs::create_db_triggers() const {
  const std::string table = std::string(to_string(P::Table));
  const sql::trigger::Scd2TriggerDef close{
      sql::trigger::close_trigger_name(table), P::Table, P::ParentFunctionVersionId, P::ValidFrom, P::ValidTo, P::Id};
  const sql::trigger::ImmutableColumnsTriggerDef immutable{sql::trigger::immutable_trigger_name(table),
                                                           guarded_columns(), P::Table};
  return {close.derived(), immutable.derived()};
}

}  // namespace schema::current::function_patches
