#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and a short
# libFuzzer run over the YAML layer and the upgrade spec reader. One throwaway
# PostgreSQL server (scripts/pg_server.sh) serves the database tests of every
# stage and is stopped however they end.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --with-server ]; then
  bash scripts/setup.sh
  exec bash scripts/pg_server.sh run bash scripts/test.sh --with-server
fi
jobs=$(nproc)

build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  ninja -C "$dir" -j "$jobs" >/dev/null
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== build and test"
build_and_test build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzz"
  bash scripts/fuzz.sh 20
fi
