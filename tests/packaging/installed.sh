#!/usr/bin/env bash
# tests/packaging/installed.sh BUILD VERSION
# Installs the build into a temporary prefix and starts the programs as a user with a
# fresh home: from a read-only folder they keep pt.ini and r_and_w.dat in the user's data
# folder, from a writable copy beside themselves. Root writes into read-only folders, so
# as root the programs run as nobody.
set -euo pipefail
build=$1
version=$2
tmp=$(mktemp -d)
chmod 755 "$tmp"
window=
cleanup() {
  if [ -n "$window" ]; then kill "$window" 2> /dev/null || true; fi
  chmod -R u+w "$tmp"
  rm -rf "$tmp"
}
trap cleanup EXIT

failed=0
check() { # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
bin=$tmp/prefix/bin
portable=$tmp/portable
cp -r "$bin" "$portable"
chmod -R a-w "$tmp/prefix"
home=$tmp/home
mkdir "$home"
as=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$home" "$portable"
  as=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
user=(env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen
  ASAN_OPTIONS="${ASAN_OPTIONS:-}" "${as[@]}")
run() { "${user[@]}" "$@"; }
data=$home/.local/share/qx7420

check "the program's folder is read-only for the user" \
  run sh -c "! touch '$bin/probe' 2> /dev/null"

# First start from the read-only folder: the window creates the data folder and an empty
# working file there.
# Not through run: a function in the background is a subshell, and killing it would leave
# the window running. env and setpriv exec the program, so $! is the window itself.
"${user[@]}" "$bin/qx7420" > "$tmp/window.log" 2>&1 &
window=$!
for _ in $(seq 600); do
  [ -e "$data/r_and_w.dat" ] && break
  kill -0 "$window" 2> /dev/null || break
  sleep 0.1
done
check "the window creates an empty r_and_w.dat in the data folder" \
  test -f "$data/r_and_w.dat" -a ! -s "$data/r_and_w.dat"
kill "$window" 2> /dev/null || true
wait "$window" 2> /dev/null || true
window=
check "nothing is left beside the installed programs" \
  test "$(ls "$bin")" = "$(printf 'qx7420\nqx7420-cli\nqx7420-emu')"

check "qx7420 --version names the version and the data folder" \
  test "$(run "$bin/qx7420" --version)" = "$(printf 'qx7420 %s\nfiles: %s' "$version" "$data")"
check "qx7420 --help works without a display" \
  sh -c "env -i PATH=/usr/bin:/bin ASAN_OPTIONS='${ASAN_OPTIONS:-}' '$bin/qx7420' --help | grep -q '^Usage: qx7420 '"

for arguments in "--bogus" "a.dat b.dat"; do
  status=0
  # shellcheck disable=SC2086
  run "$bin/qx7420" $arguments 2> /dev/null || status=$?
  check "qx7420 $arguments is refused with status 2" test "$status" -eq 2
done

# An image given to the window, as a file manager gives it: copied over the working file.
image=$home/radio-image
cp "$(dirname "$0")/../../tools/emulator/demo.dat" "$image"
chmod a+r "$image"
"${user[@]}" "$bin/qx7420" "$image" > "$tmp/window.log" 2>&1 &
window=$!
for _ in $(seq 600); do
  cmp -s "$image" "$data/r_and_w.dat" && break
  kill -0 "$window" 2> /dev/null || break
  sleep 0.1
done
check "qx7420 IMAGE opens the image into the working file" cmp -s "$image" "$data/r_and_w.dat"
kill "$window" 2> /dev/null || true
wait "$window" 2> /dev/null || true
window=
check "qx7420-cli --version names the data folder" \
  test "$(run "$bin/qx7420-cli" --version | tail -n 1)" = "files: $data"

# Port 2 maps to a device through pt.ini in the data folder, for the run command and the CLI.
printf '[pt]\nCOM=2\n[ports]\nCOM2=/dev/qx7420-test-device\n' > "$data/pt.ini"
check "qx7420 --device reads pt.ini in the data folder" \
  test "$(run "$bin/qx7420" --device)" = /dev/qx7420-test-device
status=0
run "$bin/qx7420-cli" read --port 2 -o "$home/radio.dat" 2> "$tmp/cli.log" || status=$?
check "qx7420-cli maps --port through pt.ini in the data folder" \
  grep -q /dev/qx7420-test-device "$tmp/cli.log"
check "qx7420-cli read fails with status 1 on the missing device" test "$status" -eq 1

# A writable copy keeps its files beside itself.
check "a writable copy names its own folder" \
  test "$(run "$portable/qx7420" --version | tail -n 1)" = "files: $portable"
printf '[ports]\nCOM1=/dev/qx7420-portable\n' > "$portable/pt.ini"
check "a writable copy reads pt.ini beside itself" \
  test "$(run "$portable/qx7420" --device)" = /dev/qx7420-portable

if [ "$failed" -ne 0 ]; then
  echo "--- window output"
  cat "$tmp/window.log"
  exit 1
fi
