#include "schema/deltas/v12_to_v13.h"

#include <string>
#include <vector>

#include "schema/deltas/shared.h"
#include "schema/render.h"
#include "schema/sql/column.h"
#include "schema/sql/trigger.h"
#include "sqlbuilder/column.h"
#include "sqlbuilder/delete.h"
#include "sqlbuilder/select.h"
#include "sqlbuilder/table.h"

namespace schema::deltas::v12_to_v13 {

using render::render_query;
using render::render_schema;
using sql::rollup::All;
using sql::rollup::Any;
using sql::rollup::RollupDef;
using sqlbuilder::col;
using sqlbuilder::ColumnDef;
using sqlbuilder::TableAlter;
using sqlbuilder::val;

namespace {

// Stops the upgrade before any change while two live functions or two live
// tables of one collection share a name, listing every such pair.
constexpr const char* kUniqueLiveNames = R"sql(DO $$
DECLARE
  duplicates text;
BEGIN
  SELECT string_agg(format('%s %s in collection %s', kind, name, collection_id), '; '
                    ORDER BY kind, collection_id, name)
  INTO duplicates
  FROM (
    SELECT 'function' AS kind, collection_id, name FROM functions
    WHERE valid_to = 'infinity' GROUP BY collection_id, name HAVING count(*) > 1
    UNION ALL
    SELECT 'table' AS kind, collection_id, name FROM tables
    WHERE valid_to = 'infinity' GROUP BY collection_id, name HAVING count(*) > 1
  ) d;
  IF duplicates IS NOT NULL THEN
    RAISE EXCEPTION
      'Live names must be unique within a collection; rename or delete one of each, then upgrade again: %',
      duplicates;
  END IF;
END $$)sql";

// Each input that names a dependency position gets the table version that
// was live when its run was triggered, through the dependency version live
// when the run's function version was defined.
constexpr const char* kInputTableVersions = R"sql(UPDATE "logical_function_run_inputs" AS i
SET "requirement_table_version_id" = t."id"
FROM "logical_function_runs" AS r, "functions" AS f, "dependencies" AS d, "tables" AS t
WHERE i."requirement_dependency_pos" IS NOT NULL
  AND r."id" = i."logical_function_run_id"
  AND f."id" = r."function_version_id"
  AND d."function_id" = r."function_id"
  AND d."dep_pos" = i."requirement_dependency_pos"
  AND d."valid_from" <= f."valid_from" AND f."valid_from" < d."valid_to"
  AND t."table_id" = d."table_id"
  AND t."valid_from" <= r."triggered_on" AND r."triggered_on" < t."valid_to")sql";

// Disabled workers of types CT and ST that were stopping ("SPS") are stopped.
constexpr const char* kStopDisabledWorkers =
    "UPDATE workers SET status = 'SP', ended_on = transaction_timestamp() "
    "WHERE status = 'SPS' AND NOT worker_enabled AND worker_type IN ('CT', 'ST')";

// Versions without data of runs that are not done become empty intervals.
constexpr const char* kEmptyUnwrittenVersions = R"sql(UPDATE physical_table_data_versions t
SET valid_to = t.valid_from
FROM physical_function_runs r
WHERE r.id = t.physical_function_run_id
  AND t.has_data IS NULL AND r.status <> 'D' AND t.valid_to IS DISTINCT FROM t.valid_from)sql";

// Within each logical version touched above, the other versions are chained
// again: each ends where the next non-empty one starts.
constexpr const char* kRechainVersions = R"sql(UPDATE physical_table_data_versions t
SET valid_to = n.next_valid_from
FROM (
  SELECT id, COALESCE(
    LEAD(valid_from) OVER (PARTITION BY logical_table_data_version_id ORDER BY valid_from, id),
    'infinity'
  ) AS next_valid_from
  FROM physical_table_data_versions
  WHERE valid_to IS DISTINCT FROM valid_from
    AND logical_table_data_version_id IN (
      SELECT logical_table_data_version_id FROM physical_table_data_versions WHERE valid_to = valid_from
    )
) AS n
WHERE t.id = n.id AND t.valid_to IS DISTINCT FROM n.next_valid_from)sql";

std::string alter(const TableAlter& statement) { return render_schema(statement); }

std::vector<std::string> orphans_and_keys() {
  sqlbuilder::Select users;
  users.expr(col("id")).from("users");
  sqlbuilder::Delete orphans;
  orphans.from("users_roles").and_where(col("user_id").not_in(users));
  TableAlter user_key;
  user_key.table("users_roles").add_foreign_key({"user_id"}, "users", {"id"});
  TableAlter table_version;
  table_version.table("logical_function_run_inputs").add_column(sql::id_column("requirement_table_version_id").null());
  return {render_query(std::move(orphans)), alter(user_key), alter(table_version), kInputTableVersions};
}

std::vector<std::string> worker_retries() {
  TableAlter workers;
  workers.table("workers")
      .add_column(ColumnDef("failures").integer().not_null().default_value(val(0)))
      .add_column(ColumnDef("retry_at").timestamp_with_time_zone().null())
      .add_column(ColumnDef("destination_write_on").timestamp_with_time_zone().null())
      .drop_column("message_status");
  TableAlter recoveries;
  recoveries.table("logical_function_runs")
      .add_column(ColumnDef("recoveries").integer().not_null().default_value(val(0)));
  return {alter(workers), kStopDisabledWorkers, alter(recoveries)};
}

}  // namespace

RollupDef transactions_rollup() {
  return {"transactions",
          "id",
          "status",
          "started_on",
          "ended_on",
          "logical_function_runs",
          "transaction_id",
          "status",
          "physical_function_runs",
          "transaction_id",
          "started_on",
          "ended_on",
          std::nullopt,
          {All{{"S"}, "S"}, Any{{"S", "RR", "RS", "R", "E"}, "R"}, Any{{"F", "H"}, "L"}, Any{{"Y"}, "Y"},
           Any{{"D"}, "R"}, All{{"C"}, "C"}},
          "X",
          {"C", "X", "Y"}};
}

RollupDef executions_rollup() {
  // The ladder speaks transaction statuses (L is never a run status), so the
  // children are the transactions; the attempts still give the span.
  return {"executions",
          "id",
          "status",
          "started_on",
          "ended_on",
          "transactions",
          "execution_id",
          "status",
          "physical_function_runs",
          "execution_id",
          "started_on",
          "ended_on",
          std::nullopt,
          {All{{"S"}, "S"}, Any{{"S", "R"}, "R"}, Any{{"L"}, "L"}},
          "F",
          {"C", "X", "Y"}};
}

source::Delta delta() {
  std::vector<std::string> up = {
      kUniqueLiveNames,
      "ALTER TABLE projects DROP CONSTRAINT IF EXISTS projects_name_key",
      "ALTER TABLE roles DROP CONSTRAINT IF EXISTS roles_name_key",
  };
  shared::append(up, orphans_and_keys());
  shared::append(up, worker_retries());
  up.push_back(kEmptyUnwrittenVersions);
  up.push_back(kRechainVersions);
  up.push_back(shared::set_work_mem());
  // Transactions first: the executions rollup reads their new statuses.
  up.push_back(render_query(sql::rollup::backfill(transactions_rollup())));
  up.push_back(render_query(sql::rollup::backfill(executions_rollup())));
  up.push_back(shared::reset_work_mem());
  up.push_back(render::update_db_version(13));

  std::vector<std::string> retired = {
      sql::trigger::drop_trigger("logical_function_runs__sticky_terminals", "logical_function_runs"),
      sql::trigger::drop_trigger_function("logical_function_runs__sticky_terminals"),
  };
  shared::append(retired, shared::drop_indexes({
                              "collections___project_id__name___idx",
                              "functions___collection_id__name___current_idx",
                              "groups___project_id__name___idx",
                              "metrics_facts___table_version_id___written___idx",
                              "sessions___status___idx",
                              "tables___collection_id__name___current_idx",
                          }));
  return {std::move(up), std::move(retired)};
}

}  // namespace schema::deltas::v12_to_v13
