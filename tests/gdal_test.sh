#!/usr/bin/env bash
# The PROJ pipeline of solve --format=proj --axis=east-north in GDAL's
# ogr2ogr -ct, as the README gives it: a DXF drawing (POINTs and a LINE) and
# a CSV of WKT points carried from the survey grid to the construction grid
# land where torvane-cli convert puts the same points, to its last printed
# digit, east and north alike; and so does the plain pipeline with the CSV
# in EPSG:4547, whose axes are north first.
# Usage: gdal_test.sh path/to/torvane-cli path/to/examples
set -u
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

for tool in ogr2ogr ogrinfo; do
  if ! command -v $tool >/dev/null; then
    echo "FAIL gdal_test: $tool is not installed: Debian's gdal-bin has it (scripts/setup.sh installs it)"
    exit 1
  fi
done

# Survey points as a drawing holds them: east (survey Y), then north
# (survey X). T1 and T2 are exact binary numbers whose construction
# coordinates, with a turn of 0, are odd multiples of 1/64 m: each on a
# rounding tie at the fifth decimal.
cat >"$work/vertices" <<'ROWS'
P1 5127.1 3412.5
P2 5200.25 3500.75
P3 4990.123456 3300.654321
L1 5150 3400
L2 5260.5 3595.25
T1 2000.015625 1000.078125
T2 1999.984375 999.921875
ROWS
# Minimal R12 DXF: the header's version, then the entities; the LINE runs
# from L1 to L2, the others are POINTs. Group codes 10/20/30 are the first
# point's x (east), y (north) and z; 11/21/31 the line's end.
{
  printf '0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n'
  while read -r name east north; do
    case $name in
      L1) printf '0\nLINE\n8\n0\n10\n%s\n20\n%s\n30\n0.0\n' "$east" "$north" ;;
      L2) printf '11\n%s\n21\n%s\n31\n0.0\n' "$east" "$north" ;;
      *) printf '0\nPOINT\n8\n0\n10\n%s\n20\n%s\n30\n0.0\n' "$east" "$north" ;;
    esac
  done <"$work/vertices"
  printf '0\nENDSEC\n0\nEOF\n'
} >"$work/survey.dxf"
# The CSV: the points with their names, as WKT in east-north order.
{
  echo 'name,WKT'
  while read -r name east north; do
    printf '%s,"POINT (%s %s)"\n' "$name" "$east" "$north"
  done <"$work/vertices"
} >"$work/survey.csv"
# The order of the vertices as ogrinfo lists the drawing: DXF entities in
# file order, the LINE's two ends together.
awk '{ print $1 }' "$work/vertices" >"$work/order"

# Every vertex ogrinfo lists, "east north" a line, in order.
vertices() {
  ogrinfo -ro -al -q "$1" </dev/null | grep -E '^  (POINT|LINESTRING)' |
    sed 's/^[^(]*(//; s/)$//' | tr ',' '\n' | awk '{ print $1, $2 }'
}

# GDAL writes 15 significant digits (15 decimals below 1 m), as fine as
# convert's table, which rounds to 15 significant digits first; this rounds
# them to the table's five decimals the way the table does: by the binary
# value the text reads as, exact ties away from zero. The only binary
# values on a tie are odd multiples of 1/64 m (such as 0.015625), which
# printf would take to the even digit. -0.00000 is 0.00000, as convert
# prints ".00000".
round5() {  # lines "name east north"
  awk '{
    for (i = 2; i <= NF; i++) {
      v = $i + 0
      if (v * 64 == int(v * 64) && (v * 64) % 2 != 0) {
        $i = sprintf("%.5f", (v * 100000 + (v > 0 ? 0.5 : -0.5)) / 100000)
      } else {
        $i = sprintf("%.5f", v)
      }
      if ($i == "-0.00000") $i = "0.00000"
    }
    print
  }'
}

# Each row: what solve is given.
while IFS='|' read -r label arguments; do
  read -ra arguments <<<"$arguments"
  read -r dx dy angle < <("$cli" solve "${arguments[@]}" 2>/dev/null | head -1)
  # convert's result for the same points, given north first: name, east, north.
  awk '{ print $1 "," $3 "," $2 }' "$work/vertices" >"$work/points.csv"
  "$cli" convert --dx="$dx" --dy="$dy" --angle="$angle" -o - "$work/points.csv" |
    awk '{ print $1, $3, $2 }' | round5 >"$work/expected"
  check "$label: convert gives every point" [ "$(grep -c . "$work/expected")" = 7 ]
  # The file, and how the pipeline meets its east-north order: wrapped in
  # axis swaps, or plain in a CRS whose first axis is north, which GDAL
  # swaps to and from itself.
  while IFS='|' read -r how format input axis options; do
    read -ra options <<<"$options"
    pipeline=$("$cli" solve "${arguments[@]}" --format=proj --axis=$axis 2>/dev/null)
    rm -f "$work/construction.${format,,}"
    if ! ogr2ogr -f $format "${options[@]}" "$work/construction.${format,,}" "$work/$input" \
      -ct "$pipeline" </dev/null 2>"$work/ogr_err"; then
      echo "FAIL $label, $how: ogr2ogr failed: $(cat "$work/ogr_err")"
      failed=$((failed + 1))
      continue
    fi
    got=$(vertices "$work/construction.${format,,}" | paste -d' ' "$work/order" - | round5)
    equal "$label, $how" "$(cat "$work/expected")" "$got"
  done <<'FILES'
DXF|DXF|survey.dxf|east-north|
CSV of WKT|CSV|survey.csv|east-north|-oo KEEP_GEOM_COLUMNS=NO -lco GEOMETRY=AS_WKT
CSV of WKT in EPSG:4547|CSV|survey.csv|north-east|-s_srs EPSG:4547 -t_srs EPSG:4547 -oo KEEP_GEOM_COLUMNS=NO -lco GEOMETRY=AS_WKT
FILES
done <<ROWS
control points, --points|--points=$examples/control-points.csv
turn of 0, two points|--survey-a=1000,2000 --survey-b=1100,2000 --construction-a=0,0 --construction-b=100,0
ROWS

summary gdal_test
