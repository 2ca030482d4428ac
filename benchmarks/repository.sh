#!/usr/bin/env bash
# Times `templates`, `replay` and `digests` as whole processes on a generated
# git repository of 12 tagged releases, each a kprofile of 720 files (3
# families, 60 groups, each with kminus, eks, aks and gke variants) with an
# upgrader per release that edits a tenth of them. The floor, measured in the
# same run by plain tools: git archive of every older tag unpacked with tar,
# and a cp -r of each release's kprofile once per provider it serves.
# Usage: benchmarks/repository.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
releases=12
groups=60
providers=4

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release qvk_kupgrader >/dev/null
tool=$PWD/build/release/server/binaries/qv-server/qvk_kupgrader

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
repo=$work/repo
kprofile=$repo/variant/resources/kprofile
kupgrade=$repo/variant/resources/kupgrade
mkdir -p "$kprofile"/{assets,configs,pods} "$kupgrade/upgrades" "$repo/variant/config/kupgrade"
git -C "$repo" init -q
git -C "$repo" config user.name bench
git -C "$repo" config user.email bench@localhost

version_of() { echo "1.$1.0"; }
# The revision of group g at release r: bumped by every release whose tenth it is in.
revision_of() { local g=$1 r=$2; echo $(((r + 9 - g % 10) / 10)); }

write_group() {
  local family=$1 g=$2 r=$3 rev
  rev=$(revision_of "$g" "$r")
  for variant in _kminus _eks _aks _gke; do
    printf '# %s %s%s\napiVersion: v1\nkind: ConfigMap\nmetadata:\n  name: %s-%s\n  labels:\n    app: %s-%s\ndata:\n  rev: %s\n  replicas: 2\n  queues: [jobs-1, mail-2]\n  settings:\n    timeout: 30\n    mode: fast\n' \
      "$family" "$g" "$variant" "$family" "$g" "$family" "$g" "$rev" \
      >"$kprofile/$family/$family-$g$variant.yaml"
  done
}

for ((r = 0; r < releases; r++)); do
  version=$(version_of $r)
  if ((r == 0)); then
    for family in assets configs pods; do
      for ((g = 0; g < groups; g++)); do write_group $family $g 0; done
    done
  else
    spec=$kupgrade/upgrades/$version.yaml
    echo "schema: 1" >"$spec"
    for family in assets configs pods; do
      echo "$family:" >>"$spec"
      for ((g = 0; g < groups; g++)); do
        ((g % 10 == (r - 1) % 10)) || continue
        write_group $family $g $r
        old=$(revision_of $g $((r - 1)))
        new=$(revision_of $g $r)
        echo "  $family-$g.yaml:" >>"$spec"
        for variant in _kminus _eks _aks _gke; do
          printf '    %s-%s%s.yaml:\n      action: modify\n      changes:\n      - {op: modify-leaf-value-if, leaf: data.rev, from: %s, to: %s}\n' \
            "$family" "$g" "$variant" "$old" "$new" >>"$spec"
        done
      done
    done
  fi
  {
    echo "schema: 1"
    echo "versions:"
    for ((k = r; k >= 0; k--)); do
      echo "- version: '$(version_of $k)'"
      echo "  upgrader: $( ((k > 0)) && echo true || echo false)"
    done
  } >"$kupgrade/upgrades.yaml"
  git -C "$repo" add -A
  git -C "$repo" commit -q -m "release $version"
  git -C "$repo" tag "$version"
done

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1e6 }'; }

floor_run() {
  local out=$work/floor
  rm -rf "$out" && mkdir -p "$out"
  for ((r = 0; r < releases - 1; r++)); do
    local version
    version=$(version_of $r)
    mkdir -p "$out/kprofiles/$version"
    git -C "$repo" archive --format=tar "$version" variant/resources/kprofile | tar -x -C "$out/kprofiles/$version"
  done
  for ((r = 0; r < releases; r++)); do
    local source=$kprofile
    ((r < releases - 1)) && source=$out/kprofiles/$(version_of $r)/variant/resources/kprofile
    for ((p = 0; p < providers; p++)); do
      mkdir -p "$out/templates/$r"
      cp -r "$source" "$out/templates/$r/$p"
    done
  done
}

declare -A times
peak_kb=0
measure() {
  local name=$1; shift
  local start
  start=$(now)
  /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out" 2>"$work/err" || { cat "$work/err"; exit 1; }
  times[$name]+="$(($(now) - start)) "
  local kb
  kb=$(tail -n1 "$work/rss")
  ((kb > peak_kb)) && peak_kb=$kb
  return 0
}

for ((run = 0; run < runs; run++)); do
  rm -rf "$work/output"
  measure templates "$tool" templates --repository "$repo" --output "$work/output"
  measure replay "$tool" replay --repository "$repo"
  measure digests "$tool" digests --repository "$repo"
  start=$(now)
  floor_run
  times[floor]+="$(($(now) - start)) "
done
grep -q '"mismatches":\[\]' <("$tool" replay --repository "$repo") || echo "warning: replay reported mismatches"

floor_ms=$(tr ' ' '\n' <<<"${times[floor]}" | grep . | median)
echo "repository of $releases releases, $((3 * groups * 4)) files each; medians of $runs runs"
echo "floor (git archive + tar + cp -r per provider): ${floor_ms} ms"
for name in templates replay digests; do
  ms=$(tr ' ' '\n' <<<"${times[$name]}" | grep . | median)
  target=2; [ "$name" = templates ] && target=1.5
  awk -v n="$name" -v t="$ms" -v f="$floor_ms" -v g="$target" \
    'BEGIN { printf "%-9s %8.1f ms  ratio %.2f (target %s or less)\n", n, t, t / f, g }'
done
echo "peak memory: $((peak_kb / 1024)) MB (target under 100 MB)"
