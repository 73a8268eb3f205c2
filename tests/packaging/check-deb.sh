#!/usr/bin/env bash
# tests/packaging/check-deb.sh PACKAGE.deb
# The Debian package that tools/package.sh built: lintian finds no error or warning, and
# what lintian does not check: exactly the programs and their files, and no path of the
# source or build folder in any file.
set -euo pipefail
deb=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failed=0
check() { # check WHAT COMMAND...
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what"
    failed=$((failed + 1))
  fi
}

# The informational tags are shown too; they do not fail.
check "lintian --pedantic reports no error or warning" \
  lintian --pedantic --display-info --fail-on error,warning "$deb"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort > "$tmp/files"
sort > "$tmp/expected" << 'LIST'
/usr/bin/qx7420
/usr/bin/qx7420-cli
/usr/bin/qx7420-emu
/usr/share/applications/qx7420.desktop
/usr/share/bash-completion/completions/qx7420-cli
/usr/share/doc/qx7420/changelog.gz
/usr/share/doc/qx7420/copyright
/usr/share/icons/hicolor/16x16/apps/qx7420.png
/usr/share/icons/hicolor/24x24/apps/qx7420.png
/usr/share/icons/hicolor/32x32/apps/qx7420.png
/usr/share/icons/hicolor/48x48/apps/qx7420.png
/usr/share/icons/hicolor/64x64/apps/qx7420.png
/usr/share/icons/hicolor/128x128/apps/qx7420.png
/usr/share/icons/hicolor/256x256/apps/qx7420.png
/usr/share/icons/hicolor/scalable/apps/qx7420.svg
/usr/share/man/man1/qx7420-cli.1.gz
/usr/share/man/man1/qx7420-emu.1.gz
/usr/share/man/man1/qx7420.1.gz
/usr/share/metainfo/io.github.qx7420.qx7420.metainfo.xml
/usr/share/mime/packages/qx7420.xml
LIST
check "the package holds exactly the programs and their files (no tests, no libraries)" \
  diff -u "$tmp/expected" "$tmp/files"

dpkg-deb -x "$deb" "$tmp/root"
check "no file names the source or build folder $source" \
  test -z "$(grep -rlaF "$source" "$tmp/root")"

echo "package: $failed failed"
[ "$failed" -eq 0 ]
