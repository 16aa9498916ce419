#!/usr/bin/env bash
# Standard input cut short, empty or closed: the exact message on standard
# error, exit status 1, nothing on standard output and no result file.
# Usage: hostile_stdin_test.sh TORVANE_CLI
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# check NAME EXPECTED_STDERR COMMAND...: runs the command with the shell's
# standard input as set up by the caller.
check() {
  local name=$1 expected=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -eq 1 ] && [ "$(cat "$work/err")" = "$expected" ] && [ ! -s "$work/out" ] &&
      [ ! -e "$work/table.txt" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: status $status, stderr: $(cat "$work/err")"
  fi
}

convert=("$cli" convert --dx=500 --dy=600 --angle=30.1520)
check "producer stopped mid-line" 'standard input:2: Y field "" is not a number' \
  "${convert[@]}" -o - - < <(printf 'A,1,2,3\r\nB,4,')
check "cut short, to a file" 'standard input:2: Y field "" is not a number' \
  "${convert[@]}" -o "$work/table.txt" - < <(printf 'A,1,2,3\r\nB,4,')
check "empty" 'standard input: no points: the file is empty or holds only blank lines' \
  "${convert[@]}" -o - - </dev/null
check "closed" 'standard input: cannot read: standard input is closed' \
  "${convert[@]}" -o "$work/table.txt" - <&-

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
