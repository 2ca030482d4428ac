#include "schema/archive/v4/logical_function_runs.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "schema/archive/v4/physical_function_runs.h"
#include "schema/render.h"
#include "schema/sql/trigger.h"
#include "sqlbuilder/template.h"

namespace schema::archive::v4::logical_function_runs {
namespace {

using L = LogicalFunctionRuns;
using physical_function_runs::PhysicalFunctionRuns;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::IndexCreate;
using sqlbuilder::JoinType;

constexpr std::array<std::string_view, 13> kNames = {
    "logical_function_runs",
    "id",
    "project_id",
    "collection_id",
    "execution_id",
    "transaction_id",
    "function_id",
    "function_version_id",
    "trigger",
    "triggered_on",
    "triggered_by_id",
    "status",
    "group_id",
};

constexpr std::array<std::string_view, 3> kTerminal = {"C", "X", "Y"};

constexpr std::string_view kStickyTerminalsFunction =
    "CREATE OR REPLACE FUNCTION {0}_fn() RETURNS TRIGGER AS $$\n"
    "BEGIN\n"
    "  IF OLD.{1} IN ({2}) AND NEW.{1} != OLD.{1} THEN\n"
    "    RAISE EXCEPTION '{3}.{1} is sticky in terminal state';\n"
    "  END IF;\n"
    "  RETURN NEW;\n"
    "END;\n"
    "$$ LANGUAGE plpgsql";

constexpr std::string_view kStickyTerminalsTrigger =
    "CREATE TRIGGER {0} BEFORE UPDATE OF {1} ON {2}\n"
    "FOR EACH ROW EXECUTE FUNCTION {0}_fn()";

// A run in a terminal status keeps it: any change of status is refused.
source::Derived sticky_terminals() {
  const sqlbuilder::Iden table = L::Table;
  const std::string name = sqlbuilder::format_template("{}__sticky_terminals", {table.text()});
  const std::string column(to_string(L::Status));
  std::string terminal;
  for (std::string_view status : kTerminal) {
    if (!terminal.empty()) terminal += ", ";
    terminal += sqlbuilder::format_template("'{}'", {std::string(status)});
  }
  return {{sqlbuilder::format_template(kStickyTerminalsFunction, {name, column, terminal, table.text()}),
           sqlbuilder::format_template(kStickyTerminalsTrigger, {name, column, table.text()})},
          {sql::trigger::drop_trigger(name, table), sql::trigger::drop_trigger_function(name)}};
}

sql::view::ViewDef with_names() {
  using P = PhysicalFunctionRuns;
  const sqlbuilder::Iden groups = "groups_for_lfr";
  sqlbuilder::Select query;
  query.expr(sqlbuilder::asterisk(L::Table))
      .expr_as(col("functions", "name"), "name")
      .expr_as(col("collections_resolved", "name"), "collection")
      .expr_as(col("collections_resolved", "deleted"), "collection_deleted")
      .expr_as(col("executions", "name"), "execution")
      .expr_as(render::name_or_id("users", "name", L::Table, L::TriggeredById), "triggered_by")
      .expr_as(col(groups, "name"), "group")
      .expr_as(col("projects_resolved", "name"), "project")
      .expr_as(col(P::Table, P::Id), "physical_function_run_id")
      .expr_as(col(P::Table, P::StartedOn), "started_on")
      .expr_as(col(P::Table, P::EndedOn), "ended_on")
      .expr_as(col(P::Table, P::Status), "physical_status")
      .expr_as(col(P::Table, P::FunctionVersionPatchId), "function_version_patch_id");
  for (P metric : {P::EndedOnHourMs, P::EndedOnDayMs, P::EndedOnWeekMs, P::EndedOnMonthMs, P::MetricTableVersions,
                   P::MetricRows, P::MetricDataBytes}) {
    query.expr_as(col(P::Table, metric), metric);
  }
  query.from(L::Table)
      .join(JoinType::Left, "collections_resolved",
            col(L::Table, L::CollectionId).eq(col("collections_resolved", "id")))
      // A group is identified within its project.
      .join_as(JoinType::Left, "groups", groups,
               col(L::Table, L::GroupId)
                   .eq(col(groups, "id"))
                   .and_(col(L::Table, L::ProjectId).eq(col(groups, "project_id"))))
      .join(JoinType::Left, "projects_resolved", col(L::Table, L::ProjectId).eq(col("projects_resolved", "id")))
      .join(JoinType::Left, "functions", col(L::Table, L::FunctionVersionId).eq(col("functions", "id")))
      .join(JoinType::Left, "executions", col(L::Table, L::ExecutionId).eq(col("executions", "id")))
      .join(JoinType::Left, "users", col(L::Table, L::TriggeredById).eq(col("users", "id")))
      .join(JoinType::Left, P::Table,
            col(P::Table, P::LogicalFunctionRunId)
                .eq(col(L::Table, L::Id))
                .and_(col(P::Table, P::ValidTo).eq(sqlbuilder::custom("'infinity'::timestamptz"))));
  return {"function_runs__with_names", query};
}

}  // namespace

std::string_view to_string(LogicalFunctionRuns iden) { return kNames.at(static_cast<std::size_t>(iden)); }

std::vector<sqlbuilder::TableCreate> Defs::create_tables() const {
  sqlbuilder::TableCreate table;
  table.table(L::Table)
      .col(ColumnDef(L::Id).text().not_null().primary_key())
      .col(ColumnDef(L::ProjectId).text().not_null())
      .col(ColumnDef(L::CollectionId).text().not_null())
      .col(ColumnDef(L::ExecutionId).text().not_null())
      .col(ColumnDef(L::TransactionId).text().not_null())
      .col(ColumnDef(L::FunctionId).text().not_null())
      .col(ColumnDef(L::FunctionVersionId).text().not_null().default_value(sqlbuilder::val(std::string())))
      .col(ColumnDef(L::Trigger).text().not_null())
      .col(ColumnDef(L::TriggeredOn).timestamp_with_time_zone().not_null())
      .col(ColumnDef(L::TriggeredById).text().not_null())
      .col(ColumnDef(L::Status).text().not_null())
      .col(ColumnDef(L::GroupId).text().not_null())
      .foreign_key({L::CollectionId}, "collections", {"id"})
      .foreign_key({L::ProjectId, L::GroupId}, "groups", {"project_id", "id"})
      .foreign_key({L::ExecutionId}, "executions", {"id"})
      .foreign_key({L::TransactionId}, "transactions", {"id"});
  return {table};
}

std::vector<IndexCreate> Defs::create_indices() const {
  const auto index = [](const char* name) { return IndexCreate().name(name).table(L::Table); };
  return {
      index("logical_function_runs___project_id__group_id___idx").col(L::ProjectId).col(L::GroupId),
      index("logical_function_runs___status__project_id__triggered_on___idx")
          .col(L::Status)
          .col(L::ProjectId)
          .col(L::TriggeredOn),
      index("logical_function_runs___project_id__id___idx").col(L::ProjectId).col(L::Id),
      index("logical_function_runs___function_version_id___idx").col(L::FunctionVersionId),
      index("logical_function_runs___execution_id__function_id___idx")
          .col(L::ExecutionId)
          .col(L::FunctionId)
          .unique(),
      index("logical_function_runs___function_id__triggered_on__id___idx")
          .col(L::FunctionId)
          .col(L::TriggeredOn)
          .col(L::Id),
      index("logical_function_runs___execution_id__status___idx").col(L::ExecutionId).col(L::Status),
      index("logical_function_runs___transaction_id__status___idx").col(L::TransactionId).col(L::Status),
  };
}

std::vector<sql::view::ViewDef> Defs::create_views() const {
  std::vector<sql::view::ViewDef> views = {with_names()};
  for (sql::view::ViewDef& summary : status_summary_views()) views.push_back(std::move(summary));
  return views;
}

std::vector<source::Derived> Defs::create_db_triggers() const { return {sticky_terminals()}; }

}  // namespace schema::archive::v4::logical_function_runs
