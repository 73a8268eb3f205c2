#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build-fuzz/ (AddressSanitizer,
# UBSan, leak checks) and runs each for SECONDS (default 60) from its seed corpus in
# tests/fuzz/corpus/. Fails on any crash, leak, sanitizer report or broken invariant;
# the input that found it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: tools/fuzz.sh [SECONDS]" >&2; exit 2; }

launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DQX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  "${launcher[@]}" > /dev/null
nice cmake --build build-fuzz -j"$(nproc 2>/dev/null || echo 2)"

supp="$PWD/tests/fuzz/sanitizer"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
# The targets write their scratch files many thousand times a second.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

# One target a core at a time: each still gets its SECONDS of a core to itself.
jobs=$(nproc 2>/dev/null || echo 2)
fuzz() {
  local t=$1 work="build-fuzz/corpus/$1" findings="build-fuzz/findings/$1"
  mkdir -p "$work" "$findings"
  # New inputs go into the first folder; the seed corpus is read only.
  local status=0
  "build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "tests/fuzz/corpus/$t" > "build-fuzz/fuzz-$t.log" 2>&1 || status=$?
  echo "$status" > "build-fuzz/fuzz-$t.status"
}

targets=$(cd tests/fuzz/corpus && ls)
rm -f build-fuzz/fuzz-*.status
for t in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  fuzz "$t" &
done
wait

failed=()
ran=0
for t in $targets; do
  log="build-fuzz/fuzz-$t.log"
  status=$(cat "build-fuzz/fuzz-$t.status")
  ran=$((ran + 1))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
    failed+=("$t")
    echo "fuzz_$t: FAILED after ${runs:-?} executions (exit $status); log $log, input in build-fuzz/findings/$t/"
    grep -E 'invariant broken|ERROR:|runtime error:|SUMMARY' "$log" | head -5 | sed 's/^/  /'
  else
    echo "fuzz_$t: ${runs:-?} executions in ${seconds} s, corpus $(ls "build-fuzz/corpus/$t" | wc -l) inputs"
  fi
done
echo "== fuzzing: $ran targets ran for ${seconds} s each, ${#failed[@]} failed${failed:+: ${failed[*]}}"
[ ${#failed[@]} -eq 0 ]
