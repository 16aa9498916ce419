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
two=(--survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0)
expect '1000.000161 2000.000161 45.\n' solve1
check "solve worked example" 0 "$work/solve1" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0
expect '3450. 4300. -90.\n' solve2
check "solve quarter turn" 0 "$work/solve2" "$work/empty" -- \
  "$cli" solve --survey-a=3500,4200 --survey-b=3600,4200 --construction-a=100,50 --construction-b=100,150
expect '999.99 2000. .\n' solve3
expect 'torvane-cli: 偏移量Dx、Dy(过渡坐标)较差>10 mm 请检查两套坐标成果\n' warn
check "solve 10 mm warning on stderr" 0 "$work/solve3" "$work/warn" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0
expect '坐标计算的转化参数为:\n\n   X偏移量为: 1000.000161\n   Y偏移量为: 2000.000161\n   坐标旋转角为:45°00′00.000″\n\n\n转化参数差异量为:\n\n   X偏移量差异为: ±0.000 mm\n   Y偏移量差异为: ±0.000 mm\n   旋转角差异量为:0°00′00.000″\n' report
check "solve --check report" 0 "$work/report" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0 \
  --check=1000.000161,2000.000161,45.

# --- solve --points ---
printf 'A, 1000.000, 2000.000, 0.000, 0.000\r\nB, 1086.605, 2050.003, 100.000, 0.000\r\n\r\nC, 949.998, 2086.602, 0.000, 100.000\r\nD, 1036.601, 2136.606, 100.000, 100.000\r\n' >"$work/cp.csv"
cat >"$work/cp.report" <<'REPORT'
1000.00141 2000.00103 30.00050735

Rigid fit, scale 1, of 4 common points
Rotation: 30°00′05.074″ = 30.0014093056° (turned with pi = 3.1415926535: 30.0014093047°)
Inverse: -1866.057444 -1232.005096 -30.00050735 (the survey grid's origin in construction coordinates, minus the rotation)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
A      -1.410  -1.030   1.746  -1.24  -0.76
B       2.279  -0.160   2.285   1.68  -0.14
C      -1.280  -0.341   1.324  -0.94  -0.30
D       0.410   1.529   1.583   0.36   1.13
RMS 1.770 mm, largest B 2.285 mm
Largest standardized residual B 1.68, within 3

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
A     B   100.0036      100.0000      -3.630  0.999963700
A     C   100.0005      100.0000      -0.532  0.999994680
A     D   141.4243      141.4214      -2.943  0.999979190
B     C   141.4247      141.4214      -3.391  0.999976020
B     D   100.0024      100.0000      -2.398  0.999976020
C     D   100.0024      100.0000      -2.398  0.999976020
(scale: construction / survey distance, for information only)
REPORT
check "solve --points report" 0 "$work/cp.report" "$work/empty" -- "$cli" solve --points="$work/cp.csv"
check "solve --points from stdin" 0 "$work/cp.report" "$work/empty" -- \
  sh -c "\"$cli\" solve --points=- < \"$work/cp.csv\""
check "solve --points within --max-residual" 0 "$work/cp.report" "$work/empty" -- \
  "$cli" solve --points="$work/cp.csv" --max-residual=2.285
expect 'torvane-cli: residuals larger than 2 mm: B 2.285 mm\n' above2
check "solve --points beyond --max-residual" 1 "$work/cp.report" "$work/above2" -- \
  "$cli" solve --points="$work/cp.csv" --max-residual=2
expect 'torvane-cli: residuals larger than 1.5 mm: A 1.746 mm, B 2.285 mm, D 1.583 mm\n' above15
check "solve --points names every point beyond" 1 - "$work/above15" -- \
  "$cli" solve --points="$work/cp.csv" --max-residual=1.5 --format=proj
check "solve --points --exclude" 0 - "$work/empty" -- "$cli" solve --points="$work/cp.csv" --exclude=' B '
grep -q '^Rigid fit, scale 1, of 3 common points (excluded: B)$' "$work/out" &&
  grep -q '^B    .* excluded$' "$work/out" && ! grep -q '^B  *[AC-D] ' "$work/out" &&
  passed=$((passed + 1)) || { echo "FAIL --exclude report"; cat "$work/out"; failed=$((failed + 1)); }
expect "torvane-cli: --exclude: no point named \"Q\" in $work/cp.csv\n" noname
check "solve --points --exclude unknown name" 2 "$work/empty" "$work/noname" -- \
  "$cli" solve --points="$work/cp.csv" --exclude=B,Q
# The same points in other layouts: a header and semicolons, whitespace
# with the construction grid first, quoted names in tabs; each gives the
# same report.
{ printf 'Point;Code;Xs;Ys;Xc;Yc\r\n'; tr -d ' \r' <"$work/cp.csv" | awk -F, 'NF { print $1 ";k;" $2 ";" $3 ";" $4 ";" $5 }'; } >"$work/cp_semi.txt"
tr -d ' \r' <"$work/cp.csv" | awk -F, 'NF { print $4 " " $5 "  " $2 "\t" $3 " " $1 }' >"$work/cp_spaced.txt"
tr -d ' \r' <"$work/cp.csv" | awk -F, 'NF { printf "\"%s\"\t%s\t%s\t%s\t%s\n", $1, $2, $3, $4, $5 }' >"$work/cp_tabs.txt"
while IFS='|' read -r name file options; do
  read -ra options <<<"$options"
  check "solve --points $name" 0 "$work/cp.report" "$work/empty" -- \
    "$cli" solve --points="$work/$file" "${options[@]}"
done <<'ROWS'
--delimiter=semicolon --skip-lines --columns|cp_semi.txt|--delimiter=semicolon --skip-lines=1 --columns=name,-,xs,ys,xc,yc
--delimiter=whitespace --columns|cp_spaced.txt|--delimiter=whitespace --columns=xc,yc,xs,ys,name
--delimiter=tab, quoted names|cp_tabs.txt|--delimiter=tab
ROWS
# Without --skip-lines the header is told as one.
expect "$work/cp_semi.txt:1: line \"Point;Code;Xs;Ys;Xc;Yc\" looks like a header, not a point: no number in X and Y (give --skip-lines=1 to pass over it)\n" cphead
check "solve --points header without --skip-lines" 1 "$work/empty" "$work/cphead" -- \
  "$cli" solve --points="$work/cp_semi.txt" --delimiter=semicolon --columns=name,-,xs,ys,xc,yc
printf 'A, 1000, 2000, 0, 0\nB, 1086.605, 2050.003, 100, 0\nC, 949.998, 2O86.602, 0, 100\n' >"$work/cpbad.csv"
expect "$work/cpbad.csv:3: Ys field \"2O86.602\" is not a number\n" cpbad
check "solve --points bad line" 1 "$work/empty" "$work/cpbad" -- "$cli" solve --points="$work/cpbad.csv"
printf 'A, 1000, 2000, 0, 0\nB, 1086.605, 2050.003\n' >"$work/cpshort.csv"
expect "$work/cpshort.csv:2: line \"B, 1086.605, 2050.003\" has fewer than five fields (name, Xs, Ys, Xc, Yc)\n" cpshort
check "solve --points short line" 1 "$work/empty" "$work/cpshort" -- "$cli" solve --points="$work/cpshort.csv"
printf 'A, 1000, 2000, 0, 0\nB, 1100, 2000, 100, 0\nA, 1000, 2100, 0, 100\n' >"$work/cpdup.csv"
expect "$work/cpdup.csv:3: point name \"A\" is used again (first on line 1)\n" cpdup
check "solve --points name used twice" 1 "$work/empty" "$work/cpdup" -- "$cli" solve --points="$work/cpdup.csv"
printf '\r\nA, 1000, 2000, 0, 0\r\n' >"$work/cpone.csv"
expect "$work/cpone.csv: only one common point: at least two are needed\n" cpone
check "solve --points one point" 1 "$work/empty" "$work/cpone" -- "$cli" solve --points="$work/cpone.csv"
: >"$work/cpnone.csv"
expect "$work/cpnone.csv: no common points: at least two are needed\n" cpnone
check "solve --points empty file" 1 "$work/empty" "$work/cpnone" -- "$cli" solve --points="$work/cpnone.csv"
expect "$work/cp.csv: only one common point: at least two are needed (3 excluded)\n" cpleft
check "solve --points all but one excluded" 1 "$work/empty" "$work/cpleft" -- \
  "$cli" solve --points="$work/cp.csv" --exclude=A,B --exclude=C
printf 'A, 1000, 2000, 0, 0\nB, 1000, 2000, 100, 0\nC, 1000, 2000, 0, 100\n' >"$work/cpsame.csv"
expect "$work/cpsame.csv: all 3 common points are at one place in the survey grid: the rotation cannot be determined\n" cpsame
check "solve --points coincident points" 1 "$work/empty" "$work/cpsame" -- "$cli" solve --points="$work/cpsame.csv"
# Three points at one construction place and D 100 m away: D's Y, whose
# leverage is 1, fits whatever it is, so it has no standardized residual
# (it once read -5.16, "beyond 3"), neither in the table nor in JSON; the
# JSON names the largest as the text does, within 3 too.
printf 'A,1000.001,2000,0,0\nB,1000,2000.002,0,0\nC,999.998,1999.999,0,0\nD,1100.001,2000,100,0\n' >"$work/cplever.csv"
cat >"$work/cplever.report" <<'REPORT'
1000. 2000.000333 -.00006875

Rigid fit, scale 1, of 4 common points
Rotation: -0°00′00.688″ = -0.0001909722° (turned with pi = 3.1415926535: -0.0001909722°)
Inverse: -999.993334 -2000.003666 .00006875 (the survey grid's origin in construction coordinates, minus the rotation)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
A       1.000  -0.333   1.054   0.79  -0.28
B       0.000   1.667   1.667   0.00   1.40
C      -2.000  -1.333   2.404  -1.58  -1.12
D       1.000   0.000   1.000   0.79      -
RMS 1.633 mm, largest C 2.404 mm
Largest standardized residual C 1.58, within 3

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
A     B     0.0022        0.0000      -2.236  0.000000000
A     C     0.0032        0.0000      -3.162  0.000000000
A     D   100.0000      100.0000       0.000  1.000000000
B     C     0.0036        0.0000      -3.606  0.000000000
B     D   100.0010      100.0000      -1.000  0.999990000
C     D   100.0030      100.0000      -3.000  0.999970001
(scale: construction / survey distance, for information only)
REPORT
check "solve --points leverage 1" 0 "$work/cplever.report" "$work/empty" -- "$cli" solve --points="$work/cplever.csv"
check "solve --points leverage 1, JSON" 0 - "$work/empty" -- "$cli" solve --points="$work/cplever.csv" --format=json
grep -q '"name": "D", "line": 4, .*"wx": 0.79, "wy": null}' "$work/out" &&
  grep -q '"largest_standardized": {"name": "C", "w": 1.58, "beyond_3": false}' "$work/out" &&
  passed=$((passed + 1)) || { echo "FAIL leverage 1 in JSON"; cat "$work/out"; failed=$((failed + 1)); }
# Past 50 points only the 20 pairs whose distances disagree most, the most
# first, equal ones in file order: P7, 50 mm off, is in all of them here;
# every other distance agrees.
awk 'BEGIN { for (i = 1; i <= 51; i++) printf "P%d, %.3f, %d, %d, %d\n", i,
  1000 + 10 * i + (i == 7) * 0.05, 2000 + (i * 37) % 500, 10 * i, (i * 37) % 500 }' >"$work/cp51.csv"
cat >"$work/cp51.pairs" <<'PAIRS'
Distances, m, and their difference construction minus survey, mm, of the 20 pairs of 1275 whose distances disagree most:
from  to     survey  construction  difference        scale
P7    P34  269.9519      270.0019      50.000  1.000185217
P7    P48  410.3023      410.3523      49.957  1.000121757
P7    P47  400.4498      400.4997      49.938  1.000124704
P7    P21  141.1028      141.1524      49.592  1.000351458
P7    P35  282.2552      282.3048      49.592  1.000175698
P7    P49  423.4076      423.4572      49.592  1.000117125
P7    P20  131.3317      131.3811      49.474  1.000376712
P7    P33  262.7128      262.7622      49.474  1.000188321
P7    P46  394.0939      394.1434      49.474  1.000125539
P7    P50  439.4747      439.5236      48.916  1.000111307
P7    P45  391.4052      391.4537      48.537  1.000124007
P7    P36  298.9983      299.0468      48.487  1.000162165
P7    P51  458.1921      458.2401      48.010  1.000104780
P7    P32  260.9598      261.0077      47.891  1.000183518
P7    P44  392.4589      392.5061      47.133  1.000120096
P7    P22  159.7185      159.7655      46.943  1.000293910
P7    P37  319.4840      319.5309      46.943  1.000146935
P7    P43  397.2254      397.2707      45.309  1.000114063
P7    P31  264.8018      264.8471      45.308  1.000171103
P7    P19  132.3783      132.4236      45.307  1.000342258
(scale: construction / survey distance, for information only)
PAIRS
check "solve --points past 50 points" 0 - "$work/empty" -- "$cli" solve --points="$work/cp51.csv"
sed -n '/^Distances/,$p' "$work/out" | cmp -s - "$work/cp51.pairs" && passed=$((passed + 1)) ||
  { echo "FAIL past 50 points"; sed -n '/^Distances/,$p' "$work/out"; failed=$((failed + 1)); }
check "solve --points past 50 points, JSON" 0 - "$work/empty" -- \
  "$cli" solve --points="$work/cp51.csv" --format=json
grep -qx '  "pairs_partial": true,' "$work/out" && grep -qx '  "pair_count": 1275' "$work/out" &&
  [ "$(grep -c '"from": "P' "$work/out")" = 20 ] &&
  passed=$((passed + 1)) || { echo "FAIL past 50 points, JSON"; cat "$work/out"; failed=$((failed + 1)); }

# Two points: the texts of the two-point solve, and its warning.
printf 'A, 1000, 2000, 0, 0\nB, 1070.711, 2070.711, 100, 0\n' >"$work/cp2.csv"
check "solve --points two points" 0 - "$work/empty" -- "$cli" solve --points="$work/cp2.csv"
[ "$(head -1 "$work/out")" = "$(cat "$work/solve1")" ] && passed=$((passed + 1)) ||
  { echo "FAIL two points: $(head -1 "$work/out")"; failed=$((failed + 1)); }
printf 'A, 1000, 2000, 0, 0\nB, 1100, 2000, 100.02, 0\n' >"$work/cp2w.csv"
check "solve --points two points warn" 0 - "$work/warn" -- "$cli" solve --points="$work/cp2w.csv"
[ "$(head -1 "$work/out")" = "$(cat "$work/solve3")" ] && passed=$((passed + 1)) ||
  { echo "FAIL two points warn: $(head -1 "$work/out")"; failed=$((failed + 1)); }

# Usage.
check "solve --points with --survey-a" 2 "$work/empty" - -- \
  "$cli" solve --points="$work/cp.csv" --survey-a=1,2
check "solve --points with --check" 2 "$work/empty" - -- \
  "$cli" solve --points="$work/cp.csv" --check=1,1,1
check "solve --max-residual without --points" 2 "$work/empty" - -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 \
  --construction-b=100,0 --max-residual=5
check "solve --format=xml" 2 "$work/empty" - -- "$cli" solve --points="$work/cp.csv" --format=xml

# JSON that a JSON reader takes, names with quotes and backslashes included.
printf 'K"1, 1000, 2000, 0, 0\nK\\2, 1086.605, 2050.003, 100, 0\n控制3, 949.998, 2086.602, 0, 100\n' >"$work/cpjson.csv"
check "solve --points --format=json" 0 - "$work/empty" -- \
  "$cli" solve --points="$work/cpjson.csv" --format=json --exclude=控制3 --max-residual=9
if command -v python3 >/dev/null; then
  if python3 -c '
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert [p["name"] for p in d["points"]] == ["K\"1", "K\\2", "控制3"], d["points"]
assert [p["fitted"] for p in d["points"]] == [True, True, False]
assert d["excluded"] == ["控制3"] and d["fitted"] == 2
assert d["parameters"]["angle"] == sys.argv[2].split()[2]
assert d["pairs"][0]["from"] == "K\"1" and d["pairs"][0]["scale"] > 0.9
assert d["above_max_residual"] == []
' "$work/out" "$("$cli" solve --points="$work/cpjson.csv" --exclude=控制3 | head -1)"; then
    passed=$((passed + 1))
  else
    echo "FAIL json report"; cat "$work/out"; failed=$((failed + 1))
  fi
else
  echo "SKIP json report: python3 is not installed"
fi

# The two-point solve in JSON and as a PROJ pipeline: solve --points's
# members for A and B (no line numbers), the check's differences with their
# sign, and the 10 mm warning still on standard error.
cat >"$work/two.json" <<'JSON'
{
  "parameters": {"x_offset": "1000.000161", "y_offset": "2000.000161", "angle": "45.", "x0_m": 1000.000161, "y0_m": 2000.000161, "theta_radians": 0.785398163375, "angle_dms": "45°00′00.000″", "angle_degrees": 45, "turn_degrees": 44.99999999871381, "proj": "+proj=pipeline +step +proj=helmert +theta=0 +x=-1000.000161 +y=-2000.000161 +step +proj=helmert +theta=161999.99999536973"},
  "inverse": {"x_offset": "-2121.320571", "y_offset": "-707.106781", "angle": "-45."},
  "offsets_disagree": false,
  "points": [
    {"name": "A", "fitted": true, "dx_mm": -0.161, "dy_mm": -0.161, "length_mm": 0.228},
    {"name": "B", "fitted": true, "dx_mm": 0.161, "dy_mm": 0.161, "length_mm": 0.228}
  ],
  "fitted": 2,
  "excluded": [],
  "rms_mm": 0.228,
  "largest": {"name": "A", "length_mm": 0.228},
  "pairs": [
    {"from": "A", "to": "B", "survey_m": 100.0005, "construction_m": 100.0000, "difference_mm": -0.455, "scale": 0.999995448}
  ]
}
JSON
{
  head -n -2 "$work/two.json"
  cat <<'JSON'
  ],
  "check": {"x0_m": 1000.012661, "y0_m": 1999.997161, "angle_dms": "45°30′00.000″", "angle_degrees": 45.5, "x_offset_difference_mm": -12.500, "y_offset_difference_mm": 3.000, "angle_difference_dms": "-0°30′00.000″", "angle_difference_degrees": -0.4999999987138892}
}
JSON
} >"$work/two_check.json"
expect '+proj=pipeline +step +proj=helmert +theta=0 +x=-1000.000161 +y=-2000.000161 +step +proj=helmert +theta=161999.99999536973\n' two.proj
expect '+proj=pipeline +step +proj=helmert +theta=0 +x=-999.99 +y=-2000 +step +proj=helmert +theta=0\n' warn.proj
expect '+proj=pipeline +step +proj=axisswap +order=2,1 +step +proj=helmert +theta=0 +x=-1000.000161 +y=-2000.000161 +step +proj=helmert +theta=161999.99999536973 +step +proj=axisswap +order=2,1\n' two_en.proj
warn2=(--survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0)
while IFS='|' read -r name out err arguments; do
  read -ra arguments <<<"$arguments"
  check "solve two points $name" 0 "$work/$out" "$work/$err" -- "$cli" solve "${arguments[@]}"
done <<ROWS
--format=text|solve1|empty|${two[*]} --format=text
--check --format=text|report|empty|${two[*]} --check=1000.000161,2000.000161,45. --format=text
--format=json|two.json|empty|${two[*]} --format=json
--format=json --check|two_check.json|empty|${two[*]} --format=json --check=1000.012661,1999.997161,45.3
--format=proj|two.proj|empty|${two[*]} --format=proj
--format=proj, 10 mm warning|warn.proj|warn|${warn2[*]} --format=proj
--format=proj --axis=north-east|two.proj|empty|${two[*]} --format=proj --axis=north-east
--format=proj --axis=east-north|two_en.proj|empty|${two[*]} --axis=east-north --format=proj
ROWS
expect '+proj=pipeline +step +proj=axisswap +order=2,1 +step +proj=helmert +theta=0 +x=-3412.592011 +y=-5127.343236 +step +proj=helmert +theta=116075.85539668244 +step +proj=axisswap +order=2,1\n' control_en.proj
check "solve --points --format=proj --axis=east-north" 0 "$work/control_en.proj" "$work/empty" -- \
  "$cli" solve --points="$examples/control-points.csv" --format=proj --axis=east-north
# Either form gives the same for the same two points, but for the lines.
for row in "cp2.csv|${two[*]}" "cp2w.csv|${warn2[*]}"; do
  IFS='|' read -r file arguments <<<"$row"
  read -ra arguments <<<"$arguments"
  for format in json proj; do
    "$cli" solve --points="$work/$file" --format=$format 2>/dev/null |
      sed 's/"line": [0-9]*, //' >"$work/same.$format"
    check "solve two points as --points=$file, --format=$format" 0 "$work/same.$format" - -- \
      "$cli" solve "${arguments[@]}" --format=$format
  done
done
check "solve --points of two points, 10 mm warning on stderr" 0 - "$work/warn" -- \
  "$cli" solve --points="$work/cp2w.csv" --format=proj
grep -qx '  "offsets_disagree": true,' "$work/same.json" && passed=$((passed + 1)) ||
  { echo "FAIL two points JSON: no 10 mm warning"; cat "$work/same.json"; failed=$((failed + 1)); }
# Control bytes of a name as JSON escapes.
printf 'K\x01, 1000, 2000, 0, 0\nK\x1f, 1086.605, 2050.003, 100, 0\n' >"$work/cpctl.csv"
check "solve --points --format=json control bytes" 0 - "$work/empty" -- \
  "$cli" solve --points="$work/cpctl.csv" --format=json
grep -qF '{"name": "K\u0001", "line": 1,' "$work/out" && grep -qF '{"name": "K\u001f", "line": 2,' "$work/out" &&
  passed=$((passed + 1)) || { echo "FAIL JSON control bytes"; cat "$work/out"; failed=$((failed + 1)); }

# The PROJ pipeline reproduces torvane-cli convert in cct, both ways, to 5
# decimals, from either form of solve; with --axis=east-north, for points
# given east first and read back east first.
if command -v cct >/dev/null; then
  norm() { awk '{ printf "%s %.5f %.5f %.4f\n", $1, $2, $3, $4 }' | sed 's/-0\.00000/0.00000/g'; }
  while IFS='|' read -r points arguments; do
    read -ra arguments <<<"$arguments"
    params=$("$cli" solve "${arguments[@]}" | head -1)
    set -- $params
    tr -d '\r ' <"$points" | awk -F, 'NF { print $1 "," $2 "," $3 ",7.5" }' >"$work/conv_s.csv"
    tr -d '\r ' <"$points" | awk -F, 'NF { print $1 "," $4 "," $5 ",7.5" }' >"$work/conv_c.csv"
    "$cli" convert --dx="$1" --dy="$2" --angle="$3" -o - "$work/conv_s.csv" | norm >"$work/tv_fwd"
    "$cli" convert --dx="$1" --dy="$2" --angle="$3" --to=survey -o - "$work/conv_c.csv" | norm >"$work/tv_inv"
    for axis in north-east east-north; do
      en=$([ $axis = east-north ] && echo 1 || echo 0)
      pipeline=$("$cli" solve "${arguments[@]}" --format=proj --axis=$axis)
      tr -d '\r ' <"$points" | awk -F, -v en=$en 'NF { print en ? $3 : $2, en ? $2 : $3, 7.5, $1 }' >"$work/cct_s.txt"
      tr -d '\r ' <"$points" | awk -F, -v en=$en 'NF { print en ? $5 : $4, en ? $4 : $5, 7.5, $1 }' >"$work/cct_c.txt"
      back() { awk -v en=$en '{ print $5, en ? $2 : $1, en ? $1 : $2, $3 }' | norm; }
      cct -d 5 -t 0 $pipeline "$work/cct_s.txt" | back >"$work/cct_fwd"
      cct -I -d 5 -t 0 $pipeline "$work/cct_c.txt" | back >"$work/cct_inv"
      if [ -s "$work/cct_fwd" ] && cmp -s "$work/cct_fwd" "$work/tv_fwd" && cmp -s "$work/cct_inv" "$work/tv_inv"; then
        passed=$((passed + 1))
      else
        echo "FAIL cct disagrees with convert for $points, $axis: $pipeline"
        diff "$work/cct_fwd" "$work/tv_fwd"; diff "$work/cct_inv" "$work/tv_inv"; failed=$((failed + 1))
      fi
    done
  done <<ROWS
$work/cp.csv|--points=$work/cp.csv
$examples/control-points.csv|--points=$examples/control-points.csv
$work/cp2.csv|${two[*]}
ROWS
else
  echo "SKIP PROJ pipeline against cct: cct is not installed (Debian package proj-bin)"
fi

# --- convert ---
expect 'torvane-cli 0.1.0\n' version
cp "$examples/points-construction.txt" "$work/ex.txt"
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
# X and H whose 15-digit texts end in 5 just past the shown digits, the
# doubles below them: rounded up and carried as a spreadsheet's ROUND shows
# them (1199275.457405 -> 1199275.45741, 9999.99995 -> 10000.0000).
printf 'P           1199275.45741     .00005             10000.0000\r\n' >"$work/tie.expected"
check "convert rounds the 15-digit text" 0 "$work/tie.expected" "$work/empty" -- \
  sh -c "printf 'P,1,1199275.957405,9999.99995\r\n' | \"\$0\" convert --dx=1 --dy=0.5 --angle=90 -" "$cli"
# UTF-8 names take their display columns: two for a Wide or Fullwidth
# character (点, Ａ, 😀), one for any other (é, Ж, the half-width ｶ).
printf '%s, 755.500, 740.800, 1215.101\r\n' Gré Ж1 点Ａ ｶ😀 >"$work/names.csv"
printf '%s 291.64066         -7.11449           1215.1010\r\n' 'Gré        ' 'Ж1         ' '点Ａ       ' 'ｶ😀        ' >"$work/names.expected"
check "convert UTF-8 names line up" 0 "$work/names.expected" "$work/empty" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - "$work/names.csv"
printf 'A,1,2,3\r\nB,1,2,3\r\nC,x,2,3\r\n' >"$work/bad.csv"
expect "$work/bad.csv:3: X field \"x\" is not a number\n" badline
check "convert bad point leaves no file" 1 "$work/empty" "$work/badline" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 "$work/bad.csv"
if [ -e "$work/bad转化后成果表.txt" ]; then echo "FAIL a failed run left a result"; failed=$((failed + 1)); else passed=$((passed + 1)); fi
# A point file that cannot be converted: exit status 1, the message exact,
# control bytes of the file's text and of its name shown escaped.
printf 'A\x1b]0;t\x07控制,1\r\n' >"$work/ctl.csv"
# 点名,X坐标,Y坐标,H in GBK, as a spreadsheet on Chinese Windows saves it:
# the message in UTF-8, not the file's GBK bytes.
printf '\xB5\xE3\xC3\xFB,X\xD7\xF8\xB1\xEA,Y\xD7\xF8\xB1\xEA,H\r\nA,755.5,740.8,1\r\n' >"$work/gbkhead.csv"
printf 'PK\x03\x04\x14\x00\x06\x00\x08\x00\x00\x00!\x00' >"$work/pts.xlsx"
printf '\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00\x00' >"$work/pts.xls"
printf '\xEF\xBB\xBF点1,755.5,740.8\r\n\xB5\xE3,755.5,740.8\r\n' >"$work/bomgbk.csv"
while IFS='|' read -r name file message; do
  printf '%s\n' "$message" >"$work/file_err"
  check "convert $name" 1 "$work/empty" "$work/file_err" -- \
    "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - "$file"
done <<ROWS
bad point|$work/bad.csv|$work/bad.csv:3: X field "x" is not a number
missing file|$work/none.csv|$work/none.csv: cannot open: No such file or directory
control bytes in a line|$work/ctl.csv|$work/ctl.csv:1: line "A\x1b]0;t\x07控制,1" has fewer than three fields (name, X, Y)
control bytes in a name|$work/e$(printf '\x1b')[1m.csv|$work/e\x1b[1m.csv: cannot open: No such file or directory
a header, in GBK|$work/gbkhead.csv|$work/gbkhead.csv:1: line "点名,X坐标,Y坐标,H" looks like a header, not a point: no number in X and Y (give --skip-lines=1 to pass over it)
an .xlsx workbook|$work/pts.xlsx|$work/pts.xlsx: this is a spreadsheet workbook: save it as CSV (逗号分隔)
an .xls workbook|$work/pts.xls|$work/pts.xls: this is a spreadsheet workbook: save it as CSV (逗号分隔)
a GBK line after a UTF-8 BOM|$work/bomgbk.csv|$work/bomgbk.csv:2: line is not UTF-8 text, but the file starts with a UTF-8 byte order mark
ROWS

# Angles whose minutes or seconds are 60 or more, as when decimal degrees are
# typed: read with the carry, as the window reads them, and a warning says
# how. Each gives the table of the angle it is read as.
while IFS='|' read -r angle read_as message; do
  "$cli" convert --dx=500 --dy=600 --angle="$read_as" -o - "$work/pts.csv" >"$work/read_as"
  printf '%s' "$message" >"$work/warning"
  [ -n "$message" ] && printf 'torvane-cli: %s; ddd.mmss was expected\n' "$message" >"$work/warning"
  check "convert --angle=$angle" 0 "$work/read_as" "$work/warning" -- \
    "$cli" convert --dx=500 --dy=600 --angle="$angle" -o - "$work/pts.csv"
done <<'ROWS'
30.6|31|angle 30.6000 has 60 minutes: read as 31°00′00″
30.1575|30.1615|angle 30.1575 has 75 seconds: read as 30°16′15″
30.7575|31.1615|angle 30.7575 has 75 minutes and 75 seconds: read as 31°16′15″
30.157512|30.161512|angle 30.157512 has 75.12 seconds: read as 30°16′15.12″
-30.6|-31|angle -30.6000 has 60 minutes: read as -31°00′00″
30.1520|30.1520|
ROWS
expect 'torvane-cli: angle 44.6000 has 60 minutes: read as 45°00′00″; ddd.mmss was expected\n' warn_check
check "solve --check angle with 60 minutes" 0 "$work/report" "$work/warn_check" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 --construction-a=0,0 --construction-b=100,0 \
  --check=1000.000161,2000.000161,44.6
check "convert zero parameters pass points through" 0 - "$work/empty" -- \
  "$cli" convert --dx=0 --dy=0 --angle=0 -o - "$work/pts.csv"
grep -q '^III11       755.50000         740.80000          1215.1010' "$work/out" && passed=$((passed + 1)) ||
  { echo "FAIL zero parameters"; failed=$((failed + 1)); }
# What solve prints goes back into convert as it is, "." for zero included.
read -r sx sy sangle <"$work/solve3"
check "convert takes solve's texts" 0 - "$work/empty" -- \
  "$cli" convert --dx="$sx" --dy="$sy" --angle="$sangle" -o - "$work/pts.csv"
grep -q '^III11       -244.49000        -1259.20000        1215.1010' "$work/out" && passed=$((passed + 1)) ||
  { echo "FAIL solve's texts: $(head -1 "$work/out")"; failed=$((failed + 1)); }

# --- convert: standard streams, several files, formats, layouts ---
p=(--dx=500 --dy=600 --angle=30.1520)
plain() { tr -d ' \r' <"$work/pts.csv"; }  # III11,755.500,740.800,1215.101
printf 'III11,291.64066,-7.11449,1215.101\r\nIII12,317.73347,25.70951,1211.210\r\nIII13,241.81976,-81.60899,1215.471\r\nIII14,244.59639,39.25532,1270.221\r\n' >"$work/pts.out.csv"
printf 'III11,291.64,-7.11,1215.101\r\nIII12,317.73,25.71,1211.210\r\nIII13,241.82,-81.61,1215.471\r\nIII14,244.60,39.26,1270.221\r\n' >"$work/pts.out2.csv"
printf 'III11,7,-7.11449,291.64066,1215.101\r\nIII12,7,25.70951,317.73347,1211.210\r\nIII13,7,-81.60899,241.81976,1215.471\r\nIII14,7,39.25532,244.59639,1270.221\r\n' >"$work/cass.out.csv"
cat >"$work/pts.out.json" <<'JSON'
[
  {"name": "III11", "x": 291.64066, "y": -7.11449, "h": 1215.101},
  {"name": "III12", "x": 317.73347, "y": 25.70951, "h": 1211.21},
  {"name": "III13", "x": 241.81976, "y": -81.60899, "h": 1215.471},
  {"name": "III14", "x": 244.59639, "y": 39.25532, "h": 1270.221}
]
JSON
# The example's points in other layouts: each reads as the example does.
plain | awk -F, '{ print $1 ",7," $3 "," $2 "," $4 }' >"$work/cass.dat"  # South CASS: name, code, Y, X, H
plain | awk -F, '{ printf "  %s   %s\t %s %s \r\n", $1, $2, $3, $4 }' >"$work/spaced.txt"
{ printf 'Point;X;Y;H\r\n'; plain | tr , ';'; } >"$work/header.txt"
plain | awk -F, '{ printf "%s\t%s\t%s\t%s\n", $2, $3, $1, $4 }' >"$work/tabs.txt"
plain | awk -F, '{ print $1 ",junk," $2 "," $3 "," $4 }' >"$work/junk.csv"
# GBK's 施1 is valid UTF-8 too (ʩ1): a GBK name is one column a byte, a
# UTF-8 one takes its characters' columns.
printf '\xCA\xA91,755.5,740.8,1\r\n' >"$work/both.csv"
printf '\xCA\xA91         291.64066         -7.11449           1.0000\r\n' >"$work/both.gbk.txt"
printf '\xCA\xA91          291.64066         -7.11449           1.0000\r\n' >"$work/both.utf8.txt"
printf '"P ""7"", east", "755.5" ,740.8,1\r\n"A;B",755.5,740.8,"1,5"\r\n' >"$work/quoted.csv"
printf '"P ""7"", east",291.6,-7.1,1\r\nA;B,291.6,-7.1,"1,5"\r\n' >"$work/quoted.out.csv"
plain | awk -F, '{ printf "%s,%se0,%se2,%s\n", $1, $2, $3 / 100, $4 }' >"$work/exp.csv"
# Each row: options, the file read from standard input, the expected output.
while IFS='|' read -r name options input expected; do
  read -ra options <<<"$options"
  check "convert $name" 0 "$work/$expected" "$work/empty" -- \
    sh -c 'input=$1; shift; "$0" convert "$@" < "$input"' "$cli" "$work/$input" "${p[@]}" "${options[@]}"
done <<'ROWS'
filter, no point file||pts.csv|ex.txt
--format=table|--format=table|pts.csv|ex.txt
--format=csv|--format=csv|pts.csv|pts.out.csv
--format=csv --decimals=2|--format=csv --decimals=2|pts.csv|pts.out2.csv
--format=json|--format=json|pts.csv|pts.out.json
--columns for South CASS|--columns=name,code,y,x,h|cass.dat|ex.txt
--columns to CSV keeps the code|--columns=NAME,Code,Y,X,H --format=csv|cass.dat|cass.out.csv
--columns skip a field|--columns=name,skip,x,y,h|junk.csv|ex.txt
--columns dash for a field|--columns=name,-,x,y,h|junk.csv|ex.txt
--delimiter=whitespace|--delimiter=whitespace|spaced.txt|ex.txt
--delimiter=semicolon --skip-lines|--delimiter=semicolon --skip-lines=1|header.txt|ex.txt
--delimiter=tab|--delimiter=tab --columns=x,y,name,h|tabs.txt|ex.txt
valid in both encodings: GBK's 施1, not ʩ1||both.csv|both.gbk.txt
--encoding=gbk|--encoding=gbk|both.csv|both.gbk.txt
--encoding=utf-8|--encoding=utf-8|both.csv|both.utf8.txt
quoted names and X|--format=csv --decimals=1|quoted.csv|quoted.out.csv
ROWS

# The round trip through CSV: back to the survey grid, to the printed digits.
check "convert --format=csv, back with --to=survey" 0 - "$work/empty" -- \
  sh -c 'input=$1; shift; "$0" convert "$@" --format=csv < "$input" |
    "$0" convert "$@" --to=survey --format=csv --decimals=3' \
  "$cli" "$work/pts.csv" "${p[@]}"
plain | sed 's/$/\r/' | cmp -s - "$work/out" && passed=$((passed + 1)) ||
  { echo "FAIL CSV round trip"; cat "$work/out"; failed=$((failed + 1)); }

# Names with quotes, commas and semicolons: written, read back and written
# again, as they were (quoted names grew a layer of quotes every pass).
printf '"A""B",755.5,740.8,1\r\n"C,D",755.5,740.8,2\r\nE;F,755.5,740.8,3\r\n"""",755.5,740.8,4\r\n' >"$work/names_q.csv"
check "convert --format=csv quoted names, there and back" 0 "$work/names_q.csv" "$work/empty" -- \
  sh -c 'input=$1; shift; "$0" convert "$@" --format=csv < "$input" |
    "$0" convert "$@" --to=survey --format=csv --decimals=1' \
  "$cli" "$work/names_q.csv" "${p[@]}"
# Numbers with an exponent, in the options and in the file, are read.
check "convert exponents in the options and the file" 0 "$work/ex.txt" "$work/empty" -- \
  "$cli" convert --dx=5e2 --dy=6E+2 --angle=30.1520 -o - "$work/exp.csv"
# --skip-lines past the end of the file, -o into a folder that is missing.
expect "$work/pts.csv: no points: the file has 4 lines, and --skip-lines=9 skips them all\n" skipall
check "convert --skip-lines past the end" 1 "$work/empty" "$work/skipall" -- \
  "$cli" convert "${p[@]}" --skip-lines=9 -o - "$work/pts.csv"
expect "torvane-cli: -o: the folder \"$work/nowhere/\" does not exist\n" nofolder
check "convert -o DIR/ missing" 1 "$work/empty" "$work/nofolder" -- \
  "$cli" convert "${p[@]}" -o "$work/nowhere/" "$work/pts.csv"

# Several point files: each table beside its file, or in the folder -o names.
mkdir -p "$work/many" "$work/into" "$work/out-dir"
cp "$work/pts.csv" "$work/many/a.csv"
cp "$work/pts.csv" "$work/many/b.csv"
check "convert two files" 0 "$work/empty" "$work/empty" -- "$cli" convert "${p[@]}" "$work/many/a.csv" "$work/many/b.csv"
check "convert two files into DIR/ as CSV" 0 "$work/empty" "$work/empty" -- \
  "$cli" convert "${p[@]}" --format=csv -o "$work/out-dir/" "$work/many/a.csv" "$work/many/b.csv"
check "convert into an existing folder as JSON" 0 "$work/empty" "$work/empty" -- \
  "$cli" convert "${p[@]}" --format=json -o "$work/into" "$work/many/a.csv"
while IFS='|' read -r result expected; do
  cmp -s "$work/$result" "$work/$expected" && passed=$((passed + 1)) ||
    { echo "FAIL result $result"; failed=$((failed + 1)); }
done <<'ROWS'
many/a转化后成果表.txt|ex.txt
many/b转化后成果表.txt|ex.txt
out-dir/a转化后成果表.csv|pts.out.csv
out-dir/b转化后成果表.csv|pts.out.csv
into/a转化后成果表.json|pts.out.json
ROWS
[ "$(ls "$work/out-dir" "$work/into" | tr '\n' ' ')" = "$work/into: a转化后成果表.json  $work/out-dir: a转化后成果表.csv b转化后成果表.csv " ] &&
  passed=$((passed + 1)) || { echo "FAIL other files in the folders"; ls "$work/out-dir" "$work/into"; failed=$((failed + 1)); }
# One file that fails: the others are converted, its earlier table stays.
printf 'earlier\r\n' >"$work/many/bad转化后成果表.txt"
cp "$work/bad.csv" "$work/many/bad.csv"
rm "$work/many/a转化后成果表.txt" "$work/many/b转化后成果表.txt"
printf '%s\n' "$work/many/bad.csv:3: X field \"x\" is not a number" "$work/many/none.csv: cannot open: No such file or directory" >"$work/many_err"
check "convert a bad file among good ones" 1 "$work/empty" "$work/many_err" -- \
  "$cli" convert "${p[@]}" "$work/many/a.csv" "$work/many/bad.csv" "$work/many/none.csv" "$work/many/b.csv"
[ "$(cat "$work/many/bad转化后成果表.txt")" = $'earlier\r' ] && cmp -s "$work/many/a转化后成果表.txt" "$examples/points-construction.txt" &&
  cmp -s "$work/many/b转化后成果表.txt" "$examples/points-construction.txt" && passed=$((passed + 1)) ||
  { echo "FAIL a bad file among good ones"; ls "$work/many"; failed=$((failed + 1)); }

# Help and version of the program and of each command: lines of at most 80
# columns, examples, the exit status last.
for command in "" convert solve; do
  check "${command:-torvane-cli} --version" 0 "$work/version" "$work/empty" -- "$cli" $command --version
  check "${command:-torvane-cli} --help" 0 - "$work/empty" -- "$cli" $command --help
  [ "$(LC_ALL=C.UTF-8 wc -L <"$work/out")" -le 80 ] && grep -q '^Examples:$' "$work/out" &&
    grep -q "^  torvane-cli ${command:-convert} " "$work/out" && grep -q '^Exit status: 0 success; 1 ' "$work/out" &&
    passed=$((passed + 1)) || { echo "FAIL ${command:-torvane-cli} --help text"; cat "$work/out"; failed=$((failed + 1)); }
done

# --- usage ---
check "--help to stdout" 0 - "$work/empty" -- "$cli" --help
grep -q 'Usage: torvane-cli' "$work/out" && passed=$((passed + 1)) || { echo "FAIL --help text"; failed=$((failed + 1)); }
check "--version" 0 "$work/version" "$work/empty" -- "$cli" --version
check "no subcommand" 2 "$work/empty" - -- "$cli"
check "unknown option" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 --angle=1 --bogus x
check "bad --to" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 --angle=1 --to=north x
check "missing --angle" 2 "$work/empty" - -- "$cli" convert --dx=1 --dy=1 x

# Standard output closed, or on a full disk: every command that writes there
# fails with exit status 1 and says so; one that does not write there runs.
closed() { "$@" >&-; }
full() { "$@" >/dev/full; }
expect 'standard output: cannot write: standard output is closed\n' out_closed
expect 'standard output: cannot write: No space left on device\n' out_full
while IFS='|' read -r name arguments; do
  read -ra arguments <<<"$arguments"
  for how in closed full; do
    check "$name, standard output $how" 1 "$work/empty" "$work/out_$how" -- \
      $how "$cli" "${arguments[@]}"
  done
done <<ROWS
solve|solve ${two[*]}
solve --check|solve ${two[*]} --check=1000.000161,2000.000161,45.
solve --points|solve --points=$work/cp.csv
solve --points --format=json|solve --points=$work/cp.csv --format=json
solve --points --format=proj|solve --points=$work/cp.csv --format=proj
solve --format=json|solve ${two[*]} --format=json
solve --format=proj|solve ${two[*]} --format=proj
convert -o -|convert --dx=500 --dy=600 --angle=30.1520 -o - $work/pts.csv
--help|--help
--version|--version
ROWS
expect 'torvane-cli: residuals larger than 2 mm: B 2.285 mm\nstandard output: cannot write: No space left on device\n' above_full
check "solve --points beyond --max-residual, standard output full" 1 "$work/empty" "$work/above_full" -- \
  full "$cli" solve --points="$work/cp.csv" --max-residual=2
check "convert to a file, standard output closed" 0 "$work/empty" "$work/empty" -- \
  closed "$cli" convert --dx=500 --dy=600 --angle=30.1520 -o "$work/closed.txt" "$work/pts.csv"
cmp -s "$work/closed.txt" "$examples/points-construction.txt" && passed=$((passed + 1)) ||
  { echo "FAIL convert to a file, standard output closed: table differs"; failed=$((failed + 1)); }

# Usage errors: exit status 2, nothing on standard output, and a message
# that names the option at fault, control bytes of what was typed escaped.
usage() {  # usage NAME MESSAGE ARGUMENTS...
  local name=$1
  printf 'torvane-cli: %s\n' "$2" >"$work/usage_err"
  shift 2
  check "$name" 2 "$work/empty" "$work/usage_err" -- "$cli" "$@"
}
convert=(convert --dx=500 --dy=600)
help=$'\nRun with --help for more information.'
usage "solve --check incomplete" '--check: X offset, Y offset and rotation must all be non-zero' \
  solve --survey-a=1,2 --survey-b=3,4 --construction-a=0,0 --construction-b=1,1 --check=1,0,30
usage "solve --check angle too large" \
  '--check: angle 10000000000° has more whole degrees than 2147483647' solve "${two[@]}" --check=1,2,1e10
usage "convert --angle too large" '--angle: angle 10000000000° has more whole degrees than 2147483647' \
  "${convert[@]}" --angle=1e10 "$work/pts.csv"
usage "solve --check with --format=proj" "--check excludes --format=proj$help" \
  solve "${two[@]}" --check=1000.000161,2000.000161,45. --format=proj
usage "solve --axis without --format=proj" "--axis requires --format=proj$help" \
  solve --points="$work/cp.csv" --format=json --axis=east-north
usage "solve two points --axis without --format" "--axis requires --format=proj$help" \
  solve "${two[@]}" --axis=north-east
usage "solve empty --check" '--check: "" is not a number' solve "${two[@]}" --check=
usage "solve bad coordinate" '--survey-b: "2070.711m" is not a number' \
  solve --survey-a=1000,2000 --survey-b=1070.711,2070.711m --construction-a=0,0 --construction-b=100,0
expect 'torvane-cli: A and B are both at 1050,2000 in the survey grid: the rotation cannot be determined\n' samepoint
check "solve A and B at one place" 1 "$work/empty" "$work/samepoint" -- \
  "$cli" solve --survey-a=1050,2000 --survey-b=1050,2000 --construction-a=0,0 --construction-b=100,0
usage "solve wrong count" '--survey-a: expected 2 numbers separated by commas, got "1,2,3"' \
  solve --survey-a=1,2,3 --survey-b=1,2 --construction-a=0,0 --construction-b=100,0
usage "solve without --points needs the points" "--survey-a is required$help" \
  solve --survey-b=1,2 --construction-a=0,0 --construction-b=1,1
usage "solve empty --points" '--points: the file name is empty' solve --points= --format=json
usage "solve --points --exclude empty name" '--exclude: "A,,B" has an empty name' \
  solve --points="$work/cp.csv" --exclude=A,,B
usage "solve --max-residual negative" '--max-residual: "-1" is negative' \
  solve --points="$work/cp.csv" --max-residual=-1
usage "convert bad --dx" '--dx: "5oo" is not a number' \
  convert --dx=5oo --dy=600 --angle=30.1520 "$work/pts.csv"
usage "convert empty --dx" '--dx: "" is not a number' convert --dx= --dy=600 --angle=1 "$work/pts.csv"
usage "convert empty --angle" '--angle: "" is not a number' "${convert[@]}" --angle= "$work/pts.csv"
usage "convert empty -o" '-o: the file name is empty' "${convert[@]}" --angle=1 -o '' "$work/pts.csv"
usage "convert empty point file name" 'POINTFILE: the file name is empty' "${convert[@]}" --angle=1 ''
usage "control bytes in an option value" '--dx: "\x1b[31m5" is not a number' \
  convert --dx=$'\e[31m5' --dy=600 --angle=1 "$work/pts.csv"
usage "control bytes in CLI11's message" "--to: \\x1b[2J not in {construction,survey}$help" \
  "${convert[@]}" --angle=1 --to=$'\e[2J' "$work/pts.csv"

# Point files whose results would meet: a CASS .dat beside its .csv, one
# folder by two names, a point file that is another's result.
mkdir "$work/clash"
ln -s clash "$work/clash-link"
printf 'A,1000.5,2000.25,10\r\n' >"$work/clash/pts.csv"
printf 'Z,1,2,3\r\n' >"$work/clash/pts.dat"
printf 'A,1000.5,2000.25,10\r\n' >"$work/clash/p.csv"
printf 'B,1000.5,2000.25,10\r\n' >"$work/clash/p转化后成果表.csv"
while IFS='|' read -r name message arguments; do
  read -ra arguments <<<"$arguments"
  usage "convert $name" "${message//\$help/$help}" "${convert[@]}" --angle=1 "${arguments[@]}"
done <<ROWS
-o FILE with several point files|-o: one result file for 2 point files: name a folder (ending in /) or leave -o out|-o $work/one.txt $work/pts.csv $work/pts.csv
-o DIR/ and two point files of one name|-o: $work/pts.csv and $work/many/pts.csv would both be written to $work/into/pts转化后成果表.txt|-o $work/into/ $work/pts.csv $work/many/pts.csv
.csv and .dat beside each other|$work/clash/pts.csv and $work/clash/pts.dat would both be written to $work/clash/pts转化后成果表.txt|$work/clash/pts.csv $work/clash/pts.dat
one folder by two names|$work/clash/pts.csv and $work/clash-link/pts.dat would both be written to $work/clash-link/pts转化后成果表.txt|$work/clash/pts.csv $work/clash-link/pts.dat
one folder, . in one name|$work/clash/pts.dat and $work/clash/./pts.csv would both be written to $work/clash/./pts转化后成果表.txt|$work/clash/pts.dat $work/clash/./pts.csv
a later point file that is a result|$work/clash/p.csv: the result would replace the point file $work/clash/p转化后成果表.csv|--format=csv $work/clash/p.csv $work/clash/p转化后成果表.csv
an earlier point file that is a result|$work/clash/p.csv: the result would replace the point file $work/clash-link/p转化后成果表.csv|--format=csv $work/clash-link/p转化后成果表.csv $work/clash/p.csv
-o DIR/ and a point file that is a result there|$work/pts.csv: the result would replace the point file $work/clash/pts转化后成果表.txt|-o $work/clash-link/ $work/pts.csv $work/clash/pts转化后成果表.txt
-o DIR/ with standard input|-o: a folder has no result name for standard input: give -o FILE or -o -|-o $work/into/
--decimals with the table|--decimals: only for --format=csv or --format=json|--decimals=3 $work/pts.csv
--decimals beyond 12|--decimals: "13" is not a whole number from 0 to 12|--format=csv --decimals=13 $work/pts.csv
--decimals negative|--decimals: "-1" is not a whole number from 0 to 12|--format=json --decimals=-1 $work/pts.csv
--skip-lines not a number|--skip-lines: "2x" is not a whole number|--skip-lines=2x $work/pts.csv
--columns without y|--columns: "name,x,h" has no y|--columns=name,x,h $work/pts.csv
--columns unknown item|--columns: "name,x,y,z": "z" is not one of name, code, x, y, h, - or skip|--columns=name,x,y,z $work/pts.csv
--columns empty|--columns: "" has an empty item|--columns= $work/pts.csv
--format unknown|--format: xml not in {table,csv,json}\$help|--format=xml $work/pts.csv
--delimiter unknown|--delimiter: pipe not in {comma,whitespace,tab,semicolon}\$help|--delimiter=pipe $work/pts.csv
--encoding unknown|--encoding: latin1 not in {utf-8,gbk}\$help|--encoding=latin1 $work/pts.csv
ROWS
[ "$(LC_ALL=C ls -A "$work/clash" | tr '\n' ' ')" = "p.csv pts.csv pts.dat p转化后成果表.csv " ] && passed=$((passed + 1)) ||
  { echo "FAIL results that would meet: files written"; ls -A "$work/clash"; failed=$((failed + 1)); }
# One point file by two names is converted once for each: its results are alike.
check "convert one point file by two names into DIR/" 0 "$work/empty" "$work/empty" -- \
  "$cli" convert "${p[@]}" -o "$work/clash/" "$work/pts.csv" "$work/clash/../pts.csv"
cmp -s "$work/clash/pts转化后成果表.txt" "$examples/points-construction.txt" && passed=$((passed + 1)) ||
  { echo "FAIL one point file by two names: table differs"; failed=$((failed + 1)); }
usage "solve --points --skip-lines not a number" '--skip-lines: "x" is not a whole number' \
  solve --points="$work/cp.csv" --skip-lines=x
usage "solve --points --columns without yc" '--columns: "name,xs,ys,xc" has no yc' \
  solve --points="$work/cp.csv" --columns=name,xs,ys,xc
usage "solve --columns without --points" "--columns requires --points$help" \
  solve --survey-a=1,2 --survey-b=3,4 --construction-a=0,0 --construction-b=1,1 --columns=name,xs,ys,xc,yc

# --- the four-parameter conversion ---
# A site whose scale is real (about 80 ppm) and one whose scale is noise.
cat >"$work/scaled.report" <<'REPORT'
3412586.215067 501127.349498 28.24003519 1.000078782

Similarity fit, four parameters, of 8 common points
Rotation: 28°24′00.352″ = 28.4000977500° (turned with pi = 3.1415926535: 28.4000977492°)
Scale: 1.000078782 = 78.782 ppm, standard error 3.222 ppm
Inverse: -3239967.62427 1182205.052861 -28.24003519 0.999921224 (the survey grid's origin in construction coordinates, minus the rotation, one over the scale)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
G1     -0.067   3.502   3.503  -0.04   2.24
G2      1.767  -0.034   1.767   1.17  -0.02
G3      1.353  -0.323   1.391   0.90  -0.21
G4      0.519  -0.787   0.943   0.33  -0.51
G5     -1.857  -2.910   3.452  -1.06  -1.66
G6     -2.932  -0.568   2.986  -1.73  -0.34
G7      0.725   1.458   1.628   0.43   0.87
G8      0.491  -0.336   0.595   0.29  -0.20
RMS 2.293 mm, largest G1 3.503 mm
Largest standardized residual G1 2.24, within 3

Against the rigid fit, scale 1, on the same points: RMS 16.345 mm rigid
F = 597.83, F(1, 12) at 95 %: 4.747: the scale is significant

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
G1    G2  420.0330      420.0000     -33.020  0.999921387
G1    G3  522.0536      522.0153     -38.267  0.999926698
G1    G4  310.0204      310.0000     -20.371  0.999934292
G1    G5  261.0217      261.0077     -13.998  0.999946373
G1    G6  280.4199      280.4015     -18.366  0.999934506
G1    G7  337.3684      337.3426     -25.856  0.999923360
G1    G8  134.1708      134.1641      -6.716  0.999949948
G2    G3  310.0244      310.0000     -24.365  0.999921409
G2    G4  522.0576      522.0153     -42.256  0.999919059
G2    G5  261.0314      261.0077     -23.749  0.999909017
G2    G6  408.4788      408.4422     -36.685  0.999910192
G2    G7  114.0278      114.0175     -10.256  0.999910060
G2    G8  379.5045      379.4733     -31.205  0.999917775
G3    G4  420.0340      420.0000     -34.043  0.999918952
G3    G5  261.0319      261.0077     -24.270  0.999907024
G3    G6  318.9722      318.9436     -28.679  0.999910090
G3    G7  256.3385      256.3201     -18.343  0.999928441
G3    G8  407.0952      407.0626     -32.559  0.999920020
G4    G5  261.0262      261.0077     -18.507  0.999929100
G4    G6  116.3028      116.2970      -5.727  0.999950755
G4    G7  408.0762      408.0441     -32.053  0.999921453
G4    G8  199.2640      199.2486     -15.363  0.999922899
G5    G6  148.5058      148.4924     -13.398  0.999909785
G5    G7  147.0680      147.0544     -13.623  0.999907369
G5    G8  154.0379      154.0292      -8.670  0.999943714
G6    G7  294.5175      294.4911     -26.367  0.999910475
G6    G8  147.0664      147.0544     -11.986  0.999918500
G7    G8  274.6130      274.5906     -22.407  0.999918403
(scale: construction / survey distance, for information only)
REPORT
check "solve --model=similarity, a real scale" 0 "$work/scaled.report" "$work/empty" -- \
  "$cli" solve --points="$examples/scaled-points.csv" --model=similarity
cat >"$work/unscaled.report" <<'REPORT'
3412586.213662 501127.347448 28.23594278 1.000004230

Similarity fit, four parameters, of 8 common points
Rotation: 28°23′59.428″ = 28.3998410556° (turned with pi = 3.1415926535: 28.3998410547°)
Scale: 1.000004230 = 4.230 ppm, standard error 4.921 ppm
Inverse: -3240214.464548 1182278.67292 -28.23594278 0.999995770 (the survey grid's origin in construction coordinates, minus the rotation, one over the scale)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
G1     -2.662   1.552   3.081  -1.12   0.65
G2      2.820   5.564   6.238   1.22   2.41
G3      2.192  -0.056   2.193   0.95  -0.02
G4      0.710  -1.068   1.283   0.30  -0.45
G5     -4.235  -1.752   4.583  -1.58  -0.66
G6      2.892   0.116   2.894   1.12   0.04
G7     -1.690  -3.049   3.486  -0.66  -1.19
G8     -0.025  -1.308   1.309  -0.01  -0.51
RMS 3.502 mm, largest G2 6.238 mm
Largest standardized residual G2 2.41, within 3

Against the rigid fit, scale 1, on the same points: RMS 3.608 mm rigid
F = 0.74, F(1, 12) at 95 %: 4.747: the scale is not significant, the rigid fit will do

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
G1    G2  420.0085      420.0000      -8.507  0.999979745
G1    G3  522.0181      522.0153      -2.817  0.999994603
G1    G4  309.9974      310.0000       2.597  1.000008378
G1    G5  261.0051      261.0077       2.555  1.000009790
G1    G6  280.4006      280.4015       0.861  1.000003071
G1    G7  337.3417      337.3426       0.813  1.000002409
G1    G8  134.1617      134.1641       2.376  1.000017709
G2    G3  309.9967      310.0000       3.334  1.000010754
G2    G4  522.0187      522.0153      -3.371  0.999993542
G2    G5  261.0147      261.0077      -7.068  0.999972921
G2    G6  408.4428      408.4422      -0.606  0.999998517
G2    G7  114.0211      114.0175      -3.513  0.999969186
G2    G8  379.4789      379.4733      -5.597  0.999985251
G3    G4  420.0036      420.0000      -3.562  0.999991519
G3    G5  261.0130      261.0077      -5.373  0.999979417
G3    G6  318.9443      318.9436      -0.690  0.999997838
G3    G7  256.3236      256.3201      -3.519  0.999986271
G3    G8  407.0666      407.0626      -3.996  0.999990184
G4    G5  261.0040      261.0077       3.697  1.000014163
G4    G6  116.2998      116.2970      -2.731  0.999976515
G4    G7  408.0437      408.0441       0.390  1.000000955
G4    G8  199.2491      199.2486      -0.482  0.999997582
G5    G6  148.4868      148.4924       5.668  1.000038169
G5    G7  147.0577      147.0544      -3.305  0.999977528
G5    G8  154.0264      154.0292       2.794  1.000018138
G6    G7  294.4885      294.4911       2.593  1.000008806
G6    G8  147.0559      147.0544      -1.486  0.999989893
G7    G8  274.5896      274.5906       0.958  1.000003487
(scale: construction / survey distance, for information only)
REPORT
check "solve --model=similarity, a scale that is noise" 0 "$work/unscaled.report" "$work/empty" -- \
  "$cli" solve --points="$examples/unscaled-points.csv" --model=similarity
# The rigid report is the same with --model=rigid given.
"$cli" solve --points="$work/cp.csv" --model=rigid >"$work/cp.rigid"
cmp -s "$work/cp.rigid" "$work/cp.report" && passed=$((passed + 1)) ||
  { echo "FAIL --model=rigid differs from the default"; failed=$((failed + 1)); }
# The rigid report, from four points on, gives every standardized residual
# and names a point beyond 3 (E, 25 mm off among points of 1.5 mm noise)
# as the one to check.
printf 'A, 999.998, 1999.998, 0.000, 0.000\r\nB, 1086.602, 2049.999, 100.000, 0.000\r\nC, 949.998, 2086.598, 0.000, 100.000\r\nD, 1036.601, 2136.604, 100.000, 100.000\r\nE, 1018.302, 2068.326, 50.000, 50.000\r\nF, 1068.302, 1981.700, 50.000, -50.000\r\nG, 881.695, 2104.901, -50.000, 150.000\r\nH, 1064.897, 2187.584, 150.000, 130.000\r\n' >"$work/blunder.csv"
cat >"$work/blunder.report" <<'REPORT'
1000.000158 2000.001871 30.00055032

Rigid fit, scale 1, of 8 common points
Rotation: 30°00′05.503″ = 30.0015286667° (turned with pi = 3.1415926535: 30.0015286658°)
Inverse: -1866.059347 -1232.002562 -30.00055032 (the survey grid's origin in construction coordinates, minus the rotation)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
A      -2.158  -3.871   4.432  -0.36  -0.61
B       0.636  -5.182   5.220   0.10  -0.85
C       0.153  -5.077   5.080   0.02  -0.82
D       1.946  -1.388   2.390   0.31  -0.22
E       2.394  22.371  22.498   0.38   3.50
F       0.084  -2.423   2.425   0.01  -0.39
G      -1.089  -1.525   1.874  -0.17  -0.29
H      -1.964  -2.905   3.507  -0.35  -0.47
RMS 8.705 mm, largest E 22.498 mm
Largest standardized residual E 3.50, beyond 3: check that point for a blunder

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
A     B   100.0018      100.0000      -1.764  0.999982360
A     C    99.9978      100.0000       2.200  1.000022001
A     D   141.4248      141.4214      -3.461  0.999975530
A     E    70.7372       70.7107     -26.526  0.999625011
A     F    70.7125       70.7107      -1.791  0.999974679
A     G   158.1146      158.1139      -0.756  0.999995216
A     H   198.4953      198.4943      -0.976  0.999995081
B     C   141.4218      141.4214      -0.494  0.999996510
B     D   100.0026      100.0000      -2.630  0.999973700
B     E    70.7161       70.7107      -5.437  0.999923116
B     F    70.7082       70.7107       2.522  1.000035662
B     G   212.1346      212.1320      -2.612  0.999987686
B     H   139.2865      139.2839      -2.654  0.999980948
C     D   100.0034      100.0000      -3.398  0.999966019
C     E    70.7057       70.7107       4.933  1.000069767
C     F   158.1121      158.1139       1.813  1.000011464
C     G    70.7128       70.7107      -2.119  0.999970040
C     H   152.9704      152.9706       0.156  1.000001017
D     E    70.6876       70.7107      23.065  1.000326291
D     F   158.1145      158.1139      -0.641  0.999995948
D     G   158.1169      158.1139      -3.001  0.999981020
D     H    58.3063       58.3095       3.224  1.000055296
E     F   100.0203      100.0000     -20.317  0.999796868
E     G   141.4185      141.4214       2.818  1.000019924
E     H   128.0374      128.0625      25.129  1.000196259
F     G   223.6083      223.6068      -1.473  0.999993412
F     H   205.9122      205.9126       0.448  1.000002176
G     H   200.9961      200.9975       1.365  1.000006791
(scale: construction / survey distance, for information only)
REPORT
check "solve --points names a blunder" 0 "$work/blunder.report" "$work/empty" -- \
  "$cli" solve --points="$work/blunder.csv"
# --exclude and --max-residual as for the rigid fit.
cat >"$work/simex.report" <<'REPORT'
3412586.215232 501127.349488 28.24007028 1.000078374

Similarity fit, four parameters, of 7 common points (excluded: G3)
Rotation: 28°24′00.703″ = 28.4001952222° (turned with pi = 3.1415926535: 28.4001952214°)
Scale: 1.000078374 = 78.374 ppm, standard error 3.949 ppm
Inverse: -3239966.935235 1182211.047196 -28.24007028 0.999921632 (the survey grid's origin in construction coordinates, minus the rotation, one over the scale)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point      dX      dY  length     wX     wY
G1     -0.232   3.512   3.520  -0.14   2.15
G2      2.093  -0.571   2.169   1.47  -0.40
G4      0.758  -0.415   0.864   0.48  -0.27
G5     -1.575  -2.993   3.382  -0.87  -1.65
G6     -2.635  -0.391   2.664  -1.51  -0.22
G7      1.037   1.120   1.526   0.61   0.66
G8      0.552  -0.264   0.612   0.31  -0.15
G3      2.082  -0.498   2.141      -      -  excluded
RMS 2.363 mm, largest G1 3.520 mm
Largest standardized residual G1 2.15, within 3

Against the rigid fit, scale 1, on the same points: RMS 15.017 mm rigid
F = 393.96, F(1, 10) at 95 %: 4.965: the scale is significant

Distances, m, and their difference construction minus survey, mm:
from  to    survey  construction  difference        scale
G1    G2  420.0330      420.0000     -33.020  0.999921387
G1    G4  310.0204      310.0000     -20.371  0.999934292
G1    G5  261.0217      261.0077     -13.998  0.999946373
G1    G6  280.4199      280.4015     -18.366  0.999934506
G1    G7  337.3684      337.3426     -25.856  0.999923360
G1    G8  134.1708      134.1641      -6.716  0.999949948
G2    G4  522.0576      522.0153     -42.256  0.999919059
G2    G5  261.0314      261.0077     -23.749  0.999909017
G2    G6  408.4788      408.4422     -36.685  0.999910192
G2    G7  114.0278      114.0175     -10.256  0.999910060
G2    G8  379.5045      379.4733     -31.205  0.999917775
G4    G5  261.0262      261.0077     -18.507  0.999929100
G4    G6  116.3028      116.2970      -5.727  0.999950755
G4    G7  408.0762      408.0441     -32.053  0.999921453
G4    G8  199.2640      199.2486     -15.363  0.999922899
G5    G6  148.5058      148.4924     -13.398  0.999909785
G5    G7  147.0680      147.0544     -13.623  0.999907369
G5    G8  154.0379      154.0292      -8.670  0.999943714
G6    G7  294.5175      294.4911     -26.367  0.999910475
G6    G8  147.0664      147.0544     -11.986  0.999918500
G7    G8  274.6130      274.5906     -22.407  0.999918403
(scale: construction / survey distance, for information only)
REPORT
expect 'torvane-cli: residuals larger than 3 mm: G1 3.520 mm, G5 3.382 mm\n' simex.err
check "solve --model=similarity --exclude --max-residual" 1 "$work/simex.report" "$work/simex.err" -- \
  "$cli" solve --points="$examples/scaled-points.csv" --model=similarity --exclude=G3 --max-residual=3
# The similarity fit in JSON: its own object, and for two points no
# statistics.
cat >"$work/sim.json" <<'JSON'
{
  "parameters": {"x_offset": "1000.001", "y_offset": "1999.9995", "angle": "30.00050735", "x0_m": 1000.001, "y0_m": 1999.9995, "theta_radians": 0.5236233726054444, "angle_dms": "30°00′05.074″", "angle_degrees": 30.001409305555555, "turn_degrees": 30.001409304698093, "proj": "+proj=pipeline +step +inv +proj=helmert +x=1000.001 +y=1999.9995 +theta=-108005.07349691313 +s=1.000022396"},
  "similarity": {"scale": "1.000022396", "k": 1.000022396, "ppm": 22.396, "inverse_scale": "0.999977605", "ppm_standard_error": 9.682, "rigid_rms_mm": 1.750, "f": 5.350102645190421, "f_quantile": 18.512820512820497, "f_freedom": 2, "significant": false},
  "inverse": {"x_offset": "-1866.014534", "y_offset": "-1231.976385", "angle": "-30.00050735"},
  "offsets_disagree": false,
  "points": [
    {"name": "A", "line": 1, "fitted": true, "dx_mm": -1.000, "dy_mm": 0.500, "length_mm": 1.118},
    {"name": "B", "line": 2, "fitted": true, "dx_mm": 0.750, "dy_mm": 0.250, "length_mm": 0.791},
    {"name": "C", "line": 4, "fitted": true, "dx_mm": 0.250, "dy_mm": -0.750, "length_mm": 0.791},
    {"name": "D", "line": 5, "fitted": false, "dx_mm": 0.000, "dy_mm": 0.000, "length_mm": 0.000}
  ],
  "fitted": 3,
  "excluded": ["D"],
  "rms_mm": 0.913,
  "largest": {"name": "A", "length_mm": 1.118},
  "pairs": [
    {"from": "A", "to": "B", "survey_m": 100.0036, "construction_m": 100.0000, "difference_mm": -3.630, "scale": 0.999963700},
    {"from": "A", "to": "C", "survey_m": 100.0005, "construction_m": 100.0000, "difference_mm": -0.532, "scale": 0.999994680},
    {"from": "B", "to": "C", "survey_m": 141.4247, "construction_m": 141.4214, "difference_mm": -3.391, "scale": 0.999976020}
  ]
}
JSON
check "solve --model=similarity --format=json" 0 "$work/sim.json" "$work/empty" -- \
  "$cli" solve --points="$work/cp.csv" --model=similarity --format=json --exclude=D
cat >"$work/sim2.json" <<'JSON'
{
  "parameters": {"x_offset": "1000.", "y_offset": "2000.", "angle": ".", "x0_m": 1000, "y0_m": 2000, "theta_radians": 0, "angle_dms": "0°00′00.000″", "angle_degrees": 0, "turn_degrees": 0, "proj": "+proj=pipeline +step +inv +proj=helmert +x=1000 +y=2000 +theta=0 +s=0.99980004"},
  "similarity": {"scale": "0.999800040", "k": 0.99980004, "ppm": -199.960, "inverse_scale": "1.000200000"},
  "inverse": {"x_offset": "-1000.2", "y_offset": "-2000.4", "angle": "."},
  "offsets_disagree": false,
  "points": [
    {"name": "A", "fitted": true, "dx_mm": 0.000, "dy_mm": 0.000, "length_mm": 0.000},
    {"name": "B", "fitted": true, "dx_mm": 0.000, "dy_mm": 0.000, "length_mm": 0.000}
  ],
  "fitted": 2,
  "excluded": [],
  "rms_mm": 0.000,
  "largest": {"name": "B", "length_mm": 0.000},
  "pairs": [
    {"from": "A", "to": "B", "survey_m": 100.0000, "construction_m": 100.0200, "difference_mm": 20.000, "scale": 1.000200000}
  ]
}
JSON
check "solve two points --model=similarity --format=json" 0 "$work/sim2.json" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0 \
  --model=similarity --format=json
# Two points: the exact four parameters, no 10 mm warning, the scale instead.
expect '1000. 2000. . 0.999800040\n' solve_sim2
check "solve two points --model=similarity" 0 "$work/solve_sim2" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0 \
  --model=similarity
expect '+proj=pipeline +step +inv +proj=helmert +x=1000 +y=2000 +theta=0 +s=0.99980004\n' solve_sim2.proj
check "solve two points --model=similarity --format=proj" 0 "$work/solve_sim2.proj" "$work/empty" -- \
  "$cli" solve --survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100.02,0 \
  --model=similarity --format=proj
# A national-grid site made with X0 = 100, Y0 = -50, 10″ and k = 1, the
# survey coordinates written to 1e-6 m: the parameters come back as they
# were made and every point fits them to the printed digit, in both models
# and from two of its points (offsets worked out from the unrounded angle
# once gave 100.000416 -49.999889, 0.430 mm RMS and F = -3.93).
printf 'P1,3400078.179389,450114.836123,3400000,450000\nP2,3405078.179383,450115.078529,3405000,450000\nP3,3405077.936976,455115.078524,3405000,455000\nP4,3400077.936982,455114.836117,3400000,455000\n' >"$work/national.csv"
cat >"$work/national.report" <<'REPORT'
100. -50. .001 1.000000000

Similarity fit, four parameters, of 4 common points
Rotation: 0°00′10.000″ = 0.0027777778° (turned with pi = 3.1415926535: 0.0027777778°)
Scale: 1.000000000 = 0.000 ppm, standard error 0.000 ppm
Inverse: -99.997576 50.004848 -.001 1.000000000 (the survey grid's origin in construction coordinates, minus the rotation, one over the scale)

Residuals in the survey grid, mm (given minus converted from construction), and standardized (wX, wY):
point     dX     dY  length    wX     wY
P1     0.000  0.000   0.001  1.21   1.05
P2     0.000  0.000   0.001  0.83  -1.53
P3     0.000  0.000   0.000  0.34   1.16
P4     0.000  0.000   0.000  0.72   0.67
RMS 0.000 mm, largest P2 0.001 mm
Largest standardized residual P2 1.53, within 3

Against the rigid fit, scale 1, on the same points: RMS 0.000 mm rigid
F = 0.00, F(1, 4) at 95 %: 7.709: the scale is not significant, the rigid fit will do

Distances, m, and their difference construction minus survey, mm:
from  to     survey  construction  difference        scale
P1    P2  5000.0000     5000.0000       0.000  1.000000000
P1    P3  7071.0678     7071.0678       0.000  1.000000000
P1    P4  5000.0000     5000.0000       0.000  1.000000000
P2    P3  5000.0000     5000.0000      -0.001  1.000000000
P2    P4  7071.0678     7071.0678      -0.001  1.000000000
P3    P4  5000.0000     5000.0000       0.000  1.000000000
(scale: construction / survey distance, for information only)
REPORT
check "solve --model=similarity, a national-grid site" 0 "$work/national.report" "$work/empty" -- \
  "$cli" solve --points="$work/national.csv" --model=similarity
expect '100. -50. .001\n' national_rigid
expect '100. -50. .001 1.000000000\n' national_two
check "solve --points, a national-grid site" 0 - "$work/empty" -- "$cli" solve --points="$work/national.csv"
head -1 "$work/out" | cmp -s - "$work/national_rigid" && passed=$((passed + 1)) ||
  { echo "FAIL solve --points, a national-grid site: $(head -1 "$work/out")"; failed=$((failed + 1)); }
nat_two=(--survey-a=3400078.179389,450114.836123 --survey-b=3405077.936976,455115.078524
  --construction-a=3400000,450000 --construction-b=3405000,455000 --model=similarity)
check "solve two points --model=similarity, national grid" 0 "$work/national_two" "$work/empty" -- \
  "$cli" solve "${nat_two[@]}"
# ... and passes through A and B: every residual 0.000 mm.
check "solve two points --model=similarity --format=json, national grid" 0 - "$work/empty" -- \
  "$cli" solve "${nat_two[@]}" --format=json
[ "$(grep -c '"dx_mm": 0.000, "dy_mm": 0.000' "$work/out")" = 2 ] && passed=$((passed + 1)) ||
  { echo "FAIL two points through A and B"; grep '"dx_mm"' "$work/out"; failed=$((failed + 1)); }
# The printed parameters, scale included, in convert and the pipeline in
# cct give the same coordinates to the last printed digit, both ways.
read -r sx0 sy0 sangle sscale <"$work/scaled.report"
pipeline=$("$cli" solve --points="$examples/scaled-points.csv" --model=similarity --format=proj)
cut -d, -f1-3 "$examples/scaled-points.csv" >"$work/scaled-survey.csv"
"$cli" convert --dx="$sx0" --dy="$sy0" --angle="$sangle" --scale="$sscale" --format=csv \
  -o "$work/scaled-construction.csv" "$work/scaled-survey.csv"
command -v cct >/dev/null || echo "SKIP convert --scale against cct: cct (Debian's proj-bin) is not installed"
for direction in construction survey; do
  command -v cct >/dev/null || break
  if [ $direction = construction ]; then input="$work/scaled-survey.csv"; inverse=; else
    input="$work/scaled-construction.csv"; inverse=-I; fi
  "$cli" convert --dx="$sx0" --dy="$sy0" --angle="$sangle" --scale="$sscale" --to=$direction \
    --format=csv -o - "$input" | tr -d '\r' >"$work/ours.$direction"
  awk -F, '{ print $2, $3, 0, $1 }' "$input" | cct -d 5 -t 0 $inverse $pipeline |
    awk '{ printf "%s,%.5f,%.5f,\n", $5, $1, $2 }' >"$work/cct.$direction"
  if cmp -s "$work/ours.$direction" "$work/cct.$direction"; then passed=$((passed + 1)); else
    echo "FAIL convert --scale --to=$direction against cct"; diff "$work/ours.$direction" "$work/cct.$direction" | head
    failed=$((failed + 1)); fi
done
# Scale 1 given is no scale: the table byte for byte.
"$cli" convert --dx=500 --dy=600 --angle=30.1520 -o - "$examples/points.csv" >"$work/k_none"
check "convert --scale=1 changes no digit" 0 "$work/k_none" "$work/empty" -- \
  "$cli" convert --dx=500 --dy=600 --angle=30.1520 --scale=1 -o - "$examples/points.csv"
usage "convert --scale=0" '--scale: "0" is not greater than 0' \
  convert --dx=500 --dy=600 --angle=1 --scale=0 "$work/pts.csv"
usage "convert --scale not a number" '--scale: "1,0001" is not a number' \
  convert --dx=500 --dy=600 --angle=1 --scale=1,0001 "$work/pts.csv"
usage "solve --model=similarity with --check" "--check excludes --model=similarity$help" \
  solve "${two[@]}" --check=1,1,1 --model=similarity
usage "solve --model unknown" "--model: affine not in {rigid,similarity}$help" \
  solve --points="$work/cp.csv" --model=affine

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
