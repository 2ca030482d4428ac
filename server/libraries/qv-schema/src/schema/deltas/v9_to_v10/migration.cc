#include "schema/deltas/v9_to_v10/migration.h"

#include "schema/archive/rollup.h"
#include "schema/deltas/shared.h"
#include "schema/deltas/v9_to_v10/facts.h"
#include "schema/deltas/v9_to_v10/metrics_facts.h"
#include "schema/render.h"
#include "schema/sql/rls.h"
#include "sqlbuilder/column.h"
#include "sqlbuilder/index.h"
#include "sqlbuilder/table.h"
#include "sqlbuilder/template.h"

namespace schema::deltas::v9_to_v10 {

using render::render_query;
using render::render_schema;
using sql::rollup::All;
using sql::rollup::AllAndAny;
using sql::rollup::Any;
using sql::rollup::RollupDef;
using sqlbuilder::ColumnDef;

namespace {

// The version-4 ladders: executions summarise with ladder A, transactions
// with ladder B; U when no arm matches.
RollupDef summary_of_runs(const char* table, const char* link, std::vector<sql::rollup::Arm> ladder) {
  return {table,
          "id",
          "status",
          "started_on",
          "ended_on",
          "logical_function_runs",
          link,
          "status",
          "physical_function_runs",
          link,
          "started_on",
          "ended_on",
          std::nullopt,
          std::move(ladder),
          "U",
          {"C", "X", "Y"}};
}

RollupDef executions() {
  return summary_of_runs("executions", "execution_id",
                         {All{{"S"}, "S"}, All{{"C", "X", "Y"}, "F"}, AllAndAny{{"C", "D", "F", "H"}, {"F", "H"}, "L"},
                          Any{{"S", "RR", "RS", "R", "D", "E"}, "R"}});
}

RollupDef transactions() {
  return summary_of_runs("transactions", "transaction_id",
                         {All{{"S"}, "S"}, All{{"C"}, "C"}, All{{"X"}, "X"}, All{{"Y"}, "Y"},
                          AllAndAny{{"D", "F", "H"}, {"F", "H"}, "L"}, Any{{"S", "RR", "RS", "R", "D", "E"}, "R"}});
}

// Status "S" until the rollup fills it; the span stays open.
std::string add_status_columns(const char* table) {
  sqlbuilder::TableAlter alter;
  alter.table(table)
      .add_column(ColumnDef("status").text().not_null().default_value(sqlbuilder::val(std::string("S"))))
      .add_column(ColumnDef("started_on").timestamp_with_time_zone().null())
      .add_column(ColumnDef("ended_on").timestamp_with_time_zone().null());
  return render_schema(alter);
}

}  // namespace

std::vector<std::string> Migration::up() const {
  std::vector<std::string> up = {
      render_schema(create_table()),
      shared::set_work_mem(),
      render_query(fill()),
      shared::reset_work_mem(),
  };
  for (const char* column : {"ended_on_hour_ms", "ended_on_day_ms", "ended_on_week_ms", "ended_on_month_ms"}) {
    up.push_back(sqlbuilder::format_template("ALTER TABLE physical_function_runs DROP COLUMN {}", {column}));
  }
  shared::append(up, sql::rls::table_rls(to_string(MetricsFacts::Table)));
  up.push_back(add_status_columns("executions"));
  up.push_back(add_status_columns("transactions"));
  up.push_back(shared::set_work_mem());
  up.push_back(render_query(archive::rollup::backfill(executions())));
  up.push_back(render_query(archive::rollup::backfill(transactions())));
  up.push_back(shared::reset_work_mem());
  up.push_back(render::update_db_version(10));
  return up;
}

Retired Migration::retired() const {
  return {{"executions__with_status", "transactions__with_status", "execution_status_summary",
           "transaction_status_summary", "global_status_summary"},
          {"transactions___execution_id___idx", "pfr___project_id__ended_on___current_idx"}};
}

source::Delta delta() {
  const Migration migration;
  const Retired names = migration.retired();
  std::vector<std::string> retired;
  for (const std::string_view view : names.views) {
    retired.push_back(sqlbuilder::format_template("DROP VIEW IF EXISTS {}", {std::string(view)}));
  }
  for (const std::string_view index : names.indexes) {
    sqlbuilder::IndexDrop drop;
    drop.name(index).if_exists();
    retired.push_back(render_schema(drop));
  }
  return {migration.up(), std::move(retired)};
}

}  // namespace schema::deltas::v9_to_v10
