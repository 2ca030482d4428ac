#!/usr/bin/env bash
# Times `qvk_kupgrader upgrade` as a whole process on a generated kprofile of
# 2,000 YAML files (500 groups, each with kminus, eks, aks and gke variants)
# whose upgrade spec modifies every file: one modify entry per group, which
# acts on every variant of the group. The floor, measured in the same run over
# the same files, is a bare libyaml parse-and-emit pass.
# Usage: benchmarks/upgrade.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
groups=500

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release qvk_kupgrader yaml_floor >/dev/null
tool=build/release/server/binaries/qv-server/qvk_kupgrader
floor=build/release/benchmarks/yaml_floor

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source_profile=$work/source
kupgrade=$work/kupgrade
mkdir -p "$source_profile"/{assets,configs,pods} "$kupgrade/upgrades"

family_of() {
  if (($1 % 5 < 2)); then echo configs; elif (($1 % 5 < 4)); then echo pods; else echo assets; fi
}

spec=$kupgrade/upgrades/2.0.0.yaml
{
  echo "schema: 1"
  for family in assets configs pods; do
    echo "$family:"
    for ((g = 0; g < groups; g++)); do
      [ "$(family_of $g)" = "$family" ] || continue
      name=svc-$g
      echo "  $name.yaml:"
      echo "    $name.yaml:"
      echo "      action: modify"
      echo "      changes:"
      echo "      - {op: modify-leaf-value-if, leaf: data.port, from: 8080, to: 9090}"
      echo "      - {op: insert-child-if-missing, leaf: metadata.labels, child: version, value: '2.0'}"
      echo "      - {op: derive-item-if-missing, leaf: data.queues, pattern: '^(?<q>[a-z]+)-(?<n>[0-9]+)\$', item: '\${q}-dead-\${n}'}"
    done
  done
} >"$spec"

for ((g = 0; g < groups; g++)); do
  family=$(family_of $g)
  for variant in _kminus _eks _aks _gke; do
    cat >"$source_profile/$family/svc-$g$variant.yaml" <<YAML
# Service $g for ${variant#_}
apiVersion: v1
kind: ConfigMap
metadata:
  name: svc-$g
  namespace: platform
  labels:
    app: svc-$g
    tier: backend
data:
  replicas: 2
  port: 8080
  image: "registry.local/svc-$g:1.0.0"
  queues:
  - jobs-1
  - mail-2
  - audit-3
  settings:
    timeout: 30
    retries: 3
    mode: fast
    endpoints: [a.local, b.local, c.local]
  description: |
    Service $g handles the backend work of the platform.
    It is replicated and watched.
YAML
  done
done

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

tool_times=()
floor_times=()
for ((run = 0; run < runs; run++)); do
  rm -rf "$work/profile" && cp -r "$source_profile" "$work/profile"
  start=$(now)
  "$tool" upgrade --kupgrade "$kupgrade" --kprofile "$work/profile" --version 2.0.0 >/dev/null
  tool_times+=($(($(now) - start)))

  rm -rf "$work/profile" && cp -r "$source_profile" "$work/profile"
  find "$work/profile" -name '*.yaml' -type f >"$work/files"
  start=$(now)
  "$floor" <"$work/files"
  floor_times+=($(($(now) - start)))
done

tool_ms=$(printf '%s\n' "${tool_times[@]}" | median | awk '{ printf "%.1f", $1 / 1e6 }')
floor_ms=$(printf '%s\n' "${floor_times[@]}" | median | awk '{ printf "%.1f", $1 / 1e6 }')
files=$(find "$source_profile" -type f | wc -l)
echo "upgrade of $files files, median of $runs runs: ${tool_ms} ms"
echo "floor (libyaml parse and emit of the same files): ${floor_ms} ms"
awk -v t="$tool_ms" -v f="$floor_ms" 'BEGIN { printf "ratio: %.2f (target 1.5 or less)\n", t / f }'
