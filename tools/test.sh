#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in a normal build and
# once built with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
for variant in build build-asan; do
  sanitize=OFF
  [ "$variant" = build-asan ] && sanitize=ON
  echo "== $variant"
  cmake -S . -B "$variant" -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=$sanitize > /dev/null
  cmake --build "$variant" -j"$jobs"
  ctest --test-dir "$variant" --output-on-failure -j1
done
