#!/usr/bin/env bash
# Standard input cut short, empty or closed: the exact message on standard
# error, exit status 1, nothing on standard output and no result file.
# Usage: hostile_stdin_test.sh TORVANE_CLI
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

convert=("$cli" convert --dx=500 --dy=600 --angle=30.1520)
# stdin NAME EXPECTED_STDERR COMMAND...: exit status 1, the message, nothing
# on standard output and no table.
stdin() {
  run "$1" 1 "" "$2" "${@:3}"
  check "$1: nothing on standard output" test ! -s "$work/out"
  check "$1: no table" test ! -e "$work/table.txt"
}
stdin "producer stopped mid-line" 'standard input:2: Y field "" is not a number' \
  "${convert[@]}" -o - - < <(printf 'A,1,2,3\r\nB,4,')
stdin "cut short, to a file" 'standard input:2: Y field "" is not a number' \
  "${convert[@]}" -o "$work/table.txt" - < <(printf 'A,1,2,3\r\nB,4,')
stdin "empty" 'standard input: no points: the file is empty or holds only blank lines' \
  "${convert[@]}" -o - - </dev/null
stdin "closed" 'standard input: cannot read: standard input is closed' \
  "${convert[@]}" -o "$work/table.txt" - <&-

summary hostile_stdin_test
