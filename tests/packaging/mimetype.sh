#!/usr/bin/env bash
# tests/packaging/mimetype.sh MIME.xml IMAGE
# The image's MIME type is told by the content, whatever the file's name: an image under
# any name is one, another .dat file is not.
set -euo pipefail
definition=$1
image=$2
if ! command -v gio > /dev/null || ! command -v update-mime-database > /dev/null; then
  echo "SKIP: gio (libglib2.0-bin) or update-mime-database (shared-mime-info) is missing"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$definition" "$tmp/mime/packages/"
update-mime-database "$tmp/mime" 2> /dev/null
cp "$image" "$tmp/radio.dat"
cp "$image" "$tmp/radio"
head -c 420 /dev/zero > "$tmp/zeros.dat"
printf 'W\x00\x18\x08 the second record first' > "$tmp/other.dat"
failed=0
while read -r file expected; do
  type=$(XDG_DATA_HOME=$tmp XDG_DATA_DIRS=$tmp gio info -a standard::content-type "$tmp/$file" |
    sed -n 's/.*content-type: //p')
  if [ "$type" = "$expected" ]; then
    echo "ok: $file is $type"
  else
    echo "FAIL: $file is $type, not $expected"
    failed=$((failed + 1))
  fi
done << 'TABLE'
radio.dat application/x-qx7420-image
radio application/x-qx7420-image
zeros.dat application/octet-stream
other.dat application/octet-stream
TABLE
[ "$failed" -eq 0 ]
