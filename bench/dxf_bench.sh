#!/usr/bin/env bash
# The drawing benchmark: a DXF drawing of SIZE megabytes (default 200,
# made by bench/dxf_drawing.py) converted by torvane-cli and by GDAL's
# ogr2ogr -ct with the same rigid motion, ROUNDS times each (default 3; one
# for ogr2ogr, which takes minutes), with each one's throughput and peak
# memory; then a plan drawing of the same size converted with H0, its
# heights asked to move, which reads it twice (once for its heights, once
# to convert it); then a drawing of the same size full of the kinds of
# entity current CAD programs write (MULTILEADER, IMAGE, MLINE, HELIX...).
# Builds torvane-cli alone, optimised, into build-release/.
# Usage: bash bench/dxf_bench.sh [SIZE] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j2 --target torvane-cli >/dev/null
cli="$root/build-release/torvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=${1:-200}
rounds=${2:-3}
/usr/bin/python3 bench/dxf_drawing.py "$work/site.dxf" "$size"
bytes=$(stat -c %s "$work/site.dxf")
echo "drawing: $((bytes / 1000000)) MB, $(grep -c '' "$work/site.dxf") lines"
# X0 3000100.25, Y0 499800.5, 30°15′20″ as the program reads it (pi = 3.1415926535).
x0=3000100.25 y0=499800.5 angle=30.1520
run() {  # LABEL COMMAND...: prints MB/s and peak memory of one run
  local label=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>&1 || echo "$label failed"
  read -r seconds user system kilobytes <"$work/time"
  # Wall time, and the processor time it took (what other programs on a
  # shared machine do not change).
  awk -v l="$label" -v b="$bytes" -v s="$seconds" -v c="$(echo "$user + $system" | bc)" \
    -v k="$kilobytes" 'BEGIN { printf "%-22s %5.0f MB/s (%.2f s), %5.0f MB/s of processor time, peak memory %.1f MiB\n",
      l, b / 1e6 / s, s, b / 1e6 / c, k / 1024 }'
}
for round in $(seq "$rounds"); do
  run "torvane-cli convert" "$cli" convert --dx=$x0 --dy=$y0 --angle=$angle -o "$work/out.dxf" \
    "$work/site.dxf"
done
/usr/bin/python3 bench/dxf_drawing.py "$work/plan.dxf" "$size" plan
for round in $(seq "$rounds"); do
  run "convert a plan, --dh" "$cli" convert --dx=$x0 --dy=$y0 --angle=$angle --dh=1200.5 \
    --drawing-heights=move -o "$work/out.dxf" "$work/plan.dxf"
done
/usr/bin/python3 bench/dxf_drawing.py "$work/kinds.dxf" "$size" kinds
bytes=$(stat -c %s "$work/kinds.dxf")
for round in $(seq "$rounds"); do
  run "convert the new kinds" "$cli" convert --dx=$x0 --dy=$y0 --angle=$angle -o "$work/out.dxf" \
    "$work/kinds.dxf"
done
bytes=$(stat -c %s "$work/site.dxf")
if command -v ogr2ogr >/dev/null; then
  theta=$(awk 'BEGIN { print (30 + 15 / 60 + 20 / 3600) * 3600 * 3.1415926535 / atan2(0, -1) }')
  ct="+proj=pipeline +step +proj=axisswap +order=2,1 +step +proj=helmert +theta=0 +x=-$x0 +y=-$y0"
  ct="$ct +step +proj=helmert +theta=$theta +step +proj=axisswap +order=2,1"
  rm -f "$work/ogr.dxf"
  run "ogr2ogr -ct" ogr2ogr -f DXF "$work/ogr.dxf" "$work/site.dxf" -ct "$ct"
fi
