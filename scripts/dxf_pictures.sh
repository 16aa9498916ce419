#!/usr/bin/env bash
# Draws a small site in the survey grid (buildings with hatches, Chinese
# labels, a tree block inserted turned, a dimension), converts it to the
# construction grid with torvane-cli, and renders both with ezdxf's drawing
# add-on and matplotlib (Debian's python3-ezdxf, python3-matplotlib) into
# OUTDIR: survey.dxf, survey转化后.dxf, drawing-survey.png and
# drawing-construction.png, 800 pixels wide.
# Usage: dxf_pictures.sh path/to/torvane-cli OUTDIR
set -euo pipefail
cli=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
# The site's parameters: the construction grid's origin and its turn.
params=(--dx=3412500 --dy=501100 --angle=28.2400)

/usr/bin/python3 - "$out/survey.dxf" <<'PY'
import sys
import ezdxf

doc = ezdxf.new("R2018", setup=True)
doc.styles.add("CN", font="wqy-microhei.ttc")
for name, color in (("建筑", 5), ("填充", 8), ("注记", 1), ("植被", 3), ("道路", 7)):
    doc.layers.add(name, color=color)
msp = doc.modelspace()
e0, n0 = 501150.0, 3412560.0  # east and north of the site's corner


def at(x, y):
    return (e0 + x, n0 + y)


tree = doc.blocks.new("树")
tree.add_circle((0, 0), 2.0, dxfattribs={"layer": "植被"})
tree.add_line((0, -2), (0, 2), dxfattribs={"layer": "植被"})
tree.add_line((-2, 0), (2, 0), dxfattribs={"layer": "植被"})
north = doc.blocks.new("指北针")
north.add_lwpolyline([(0, 6), (2, -3), (0, -1), (-2, -3)], close=True)
north.add_hatch(color=7).paths.add_polyline_path([(0, 6), (0, -1), (-2, -3)], is_closed=True)
north.add_text("N", dxfattribs={"height": 2.5}).set_pos((0, 7.5), align="BOTTOM_CENTER")
for name, corners, label in (
        ("1号楼", [(10, 10), (60, 10), (60, 28), (10, 28)], "1号楼"),
        ("2号楼", [(10, 45), (45, 45), (45, 75), (10, 75)], "2号楼"),
        ("3号楼", [(70, 45), (110, 45), (110, 62), (70, 62)], "3号楼")):
    pts = [at(x, y) for x, y in corners]
    msp.add_lwpolyline(pts, close=True, dxfattribs={"layer": "建筑", "const_width": 0.3})
    hatch = msp.add_hatch(color=8, dxfattribs={"layer": "填充"})
    hatch.paths.add_polyline_path(pts, is_closed=True)
    hatch.set_pattern_fill("ANSI31", scale=0.6)
    cx = sum(p[0] for p in pts) / 4
    cy = sum(p[1] for p in pts) / 4
    msp.add_text(label, dxfattribs={"height": 3.0, "style": "CN", "layer": "注记"}).set_pos(
        (cx, cy), align="MIDDLE_CENTER")
msp.add_line(at(0, 36), at(125, 36), dxfattribs={"layer": "道路"})
msp.add_line(at(0, 40), at(125, 40), dxfattribs={"layer": "道路"})
msp.add_text("施工便道", dxfattribs={"height": 2.0, "style": "CN", "layer": "注记"}).set_pos(
    at(80, 37), align="MIDDLE_CENTER")
for i, (x, y) in enumerate(((70, 15), (85, 20), (100, 12), (120, 70), (55, 80))):
    msp.add_blockref("树", at(x, y), dxfattribs={"rotation": 25 * i})
msp.add_blockref("指北针", at(118, 20), dxfattribs={"rotation": 0, "xscale": 1.2, "yscale": 1.2})
msp.add_linear_dim(base=at(10, 4), p1=at(10, 10), p2=at(60, 10), dimstyle="EZDXF",
                   override={"dimtxt": 2.5, "dimasz": 1.5, "dimdec": 1, "dimlfac": 1},
                   dxfattribs={"layer": "注记"}).render()
doc.saveas(sys.argv[1])
PY

"$cli" convert "${params[@]}" "$out/survey.dxf"

/usr/bin/python3 - "$out" <<'PY'
import logging
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import ezdxf
from ezdxf import bbox
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
from ezdxf.tools import fonts

logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)
# The labels' font by the family name matplotlib knows it by.
fonts.font_face_cache["wqy-microhei.ttc"] = fonts.FontFace(
    ttf="wqy-microhei.ttc", family="WenQuanYi Micro Hei")
out = sys.argv[1]
for source, picture, title in (("survey.dxf", "drawing-survey.png", "测图坐标"),
                               ("survey转化后.dxf", "drawing-construction.png", "施工坐标")):
    doc = ezdxf.readfile(os.path.join(out, source))
    box = bbox.extents(doc.modelspace())
    margin = 0.05 * max(box.size.x, box.size.y)
    lo, hi = box.extmin - (margin, margin), box.extmax + (margin, margin)
    fig = plt.figure(figsize=(8, 8 * (hi.y - lo.y) / (hi.x - lo.x)), dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ctx = RenderContext(doc)
    ctx.set_current_layout(doc.modelspace())
    Frontend(ctx, MatplotlibBackend(ax)).draw_layout(doc.modelspace(), finalize=True)
    ax.set_xlim(lo.x, hi.x)
    ax.set_ylim(lo.y, hi.y)
    ax.text(0.02, 0.96, title, transform=ax.transAxes, color="white", fontsize=14,
            family="WenQuanYi Micro Hei", va="top")
    fig.set_size_inches(8, 8 * (hi.y - lo.y) / (hi.x - lo.x))
    fig.savefig(os.path.join(out, picture), dpi=100, facecolor=ax.get_facecolor())
    plt.close(fig)
PY
echo "$out/drawing-survey.png $out/drawing-construction.png"
