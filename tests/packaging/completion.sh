#!/usr/bin/env bash
# tests/packaging/completion.sh CLI COMPLETION
# The bash completion offers, for qx7420-cli and each of its commands, exactly the commands
# and options that --help lists (and --help), and the values that the options know.
set -uo pipefail
cli=$(realpath "$1")
completion=$(realpath "$2")
if [ ! -r /usr/share/bash-completion/bash_completion ]; then
  echo "SKIP: bash-completion is not installed"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A copy in a writable folder reads pt.ini beside itself: one radio on the network, port 3.
mkdir "$tmp/bin" "$tmp/cwd"
cp "$cli" "$tmp/bin/qx7420-cli"
printf '[ports]\nCOM3=rfc2217://bench2:3001\n' > "$tmp/bin/pt.ini"
cli=$tmp/bin/qx7420-cli
touch "$tmp/cwd/a-file"
cd "$tmp/cwd"
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"

failed=0
fail() {
  echo "FAIL: $*"
  failed=$((failed + 1))
}
# What TAB offers after qx7420-cli WORD...; the last word is the one being completed.
offered() {
  COMP_WORDS=("$cli" "$@")
  COMP_CWORD=$#
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _qx7420_cli qx7420-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | grep . | sort -u
}
# The options that a --help lists at the start of its lines: "  -o FILE", "  -h, --help".
listed_options() {
  sed -n 's/^  \(-[a-z-]*\)\(, \(--[a-z-]*\)\)\{0,1\}\( .*\)\{0,1\}$/\1\n\3/p' | grep . | sort -u
}
compare() { # compare WHAT EXPECTED OFFERED
  if [ "$2" != "$3" ]; then
    fail "$1"
    diff <(grep . <<< "$2") <(grep . <<< "$3") | sed -n 's/^</  not offered:/p; s/^>/  not listed: /p'
  fi
}

help=$("$cli" --help)
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' <<< "$help" | sort -u)
[ -n "$commands" ] || fail "qx7420-cli --help lists no commands"
first=$(offered "")
compare "the commands and options of qx7420-cli" \
  "$(sort -u <(echo "$commands") <(listed_options <<< "$help"))" "$first"

for command in $commands; do
  expected=$(sort -u <("$cli" "$command" --help | listed_options) <(echo --help))
  compare "the options of $command" "$expected" "$(offered "$command" -)"
done

# Values, where the option knows them; file names only where a file is meant.
while IFS='|' read -r words expected; do
  read -ra words <<< "$words"
  compare "qx7420-cli ${words[*]}<TAB>" "$(tr ' ' '\n' <<< "$expected" | sort -u)" \
    "$(offered "${words[@]}" "")"
done << 'TABLE'
read --pace|fast standard
write --pace|fast standard
export-csv --format|chirp qx7420
print --lang|en zh
export-csv -o|a-file
read --retries|
TABLE
ports=$(offered probe --port "")
for word in 3 rfc2217://bench2:3001 rfc2217:// socket://; do
  grep -qxF -- "$word" <<< "$ports" || fail "--port offers $word (from qx7420-cli ports)"
done
grep -qx a-file <<< "$ports" && fail "--port offers file names"
compare "qx7420-cli read --pace s<TAB>" standard "$(offered read --pace s)"

echo "completion: $failed failed"
[ "$failed" -eq 0 ]
