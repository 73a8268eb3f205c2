#!/usr/bin/env bash
# Builds the Debian package of the three programs in build-package/ (a Release build of
# its own) and prints the package's path as its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh >&2
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr >&2
cmake --build build-package -j"$(nproc 2>/dev/null || echo 2)" >&2
rm -f build-package/*.deb
(cd build-package && cpack >&2)
deb=$(ls build-package/*.deb)
echo "$PWD/$deb"
