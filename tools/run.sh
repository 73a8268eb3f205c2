#!/usr/bin/env bash
# Installs what is missing, builds and starts the program. When no radio is set up
# for the configured port, the built-in radio emulator plays the radio.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
# build/ is this command's own; the test command builds in build-test/ and build-asan/.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF > /dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
bin=build/app
# The program itself says which device the configured port maps to.
device=$(QX7420_DEVICE= "$bin/qx7420" --device)
# A radio on the network (rfc2217://, socket://) is no file: it is there when its server is.
if [ -z "${QX7420_DEVICE:-}" ] && [ ! -e "$device" ] && [[ "$device" != *://* ]]; then
  link="$PWD/build/qx7420-radio"
  echo "No radio at $device: starting the radio emulator at $link"
  # The emulated radio keeps what it was written in build/emulator-memory.bin.
  memory=build/emulator-memory.bin
  [ -f "$memory" ] || memory=tools/emulator/demo.dat
  build/tools/emulator/qx7420-emu --link "$link" --image "$memory" \
      --save build/emulator-memory.bin > /dev/null &
  emu=$!
  trap 'kill $emu 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
  export QX7420_DEVICE="$link"
fi
"$bin/qx7420"
