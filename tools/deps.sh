#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, when it is missing.
set -euo pipefail
# fonts-liberation: the window's narrow dialog font (Liberation Sans Narrow).
# qt6-translations-l10n: Qt's own buttons and dialogs in Chinese for the Chinese window.
# clang and libclang-rt-14-dev (libFuzzer, the sanitizer runtimes) build the fuzz targets.
# xvfb, openbox, xdotool and x11-utils run the window tests that go through a real X server.
# ser2net serves the emulated radio on the network in the tests of network ports.
# ccache: CMake uses it when installed, so a second build of the same code is quick.
# libcups2-dev: what CUPS answered to a print job. cups, cups-client and
# printer-driver-cups-pdf run the print tests' own print server (poppler-utils reads its PDFs).
packages=(g++ cmake make pkg-config git clang-format qt6-base-dev qt6-serialport-dev
          libsimpleini-dev fonts-wqy-microhei fonts-liberation qt6-translations-l10n poppler-utils
          clang libclang-rt-14-dev xvfb openbox xdotool x11-utils ser2net ccache
          # the screen reader's view of the window: the accessibility bus and its Python client
          dbus at-spi2-core python3-pyatspi
          libcups2-dev cups cups-client printer-driver-cups-pdf
          # install files and the Debian package: icons, man pages, their validators, the
          # completion's test, the package's build, lintian and autopkgtest
          librsvg2-bin help2man desktop-file-utils appstream appstream-util bash-completion
          shared-mime-info libglib2.0-bin dpkg-dev debhelper file lintian autopkgtest)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
