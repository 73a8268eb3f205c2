#!/usr/bin/env bash
# Builds the Debian package with dpkg-buildpackage (debian/) from a copy of the sources in
# build-package/src: debhelper writes into the source folder and puts the package beside it.
# Prints the package's path as its last line. DEB_BUILD_OPTIONS is passed on (default:
# parallel on every core).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh >&2
out=$PWD/build-package
rm -rf "$out/src" "$out"/*.deb "$out"/*.changes "$out"/*.buildinfo
mkdir -p "$out/src"
tar -c --exclude='./build*' --exclude=./.git --exclude='./obj-*' . | tar -x -C "$out/src"
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=$(nproc 2> /dev/null || echo 2)}
# The copy is always at the same place, so ccache finds the objects of the last build.
if command -v ccache > /dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
(cd "$out/src" && dpkg-buildpackage -us -uc -b >&2)
ls "$out"/qx7420_*.deb
