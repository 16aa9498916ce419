#!/usr/bin/env bash
# A run over millions of points killed at random moments, as a power switch
# or an impatient Ctrl-C or Ctrl-\ would: after each, the result is either
# the earlier table, whole, or the new one, whole, and nothing else is in the
# folder.
# Usage: kill_test.sh TORVANE_CLI_COMMAND... (wine path/to/torvane-cli.exe
# for the Windows build: a killed Wine process is a killed Windows program)
set -uo pipefail
cli=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"
cd "$work" || exit 1
ulimit -c 0  # SIGQUIT's core would be one more file in the folder

awk 'BEGIN { for (i = 0; i < 3000000; i++)
  printf "P%d,%d.%03d,%d.%03d,%d.5\r\n", i, 3000000 + i % 99991, i % 1000, 500000 + i % 77777, (i * 7) % 1000, i % 900 }' >points.csv
printf 'an earlier table\r\n' >earlier
convert=("${cli[@]}" convert --dx=500 --dy=600 --angle=30.1520 points.csv -o table.txt)

start=$(date +%s%N)
"${convert[@]}" || exit 1
run_ns=$(($(date +%s%N) - start))
mv table.txt expected.txt

killed=0
signals=(TERM KILL)
# Ctrl-\ (SIGQUIT) is a POSIX terminal's; Wine takes it as its own.
[ "${cli[0]}" = wine ] || signals+=(QUIT)
for round in $(seq 20); do
  signal=${signals[round % ${#signals[@]}]}
  cp earlier table.txt
  "${convert[@]}" &
  pid=$!
  delay_ns=$((run_ns * (RANDOM % 100) / 100))
  sleep "$(printf '%d.%09d' $((delay_ns / 1000000000)) $((delay_ns % 1000000000)))"
  kill -s "$signal" "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=$?
  [ "$status" -gt 128 ] && killed=$((killed + 1))
  if cmp -s table.txt earlier || cmp -s table.txt expected.txt; then whole=yes; else whole=no; fi
  equal "round $round (SIG$signal, exit $status): the table is whole" yes "$whole"
  equal "round $round (SIG$signal): nothing else in the folder" \
    "earlier expected.txt points.csv table.txt" "$(ls -A | tr '\n' ' ' | sed 's/ $//')"
done
echo "kill_test: $killed of 20 runs were killed before they ended"
summary kill_test
