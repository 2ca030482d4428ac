#!/usr/bin/env bash
# Times the install of the current schema through `schema_host upgrade`, a
# whole process (connect, lock, system table, install batch, version, edition,
# grants, commit), on a provisioned, empty database. The floor, measured in the
# same run on an equally empty schema, is `psql -1 -f` of the same SQL text
# (`catalog_sql install`).
#
# Then times the migration of a version-4 database with ROWS logical function
# runs (default 100000; several sizes, e.g. ROWS="100000 400000", are timed
# one after the other) through `schema_host upgrade` (the Migrate plan 5..13
# in one transaction). The floor is `psql -1 -f` of the same texts in the same
# order (`catalog_sql migrate 4`). Both sides run on copies (CREATE DATABASE
# ... TEMPLATE) of one prepared version-4 database.
# Starts its own throwaway server.
# Usage: [ROWS="N ..."] [MIGRATION_RUNS=3] benchmarks/database.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QV_TEST_PG_DIR:-}" ]; then
  bash scripts/setup.sh
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C build/release schema_host catalog_sql >/dev/null
  exec bash scripts/pg_server.sh run bash "$0" "$@"
fi
runs=${1:-9}
host=build/release/server/libraries/qv-database/schema_host
psql=/usr/lib/postgresql/15/bin/psql

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/server/libraries/qv-schema/catalog_sql install >"$work/install.sql"
build/release/server/libraries/qv-schema/catalog_sql v4-install >"$work/v4-install.sql"
build/release/server/libraries/qv-schema/catalog_sql migrate 4 >"$work/migrate.sql"

sql() { "$psql" "$QV_TEST_PG" -X -q -v ON_ERROR_STOP=1 -c "$1" >/dev/null; }
database() { printf '%s\n' "$QV_TEST_PG" | sed "s/dbname=postgres/dbname=$1/"; }
now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ms() { median | awk '{ printf "%.1f", $1 / 1e6 }'; }
provision() {
  "$host" provision --admin "$(database "$1")" --schema qv_apiserver --owner bench_owner \
    --in-project bench_in_project --across bench_across >/dev/null
}
upgrade() {
  "$host" upgrade --admin "$(database "$1")" --schema qv_apiserver --in-project bench_in_project \
    --across bench_across
}
# psql on the home schema of database $1, without the notices of IF EXISTS.
home_psql() {
  PGOPTIONS="-c search_path=qv_apiserver -c client_min_messages=warning" \
    "$psql" "$(database "$1")" -X -q -v ON_ERROR_STOP=1 "${@:2}"
}

# The rows of a version-4 deployment for $1 logical function runs: one
# execution per ten runs, two transactions per execution, two physical runs
# per logical run (a failed attempt ended and replaced, then the live one),
# a logical table data version per logical run and a physical one per
# physical run; statuses cover both rollups.
version_four_rows() {
  local runs=$1
  cat <<SQL
INSERT INTO projects VALUES
 ('p0000000000000000000000001', 'one', '', '/p1', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', NULL),
 ('p0000000000000000000000002', 'two', '', '/p2', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', NULL);
INSERT INTO groups VALUES
 ('00000000000000000000000208', 'p0000000000000000000000001', 'default', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', true),
 ('00000000000000000000000208', 'p0000000000000000000000002', 'default', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', true),
 ('g-7', 'p0000000000000000000000001', 'mine', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', false);
INSERT INTO collections (id, project_id, name, description, created_on, created_by_id, modified_on, modified_by_id,
  group_id, collection_type) VALUES
 ('c-1', 'p0000000000000000000000001', 'one', '', '2024-01-01Z', 'u-1', '2024-01-01Z', 'u-1', '00000000000000000000000208', 'R');
INSERT INTO functions (id, project_id, collection_id, name, description, decorator, runtime_values, function_id,
  stage_id, stage_base_path, storage_version, bundle_id, snippet, defined_on, defined_by_id, status, valid_to)
SELECT 'fv-' || f, 'p0000000000000000000000001', 'c-1', 'f' || f, '', 'P', '', 'f-' || f, 's', '/s', '1', 'b', '',
  '2024-01-01Z', 'u-1', 'A', 'infinity' FROM generate_series(1, 20) AS f;
INSERT INTO executions (id, project_id, collection_id, function_version_id, triggered_on, triggered_by_id)
SELECT 'ex-' || e, 'p0000000000000000000000001', 'c-1', 'fv-' || (e % 20 + 1),
  timestamptz '2024-01-01Z' + e * interval '1 minute', 'u-1' FROM generate_series(1, $runs / 10) AS e;
INSERT INTO transactions
SELECT 'tx-' || t, 'p0000000000000000000000001', 'c-1', 'ex-' || ((t + 1) / 2), 'F', 'k',
  timestamptz '2024-01-01Z' + t * interval '30 seconds', 'u-1',
  CASE WHEN t % 3 = 0 THEN 'g-7' ELSE '00000000000000000000000208' END FROM generate_series(1, $runs / 5) AS t;
INSERT INTO logical_function_runs (id, project_id, collection_id, execution_id, transaction_id, function_id,
  function_version_id, trigger, triggered_on, triggered_by_id, status, group_id)
SELECT 'lr-' || l, 'p0000000000000000000000001', 'c-1', 'ex-' || (((l - 1) / 5 + 2) / 2), 'tx-' || ((l - 1) / 5 + 1),
  'f-' || (l % 20 + 1), 'fv-' || (l % 20 + 1), 'M', timestamptz '2024-01-01Z' + l * interval '6 seconds', 'u-1',
  (ARRAY['C', 'C', 'C', 'X', 'R', 'S', 'C', 'C'])[l % 8 + 1],
  CASE WHEN ((l - 1) / 5 + 1) % 3 = 0 THEN 'g-7' ELSE '00000000000000000000000208' END
FROM generate_series(1, $runs) AS l;
INSERT INTO physical_function_runs (id, project_id, collection_id, function_version_id, execution_id, transaction_id,
  triggered_on, triggered_by_id, trigger, started_on, ended_on, status, metric_table_versions, metric_rows,
  metric_data_bytes, base_path, logical_function_run_id, valid_to)
SELECT 'pr-' || p, 'p0000000000000000000000001', 'c-1', 'fv-' || (l % 20 + 1), 'ex-' || (((l - 1) / 5 + 2) / 2),
  'tx-' || ((l - 1) / 5 + 1), start, 'u-1', 'M', start, CASE WHEN live AND status = 'R' THEN NULL ELSE start + interval '5 minutes' END,
  CASE WHEN live THEN status ELSE 'F' END, 1, p % 1000, p % 1000 * 64, '/r/' || p, 'lr-' || l,
  CASE WHEN live THEN timestamptz 'infinity' ELSE start + interval '5 minutes' END
FROM generate_series(1, 2 * $runs) AS p,
  LATERAL (SELECT (p + 1) / 2 AS l, p % 2 = 0 AS live) AS run,
  LATERAL (SELECT timestamptz '2024-01-01Z' + p * interval '3 seconds' AS start,
    (ARRAY['D', 'D', 'D', 'X', 'R', 'D', 'D', 'D'])[l % 8 + 1] AS status) AS shape;
INSERT INTO logical_table_data_versions
SELECT 'lv-' || l, 'p0000000000000000000000001', 'c-1', 'ex-' || (((l - 1) / 5 + 2) / 2), 'tx-' || ((l - 1) / 5 + 1),
  't-' || (l % 50 + 1), 'lr-' || l, 0, false, timestamptz '2024-01-01Z' + l * interval '6 seconds', 'u-1',
  CASE WHEN ((l - 1) / 5 + 1) % 3 = 0 THEN 'g-7' ELSE '00000000000000000000000208' END
FROM generate_series(1, $runs) AS l;
INSERT INTO physical_table_data_versions (id, project_id, collection_id, table_id, name, table_version_id,
  function_version_id, has_data, row_count, data_bytes, execution_id, transaction_id, physical_function_run_id,
  function_param_pos, with_data_table_data_version_id, triggered_on, base_path, logical_table_data_version_id, valid_to)
SELECT 'pv-' || p, 'p0000000000000000000000001', 'c-1', 't-' || (l % 50 + 1), 'out', 'tv-' || (l % 50 + 1),
  'fv-' || (l % 20 + 1), p % 7 <> 0, p % 1000, p % 1000 * 64, 'ex-' || (((l - 1) / 5 + 2) / 2), 'tx-' || ((l - 1) / 5 + 1),
  'pr-' || p, 0, CASE WHEN p % 7 = 0 THEN 'pv-' || (p - 1) END, timestamptz '2024-01-01Z' + p * interval '3 seconds',
  '/t/' || p, 'lv-' || l,
  CASE WHEN p % 2 = 0 THEN timestamptz 'infinity' ELSE timestamptz '2024-01-01Z' + p * interval '3 seconds' + interval '5 minutes' END
FROM generate_series(1, 2 * $runs) AS p, LATERAL (SELECT (p + 1) / 2 AS l) AS run;
INSERT INTO workers (id, project_id, collection_id, function_version_id, message_status, status, worker_type,
  worker_enabled)
SELECT 'w-' || w, 'p0000000000000000000000001', 'c-1', 'fv-' || w, 'M', 'SPS', 'CT', w % 2 = 0
FROM generate_series(1, 20) AS w;
SQL
}

export QV_OWNER_PASSWORD=bench
tool_times=()
floor_times=()
for ((run = 0; run < runs; run++)); do
  sql "CREATE DATABASE bench_tool_$run"
  provision bench_tool_$run
  start=$(now)
  upgrade bench_tool_$run >/dev/null
  tool_times+=($(($(now) - start)))

  sql "CREATE DATABASE bench_floor_$run"
  "$psql" "$(database bench_floor_$run)" -X -q -c "CREATE SCHEMA qv_apiserver" >/dev/null
  start=$(now)
  home_psql bench_floor_$run -1 -f "$work/install.sql" >/dev/null
  floor_times+=($(($(now) - start)))
  # The next run's provisioning and upgrade refuse roles that serve another
  # database: each run's deployment goes before the next one is made.
  sql "DROP DATABASE bench_tool_$run"
  sql "DROP DATABASE bench_floor_$run"
done

tool_ms=$(printf '%s\n' "${tool_times[@]}" | ms)
floor_ms=$(printf '%s\n' "${floor_times[@]}" | ms)
echo "install through schema_host upgrade, median of $runs runs: ${tool_ms} ms"
echo "floor (psql -1 -f of the same SQL text): ${floor_ms} ms"
awk -v t="$tool_ms" -v f="$floor_ms" 'BEGIN { printf "ratio: %.2f (target 1.2 or less)\n", t / f }'

# The migration, per size: a prepared version-4 database, then per run a copy
# migrated by the tool and a copy migrated by psql.
migration_runs=${MIGRATION_RUNS:-3}
previous_rows=
for rows in ${ROWS:-100000}; do
  base=bench_v4_$rows
  sql "CREATE DATABASE $base"
  provision "$base"
  # Each copy is upgraded beside the base, and a member of the RLS roles that
  # owns a schema in another database is taken for another deployment's
  # owner: the base's home schema (and so each copy's) is the administrator's.
  home_psql "$base" -c "ALTER SCHEMA qv_apiserver OWNER TO CURRENT_USER"
  # The version-4 triggers take a lock per row; the generated rows are
  # already consistent, so they load with triggers off.
  { echo "BEGIN;"; cat "$work/v4-install.sql"; echo "SET LOCAL session_replication_role = replica;"
    version_four_rows "$rows"; echo "COMMIT;"; } >"$work/v4.sql"
  home_psql "$base" -f "$work/v4.sql" >/dev/null
  home_psql "$base" -c "VACUUM ANALYZE" >/dev/null
  tool_times=()
  floor_times=()
  for ((run = 0; run < migration_runs; run++)); do
    sql "CREATE DATABASE bench_mtool TEMPLATE $base"
    start=$(now)
    plan=$(upgrade bench_mtool)
    tool_times+=($(($(now) - start)))
    [[ $plan == *'"plan":"Migrate"'* ]] || { echo "unexpected upgrade: $plan" >&2; exit 1; }
    sql "DROP DATABASE bench_mtool"

    sql "CREATE DATABASE bench_mfloor TEMPLATE $base"
    start=$(now)
    home_psql bench_mfloor -1 -f "$work/migrate.sql" >/dev/null
    floor_times+=($(($(now) - start)))
    sql "DROP DATABASE bench_mfloor"
  done
  sql "DROP DATABASE $base"

  tool_ms=$(printf '%s\n' "${tool_times[@]}" | ms)
  floor_ms=$(printf '%s\n' "${floor_times[@]}" | ms)
  echo "migration 4 -> 13 of $rows logical and $((2 * rows)) physical runs through schema_host upgrade," \
    "median of $migration_runs runs: ${tool_ms} ms"
  echo "floor (psql -1 -f of the same texts): ${floor_ms} ms"
  awk -v t="$tool_ms" -v f="$floor_ms" 'BEGIN { printf "ratio: %.2f (target 1.2 or less)\n", t / f }'
  if [ -n "$previous_rows" ]; then
    awk -v t="$tool_ms" -v p="$previous_tool_ms" -v r="$rows" -v q="$previous_rows" \
      'BEGIN { printf "growth: %.2f times the time for %.1f times the rows (target 4.5 for 4)\n", t / p, r / q }'
  fi
  previous_rows=$rows
  previous_tool_ms=$tool_ms
done
