#!/usr/bin/env bash
# Applies the upgrader of version 1.1.0 in examples/upgrade/kupgrade to a copy
# of examples/upgrade/kprofile and prints the tool's JSON outcome. Installs
# and builds what is missing first; the example itself stays untouched.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build/release qvk_kupgrader >/dev/null

copy=$(mktemp -d)
cp -r examples/upgrade/kprofile "$copy/kprofile"
build/release/server/binaries/qv-server/qvk_kupgrader upgrade \
  --kupgrade examples/upgrade/kupgrade --kprofile "$copy/kprofile" --version 1.1.0
echo "upgraded copy: $copy/kprofile" >&2
