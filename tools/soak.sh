#!/usr/bin/env bash
# Runs RUNS (default 1000) short transfers through the transfer job against the emulated
# radio, each with random faults (noise both ways, late, dropped and short answers,
# hang-ups, stops), and prints the counts: exact, failed cleanly, accepted wrong. Fails when
# any image was accepted wrong. SEED repeats a soak (the seed is printed first).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000}
[[ "$runs" =~ ^[0-9]+$ ]] || { echo "usage: tools/soak.sh [RUNS] [SEED]" >&2; exit 2; }
tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF > /dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target qx7420-soak
seed=()
[ $# -ge 2 ] && seed=(--seed "$2")
build/tools/soak/qx7420-soak --runs "$runs" "${seed[@]}"
