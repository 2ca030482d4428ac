#!/usr/bin/env bash
# Times `qvk_kupgrader upgrade` as a whole process on a generated kprofile of
# 2,000 YAML files (500 groups, each with kminus, eks, aks and gke variants)
# whose upgrade spec modifies every file: one modify entry per group, which
# acts on every variant of the group. The floor, measured in the same run over
# the same files, is a bare libyaml parse-and-emit pass. The files lie on a
# tmpfs where the machine has one, so that the file system's write-back hides
# the work of neither side. Each round times both sides `runs` times,
# interleaved; the ratio printed is the median of the rounds' ratios of medians.
# Usage: benchmarks/upgrade.sh [runs] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
rounds=${2:-3}
groups=500

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release qvk_kupgrader yaml_floor >/dev/null
tool=build/release/server/binaries/qv-server/qvk_kupgrader
floor=build/release/benchmarks/yaml_floor

is_tmpfs() { [ "$(stat -f -c %T "$1" 2>/dev/null)" = tmpfs ]; }

# The work folder: under /dev/shm when that is a tmpfs, else on a tmpfs
# mounted for the run when root may mount one, else in the temporary folder.
mounted=
if is_tmpfs /dev/shm && [ -w /dev/shm ]; then
  work=$(mktemp -d -p /dev/shm)
else
  work=$(mktemp -d)
  if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256m tmpfs "$work" 2>/dev/null; then mounted=1; fi
fi
cleanup() {
  if [ -n "$mounted" ]; then umount "$work"; fi
  rm -rf "$work"
}
trap cleanup EXIT
if is_tmpfs "$work"; then place="tmpfs ($work)"; else place="disk ($work; no tmpfs available)"; fi

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

# Microseconds, read without starting a process.
now() { echo "${EPOCHREALTIME/./}"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# One round: the medians, in microseconds, of the upgrade and of the floor.
round() {
  local tool_times=() floor_times=() start run
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
  echo "$(printf '%s\n' "${tool_times[@]}" | median) $(printf '%s\n' "${floor_times[@]}" | median)"
}

files=$(find "$source_profile" -type f | wc -l)
echo "upgrade of $files files on $place: $rounds rounds of $runs runs each"
ratios=()
for ((r = 1; r <= rounds; r++)); do
  read -r tool_us floor_us <<<"$(round)"
  ratio=$(awk -v t="$tool_us" -v f="$floor_us" 'BEGIN { printf "%.2f", t / f }')
  ratios+=("$ratio")
  awk -v r="$r" -v t="$tool_us" -v f="$floor_us" -v q="$ratio" \
    'BEGIN { printf "round %d: upgrade %.1f ms, floor (libyaml parse and emit) %.1f ms, ratio %s\n", r, t / 1e3, f / 1e3, q }'
done
echo "ratio: $(printf '%s\n' "${ratios[@]}" | median) (median of the $rounds rounds; target 1.5 or less)"
