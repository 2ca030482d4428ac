#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 20), seeded with every YAML file of the repository.
# Any crash, leak or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build/fuzz
targets=(yaml_fuzzer spec_fuzzer)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQV_FUZZ=ON -DQV_TESTS=OFF >/dev/null
ninja -C "$build" "${targets[@]}" >/dev/null

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
find server examples -name '*.yaml' -type f 2>/dev/null | head -n 500 | while read -r file; do
  cp "$file" "$corpus/$(echo "$file" | tr '/' '_')"
done

pids=()
for target in "${targets[@]}"; do
  mkdir -p "$corpus/$target"
  cp "$corpus"/*.yaml "$corpus/$target/" 2>/dev/null || true
  "$build/$(find "$build" -name "$target" -type f -printf '%P\n' | head -n1)" \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus/$target" >"$corpus/$target.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  if wait "${pids[$i]}"; then
    echo "${targets[$i]}: $(grep -E 'stat::number_of_executed_units' "$corpus/${targets[$i]}.log" | awk '{print $2}') runs, no failure"
  else
    echo "${targets[$i]} failed:"
    tail -n 60 "$corpus/${targets[$i]}.log"
    status=1
  fi
done
exit $status
