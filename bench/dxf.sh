#!/usr/bin/env bash
# Throughput and peak memory of `torvane-cli convert` on a large drawing,
# side by side with GDAL's `ogr2ogr -ct` carrying the same drawing with
# the PROJ pipeline `solve --format=proj --axis=east-north` prints for the
# same parameters. The drawing (R2000, a site in the survey grid: LINEs,
# LWPOLYLINEs of five vertices and TEXTs with Chinese labels, each with its
# own handle) is written by a small generator, not by ezdxf's object API,
# which would take minutes.
# Usage: bash bench/dxf.sh [MEGABYTES] [ROUNDS] [CLI]
#   MEGABYTES  size of the drawing, default 200
#   ROUNDS     runs of each program, the best is reported, default 3
#   CLI        torvane-cli to run, default build/torvane-cli
set -euo pipefail
megabytes=${1:-200}
rounds=${2:-3}
cli=$(realpath "${3:-build/torvane-cli}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
params=(--dx=3412500 --dy=501100 --angle=28.2400)

/usr/bin/python3 - "$work/site.dxf" "$megabytes" <<'PY'
import random
import sys

import ezdxf

path, megabytes = sys.argv[1], int(sys.argv[2])
doc = ezdxf.new("R2000")
doc.modelspace().add_line((501100, 3412500), (501200, 3412600))
doc.saveas(path)
text = open(path, encoding="cp1252").read()
owner = doc.modelspace().block_record_handle
cut = text.index("ENTITIES\n") + len("ENTITIES\n")
head, tail = text[:cut], text[text.index("  0\nENDSEC\n", cut):]
rng = random.Random(7)
handle = 0x100000
with open(path, "w", encoding="gbk", newline="") as out:
    out.write(head)
    written, chunk = 0, []
    while written < megabytes * 1000000:
        east, north = 501100 + rng.uniform(0, 2000), 3412500 + rng.uniform(0, 2000)
        h = ["%X" % (handle + i) for i in range(3)]
        handle += 3
        chunk.append(
            "  0\nLINE\n  5\n%s\n330\n%s\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n"
            " 10\n%.4f\n 20\n%.4f\n 30\n%.3f\n 11\n%.4f\n 21\n%.4f\n 31\n%.3f\n"
            % (h[0], owner, east, north, rng.uniform(0, 50), east + 12.5, north + 7.25, 0.0))
        vertices = "".join(" 10\n%.4f\n 20\n%.4f\n" % (east + 3 * i, north + (i % 2) * 4)
                           for i in range(5))
        chunk.append(
            "  0\nLWPOLYLINE\n  5\n%s\n330\n%s\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n"
            " 90\n5\n 70\n0\n%s" % (h[1], owner, vertices))
        chunk.append(
            "  0\nTEXT\n  5\n%s\n330\n%s\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
            " 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 40\n2.5\n  1\n测点%d\n 50\n%.6f\n100\nAcDbText\n"
            % (h[2], owner, east, north, handle, rng.uniform(0, 360)))
        if len(chunk) >= 3000:
            block = "".join(chunk)
            out.write(block)
            written += len(block.encode("gbk"))
            chunk = []
    out.write("".join(chunk))
    out.write(tail)
PY
size=$(stat -c %s "$work/site.dxf")
echo "drawing: $((size / 1000000)) MB, $(grep -c '^LINE$' "$work/site.dxf") LINEs and as many LWPOLYLINEs and TEXTs"
# The same parameters as two common points: the origin, and 1 km along the
# construction X axis turned by 28.4 degrees.
survey_b=$(/usr/bin/python3 -c 'import math; t = math.radians(28.4)
print("%.6f,%.6f" % (3412500 + 1000 * math.cos(t), 501100 + 1000 * math.sin(t)))')
pipeline=$("$cli" solve --survey-a=3412500,501100 --survey-b="$survey_b" \
  --construction-a=0,0 --construction-b=1000,0 --format=proj --axis=east-north)

# best NAME COMMAND...: the best wall time of the rounds, and its peak memory.
best() {
  local name=$1
  shift
  local secs="" rss=""
  for ((r = 0; r < rounds; r++)); do
    rm -f "$work/out.dxf"
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
      echo "$name failed: $(head -3 "$work/err")"
      return
    }
    read -r s m <"$work/time"
    if [ -z "$secs" ] || awk -v a="$s" -v b="$secs" 'BEGIN { exit !(a < b) }'; then
      secs=$s rss=$m
    fi
  done
  awk -v n="$name" -v s="$secs" -v m="$rss" -v b="$size" \
    'BEGIN { printf "%-22s %7.2f s  %8.1f MB/s  peak %6.1f MB\n", n, s, b / 1e6 / s, m / 1024 }'
}

best "torvane-cli convert" "$cli" convert "${params[@]}" -o "$work/out.dxf" "$work/site.dxf"
best "ogr2ogr -ct" ogr2ogr -f DXF "$work/out.dxf" "$work/site.dxf" -ct "$pipeline"
