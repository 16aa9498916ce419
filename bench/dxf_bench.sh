#!/usr/bin/env bash
# The drawing benchmark: a DXF drawing of SIZE megabytes (default 200)
# converted by torvane-cli and by GDAL's ogr2ogr -ct with the same
# parameters, ROUNDS times each (default 3), with the throughput of each.
# Usage: bash bench/dxf_bench.sh [SIZE] [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/setup.sh"
build "$root/build"
cli="$root/build/torvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=${1:-200}
rounds=${2:-3}
/usr/bin/python3 "$root/bench/dxf_drawing.py" "$work/site.dxf" "$size"
bytes=$(stat -c %s "$work/site.dxf")
params=(--dx=3000100.25 --dy=499800.5 --angle=30.1520)
rate() {  # MB/s for $bytes in $1 seconds
  awk -v b="$bytes" -v s="$1" 'BEGIN { printf "%.0f MB/s (%.2f s)", b / 1e6 / s, s }'
}
echo "drawing: $((bytes / 1000000)) MB"
for round in $(seq "$rounds"); do
  start=$(date +%s.%N)
  "$cli" convert "${params[@]}" -o "$work/out.dxf" "$work/site.dxf"
  end=$(date +%s.%N)
  echo "torvane-cli convert, round $round: $(rate "$(echo "$end - $start" | bc)")"
done
if command -v ogr2ogr >/dev/null; then
  pipeline=$("$cli" solve "${params[@]}" --format=proj 2>/dev/null || true)
  if [ -n "$pipeline" ]; then
    for round in $(seq "$rounds"); do
      rm -f "$work/ogr.dxf"
      start=$(date +%s.%N)
      ogr2ogr -f DXF -s_srs EPSG:4547 -t_srs EPSG:4547 -ct "$pipeline" "$work/ogr.dxf" \
        "$work/site.dxf" 2>/dev/null || echo "ogr2ogr failed"
      end=$(date +%s.%N)
      echo "ogr2ogr -ct, round $round: $(rate "$(echo "$end - $start" | bc)")"
    done
  fi
fi
