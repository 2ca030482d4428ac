#include "schema/current/executions.h"

#include <array>
#include <cstddef>
#include <string>

#include "schema/current/function_run_status_count.h"
#include "schema/current/functions.h"
#include "schema/current/users.h"
#include "schema/render.h"
#include "schema/sql/column.h"

namespace schema::current::executions {
namespace {

using E = Executions;
using functions::Functions;
using sql::id_column;
using sql::logical_id_column;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;
using users::Users;

constexpr std::array<std::string_view, 15> kNames = {
    "executions",
    "id",
    "project_id",
    "name",
    "collection_id",
    "function_version_id",
    "triggered_on",
    "triggered_by_id",
    "recursion_options",
    "function_id",
    "trigger_type",
    "external_uid",
    "status",
    "started_on",
    "ended_on",
};

sqlbuilder::Expr text(const char* value) { return sqlbuilder::val(std::string(value)); }

}  // namespace

std::string_view to_string(Executions iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(E::Table)
      .col(logical_id_column(E::Id).not_null().primary_key())
      .col(id_column(E::ProjectId).not_null())
      .col(ColumnDef(E::Name).text().null())
      .col(id_column(E::CollectionId).not_null())
      .col(logical_id_column(E::FunctionVersionId).not_null())
      .col(ColumnDef(E::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(id_column(E::TriggeredById).not_null())
      .col(ColumnDef(E::RecursionOptions).custom_type("jsonb").null())
      .col(id_column(E::FunctionId).not_null().default_value(text("")))
      .col(ColumnDef(E::TriggerType).text().not_null().default_value(text("M")))
      .col(ColumnDef(E::ExternalUid).text().null())
      .col(ColumnDef(E::Status).text().not_null().default_value(text("S")))
      .col(ColumnDef(E::StartedOn).timestamp_with_time_zone().null())
      .col(ColumnDef(E::EndedOn).timestamp_with_time_zone().null())
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
      index("executions___triggered_on__id___idx").col(E::TriggeredOn).col(E::Id),
      index("executions___collection_id__triggered_on__id___idx").col(E::CollectionId).col(E::TriggeredOn).col(E::Id),
      index("executions___project_id__status__triggered_on__id___idx")
          .col(E::ProjectId)
          .col(E::Status)
          .col(E::TriggeredOn)
          .col(E::Id),
      index("executions___function_id__external_uid___idx").col(E::FunctionId).col(E::ExternalUid),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(E::Table))
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col(Functions::Table, Functions::Name), "function")
      .expr_as(render::name_or_id(Users::Table, Users::Name, E::Table, E::TriggeredById), "triggered_by")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(function_run_status_count("execution_id", col(E::Table, E::Id)), "function_run_status_count")
      .from(E::Table)
      .join(JoinType::Left, "collections_resolved",
            col(E::Table, E::CollectionId).eq(col("collections_resolved", "id")))
      .join(JoinType::Left, Functions::Table,
            col(E::Table, E::FunctionVersionId).eq(col(Functions::Table, Functions::Id)))
      .join(JoinType::Left, Users::Table, col(E::Table, E::TriggeredById).eq(col(Users::Table, Users::Id)))
      .join(JoinType::Left, "projects_resolved", col(E::Table, E::ProjectId).eq(col("projects_resolved", "id")));
  return {{"executions__with_names", query}};
}

}  // namespace schema::current::executions
