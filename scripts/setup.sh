#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: when everything is present it does nothing and prints nothing.
set -euo pipefail

packages=(
  build-essential g++ cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libyaml-dev nlohmann-json3-dev libcli11-dev libpcre2-dev libarchive-dev
  libssl-dev libfmt-dev libexpected-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  hyperfine time
  postgresql-15 postgresql-client-15 libpq-dev openssl
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
