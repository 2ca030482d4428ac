#!/usr/bin/env bash
# Times the install of the current schema through `schema_host upgrade`, a
# whole process (connect, lock, system table, install batch, version, edition,
# grants, commit), on a provisioned, empty database. The floor, measured in the
# same run on an equally empty schema, is `psql -1 -f` of the same SQL text
# (`catalog_sql install`). Starts its own throwaway server.
# Usage: benchmarks/database.sh [runs]
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

sql() { "$psql" "$QV_TEST_PG" -X -q -v ON_ERROR_STOP=1 -c "$1" >/dev/null; }
database() { printf '%s\n' "$QV_TEST_PG" | sed "s/dbname=postgres/dbname=$1/"; }
now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

export QV_OWNER_PASSWORD=bench
tool_times=()
floor_times=()
for ((run = 0; run < runs; run++)); do
  sql "CREATE DATABASE bench_tool_$run"
  "$host" provision --admin "$(database bench_tool_$run)" --schema qv_apiserver --owner bench_owner \
    --in-project bench_in_project --across bench_across >/dev/null
  start=$(now)
  "$host" upgrade --admin "$(database bench_tool_$run)" --schema qv_apiserver --in-project bench_in_project \
    --across bench_across >/dev/null
  tool_times+=($(($(now) - start)))

  sql "CREATE DATABASE bench_floor_$run"
  "$psql" "$(database bench_floor_$run)" -X -q -c "CREATE SCHEMA qv_apiserver" >/dev/null
  start=$(now)
  PGOPTIONS="-c search_path=qv_apiserver" "$psql" "$(database bench_floor_$run)" -X -q -v ON_ERROR_STOP=1 -1 \
    -f "$work/install.sql" >/dev/null
  floor_times+=($(($(now) - start)))
done

tool_ms=$(printf '%s\n' "${tool_times[@]}" | median | awk '{ printf "%.1f", $1 / 1e6 }')
floor_ms=$(printf '%s\n' "${floor_times[@]}" | median | awk '{ printf "%.1f", $1 / 1e6 }')
echo "install through schema_host upgrade, median of $runs runs: ${tool_ms} ms"
echo "floor (psql -1 -f of the same SQL text): ${floor_ms} ms"
awk -v t="$tool_ms" -v f="$floor_ms" 'BEGIN { printf "ratio: %.2f (target 1.2 or less)\n", t / f }'
