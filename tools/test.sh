#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds every test in a normal build and in
# one with AddressSanitizer and UBSan and runs them in both (the real-time ones in the second
# only); then fuzzes every input from outside for a short while (tools/fuzz.sh,
# QX_FUZZ_SECONDS a target, default 10); then builds the Debian package and checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

echo "== formatting"
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
  find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
fi

# The tests that talk to the emulator in real time run in the AddressSanitizer build only:
# the normal build runs the same Debug code, so they would find nothing more there, and
# their minutes go to waiting on the radio's pacing, not to checking.
for variant in build-test build-asan; do
  sanitize=OFF
  [ "$variant" = build-asan ] && sanitize=ON
  echo "== $variant"
  cmake -S . -B "$variant" -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=$sanitize > /dev/null
  cmake --build "$variant" -j"$jobs"
  # Every test runs once; a deterministic test that fails has found a bug.
  ctest --test-dir "$variant" --output-on-failure -j"$jobs" -LE realtime
  [ "$variant" = build-asan ] || continue
  # Mostly waiting, they run side by side; one that fails runs once more, alone, so a
  # moment of starvation on a loaded machine is not a failure, while a real fault fails
  # both times. Their names are printed either way.
  if ! ctest --test-dir "$variant" --output-on-failure -j"$jobs" -L realtime; then
    failed=$(cut -d: -f2 "$variant/Testing/Temporary/LastTestsFailed.log" | tr '\n' ' ')
    echo "== $variant: real-time tests that needed a second run: $failed"
    ctest --test-dir "$variant" --output-on-failure -j1 --rerun-failed
  fi
done

echo "== fuzzing"
tools/fuzz.sh "${QX_FUZZ_SECONDS:-10}"

# The Debian package, built by dpkg-buildpackage without its own run of the tests above:
# lintian and what it does not check, then the autopkgtest on this machine (the null
# runner installs the package and what its tests need).
echo "== package"
deb=$(DEB_BUILD_OPTIONS="nocheck noautodbgsym parallel=$jobs" tools/package.sh | tail -n 1)
tests/packaging/check-deb.sh "$deb"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo autopkgtest --no-built-binaries "$deb" build-package/src/ -- null
