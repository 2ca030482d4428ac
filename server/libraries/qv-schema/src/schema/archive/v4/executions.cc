#include "schema/archive/v4/executions.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/archive/v4/functions.h"
#include "schema/render.h"

namespace schema::archive::v4::executions {
namespace {

using E = Executions;
using functions::Functions;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 12> kNames = {
    "executions",        "id",
    "project_id",        "name",
    "collection_id",     "function_version_id",
    "triggered_on",      "triggered_by_id",
    "recursion_options", "function_id",
    "trigger_type",      "external_uid",
};

sqlbuilder::Expr text(const char* value) { return sqlbuilder::val(std::string(value)); }

}  // namespace

std::string_view to_string(Executions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(E::Table)
      .col(ColumnDef(E::Id).text().not_null().primary_key())
      .col(ColumnDef(E::ProjectId).text().not_null())
      .col(ColumnDef(E::Name).text().null())
      .col(ColumnDef(E::CollectionId).text().not_null())
      .col(ColumnDef(E::FunctionVersionId).text().not_null())
      .col(ColumnDef(E::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(E::TriggeredById).text().not_null())
      .col(ColumnDef(E::RecursionOptions).custom_type("jsonb").null())
      .col(ColumnDef(E::FunctionId).text().not_null().default_value(text("")))
      .col(ColumnDef(E::TriggerType).text().not_null().default_value(text("M")))
      .col(ColumnDef(E::ExternalUid).text().null())
      .foreign_key({E::CollectionId}, "collections", {"id"})
      .foreign_key({E::FunctionVersionId}, Functions::Table, {Functions::Id});
  return {table};
}

std::vector<sqlbuilder::IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(E::Table); };
  return {
      index("executions___fv_id__trigger_type__triggered_on___idx")
          .col(E::FunctionVersionId)
          .col(E::TriggerType)
          .col(E::TriggeredOn),
      index("executions___project_id__triggered_on__id___idx").col(E::ProjectId).col(E::TriggeredOn).col(E::Id),
      index("executions___project_id__id___idx").col(E::ProjectId).col(E::Id),
      index("executions___function_id__external_uid___idx").col(E::FunctionId).col(E::ExternalUid),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(E::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Functions::Table, Functions::Name), "function")
      .expr_as(render::name_or_id("users", "name", E::Table, E::TriggeredById), "triggered_by")
      .expr_as(col("projects_resolved", "name"), "project")
      .from(E::Table)
      .join(JoinType::Left, "collections_resolved",
            col(E::Table, E::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Functions::Table,
            col(E::Table, E::FunctionVersionId).eq(col(Functions::Table, Functions::Id)))
      .join(JoinType::Left, "users", col(E::Table, E::TriggeredById).eq(col("users", "id")))
      .join(JoinType::Left, "projects_resolved", col(E::Table, E::ProjectId).eq(col("projects_resolved", "id")));
  return {{"executions__with_names", query}};
}

}  // namespace schema::archive::v4::executions
