#!/usr/bin/env bash
# torvane-cli as a user runs it: output checked byte for byte, exit status,
# what goes to standard output and what to standard error.
# Usage: cli_test.sh path/to/torvane-cli path/to/examples
set -u
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# check NAME EXPECTED_STATUS EXPECTED_STDOUT_FILE EXPECTED_STDERR_FILE -- command...
check() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  "$@" >"$work/out" 2>"$work/err" </dev/null
  local got=$?
  if [ "$got" -ne "$status" ]; then
    echo "FAIL $name: exit status $got, expected $status"; cat "$work/err"; failed=$((failed + 1)); return
  fi
  if [ "$out" != "-" ] && ! cmp -s "$work/out" "$out"; then
    echo "FAIL $name: standard output differs"; diff "$out" "$work/out" | head; failed=$((failed + 1)); return
  fi
  if [ "$err" != "-" ] && ! cmp -s "$work/err" "$err"; then
    echo "FAIL $name: standard error differs"; diff "$err" "$work/err" | head; failed=$((failed + 1)); return
  fi
  passed=$((passed + 1))
}
expect() { printf "$1" >"$work/$2"; }  # expect TEXT NAME
: >"$work/empty"

# --- solve ---
expect '1000.000161 2000.000161 45.\n' solve1
check "solve worked example" 0 "$work/solve1" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0
expect '3450. 4300. -90.\n' solve2
check "solve quarter turn" 0 "$work/solve2" "$work/empty" -- \
  "$cli" solve --survey-a=3500,4200 --survey-b=3600,4200 --construction-a=100,50 --construction-b=100,150
expect '999.99 2000. .\n' solve3
expect '偏移量Dx、Dy(过渡坐标)较差>10 mm 请检查两套坐标成果\n' warn
check "solve 10 mm warning on stderr" 0 "$work/solve3" "$work/warn" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0
expect '坐标计算的转化参数为:\n\n   X偏移量为: 1000.000161\n   Y偏移量为: 2000.000161\n   坐标旋转角为:45°00′00.000″\n\n\n转化参数差异量为:\n\n   X偏移量差异为: ±0.000 mm\n   Y偏移量差异为: ±0.000 mm\n   旋转角差异量为:0°00′00.000″\n' report
check "solve --check report" 0 "$work/report" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0 \
  --check=1000.000161,2000.000161,45.
expect 'torvane-cli: --check: X offset, Y offset and rotation must all be non-zero\n' incomplete
check "solve --check incomplete" 2 "$work/empty" "$work/incomplete" -- \
  "$cli" solve --survey-a=1,2 --survey-b=3,4 --construction-a=0,0 --construction-b=1,1 --check=1,0,30
expect 'torvane-cli: --survey-b: "2070.711m" is not a number\n' badpair
check "solve bad coordinate" 2 "$work/empty" "$work/badpair" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711m --construction-a=0,0 --construction-b=100,0
expect 'torvane-cli: --survey-a: expected 2 numbers separated by commas, got "1,2,3"\n' badcount
check "solve wrong count" 2 "$work/empty" "$work/badcount" -- \
  "$cli" solve --survey-a=1,2,3 --survey-b=1,2 --construction-a=0,0 --construction-b=100,0

# --- convert ---
cp "$examples/points.csv" "$work/pts.csv"
check "convert beside the point file" 0 "$work/empty" "$work/empty" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 "$work/pts.csv"
if cmp -s "$work/pts转化后成果表.txt" "$examples/points-construction.txt"; then passed=$((passed + 1)); else
  echo "FAIL convert result file differs"; failed=$((failed + 1)); fi
check "convert to stdout" 0 "$examples/points-construction.txt" "$work/empty" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - "$work/pts.csv"
check "convert stdin to stdout" 0 "$examples/points-construction.txt" "$work/empty" -- \
  sh -c "\"$cli\" convert --dx=' 500 ' --dy=600 --angle=30.1520 - < \"$work/pts.csv\""
printf 'III11, 291.64066, -7.11449, 1215.101\r\n' >"$work/back.csv"
printf 'III11       755.50000         740.80000          1215.1010\r\n' >"$work/back.expected"
check "convert --to=survey" 0 "$work/back.expected" "$work/empty" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 --to=survey -o - "$work/back.csv"
printf 'A,1,2,3\r\nB,1,2,3\r\nC,x,2,3\r\n' >"$work/bad.csv"
expect "$work/bad.csv:3: X field \"x\" is not a number\n" badline
check "convert bad point" 1 "$work/empty" "$work/badline" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - "$work/bad.csv"
check "convert bad point leaves no file" 1 "$work/empty" "$work/badline" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 "$work/bad.csv"
if [ -e "$work/bad转化后成果表.txt" ]; then echo "FAIL a failed run left a result"; failed=$((failed + 1)); else passed=$((passed + 1)); fi
expect "$work/none.csv: cannot open: No such file or directory\n" noopen
check "convert missing file" 1 "$work/empty" "$work/noopen" -- \
  "$cli" convert --dx=1 --dy=1 --angle=1 "$work/none.csv"
expect 'torvane-cli: --dx: "5oo" is not a number\n' baddx
check "convert bad --dx" 2 "$work/empty" "$work/baddx" -- \
  "$cli" convert --dx=5oo --dy=600 --angle=30.1520 "$work/pts.csv"
check "convert zero parameters pass points through" 0 - "$work/empty" -- \
  "$cli" convert --dx=0 --dy=0 --angle=0 -o - "$work/pts.csv"
grep -q '^III11       755.50000         740.80000          1215.1010' "$work/out" && passed=$((passed + 1)) ||
  { echo "FAIL zero parameters"; failed=$((failed + 1)); }

# --- usage ---
check "--help to stdout" 0 - "$work/empty" -- "$cli" --help
grep -q 'Usage: torvane-cli' "$work/out" && passed=$((passed + 1)) || { echo "FAIL --help text"; failed=$((failed + 1)); }
expect 'torvane-cli 0.1.0\n' version
check "--version" 0 "$work/version" "$work/empty" -- "$cli" --version
check "no subcommand" 2 "$work/empty" - -- "$cli"
check "unknown option" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 --angle=1 --bogus x
check "bad --to" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 --angle=1 --to=north x
check "missing --angle" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 x

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
