#!/usr/bin/env bash
# tests/packaging/check-deb.sh PACKAGE.deb
# The Debian package that tools/package.sh built: exactly the programs and their files,
# control fields with Depends computed from the programs' libraries, stripped programs,
# and no path of the source or build folder in any file.
set -euo pipefail
deb=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(qx7420 VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

passed=0
failed=0
check() { # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    failed=$((failed + 1))
  fi
}
field() { dpkg-deb -f "$deb" "$1"; }

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort > "$tmp/files"
sort > "$tmp/expected" << 'LIST'
/usr/bin/qx7420
/usr/bin/qx7420-cli
/usr/bin/qx7420-emu
/usr/share/applications/qx7420.desktop
/usr/share/bash-completion/completions/qx7420-cli
/usr/share/icons/hicolor/16x16/apps/qx7420.png
/usr/share/icons/hicolor/24x24/apps/qx7420.png
/usr/share/icons/hicolor/32x32/apps/qx7420.png
/usr/share/icons/hicolor/48x48/apps/qx7420.png
/usr/share/icons/hicolor/64x64/apps/qx7420.png
/usr/share/icons/hicolor/128x128/apps/qx7420.png
/usr/share/icons/hicolor/256x256/apps/qx7420.png
/usr/share/icons/hicolor/scalable/apps/qx7420.svg
/usr/share/man/man1/qx7420-cli.1.gz
/usr/share/metainfo/io.github.qx7420.qx7420.metainfo.xml
LIST
check "the package holds exactly the programs and their files (no tests, no libraries)" \
  diff -u "$tmp/expected" "$tmp/files"

check "Package is qx7420" test "$(field Package)" = qx7420
check "Version is $version" test "$(field Version)" = "$version"
check "Architecture is this machine's" test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "Section is hamradio" test "$(field Section)" = hamradio
check "Maintainer is set" test -n "$(field Maintainer)"
check "Description has a summary and a body" test "$(field Description | wc -l)" -gt 1
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
  libqt6serialport6 libqt6network6 libsimpleini1; do
  check "Depends names $library with a version" \
    awk -v RS=', ' -v l="$library" '$1 == l && $2 == "(>=" { found = 1 } END { exit !found }' \
    <<< "$(field Depends)"
done

dpkg-deb -x "$deb" "$tmp/root"
for program in qx7420 qx7420-cli qx7420-emu; do
  check "$program is stripped" grep -q ', stripped' <<< "$(file -b "$tmp/root/usr/bin/$program")"
done
check "no file names the source or build folder $source" \
  test -z "$(grep -rlaF "$source" "$tmp/root")"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
