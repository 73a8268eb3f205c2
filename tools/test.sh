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
  # The transfer tests run against the emulator in real time: a test program that fails
  # is run once more, so a moment of starvation on a loaded machine is not a failure,
  # while a real fault fails both times.
  ctest --test-dir "$variant" --output-on-failure -j1 --repeat until-pass:2
done
