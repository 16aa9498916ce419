"""Writes a large ASCII DXF drawing (R2000) for the drawing benchmark: a
drawing made with ezdxf, its entities repeated, shifted, until the file
reaches the size asked for; with "plan", every height 0 (a plan drawing,
which a run that moves heights reads twice); with "kinds", the kinds of
entity current CAD programs write besides (MULTILEADER, IMAGE, WIPEOUT,
MLINE, TOLERANCE, SHAPE, HELIX, PDFUNDERLAY, ARC_DIMENSION). Usage:
dxf_drawing.py OUT.dxf MEGABYTES [plan|kinds]"""
import io
import sys

import ezdxf

out, megabytes = sys.argv[1], float(sys.argv[2])
z = 0.0 if sys.argv[3:] == ["plan"] else 1.0  # heights, or none
doc = ezdxf.new("R2000", setup=True)
msp = doc.modelspace()
x0, y0 = 500000.0, 3000000.0  # east, north: a site on the survey grid
msp.add_line((x0 + 1.25, y0 + 2.5), (x0 + 10.125, y0 + 20.0625, 3.5 * z))
msp.add_lwpolyline([(x0 + i * 1.5, y0 + (i % 7) * 0.75) for i in range(40)])
msp.add_text("测量点", dxfattribs={"rotation": 30, "height": 2.5}).set_placement((x0 + 5, y0 + 5))
msp.add_circle((x0 + 7.5, y0 + 8.25, 1.5 * z), 2.0)
msp.add_arc((x0 + 7.5, y0 + 8.25), 2.0, 15, 160)
msp.add_point((x0 + 3.125, y0 + 4.0625, 12.5 * z))
if sys.argv[3:] == ["kinds"]:
    from ezdxf.math import Vec2
    from ezdxf.render import mleader
    at = Vec2(x0 + 20, y0 + 10)
    for block in (False, True):
        if block:
            doc.blocks.new("MARK").add_circle((0, 0), 1)
            b = msp.add_multileader_block("Standard")
            b.set_content(name="MARK", scale=2.0)
        else:
            b = msp.add_multileader_mtext("Standard")
            b.set_content("测量点", char_height=2.0)
        b.add_leader_line(mleader.ConnectionSide.left, [at + Vec2(-20, -15), at + Vec2(-12, -4)])
        b.build(insert=at, rotation=20)
    msp.add_image(doc.add_image_def("site.png", (640, 480)), (x0 + 30, y0), (6.4, 4.8), rotation=20)
    msp.add_wipeout([(x0 + 40, y0), (x0 + 46, y0), (x0 + 43, y0 + 4)])
    msp.add_mline([(x0 + 50, y0, z), (x0 + 60, y0, z), (x0 + 60, y0 + 8, z)])
    msp.new_entity("TOLERANCE", dict(insert=(x0 + 5, y0 + 30), x_axis_vector=(0.6, 0.8, 0),
                                     content="{\\Fgdt;j}%%v0.5"))
    msp.add_shape("MARK", (x0 + 10, y0 + 30), size=2.5, dxfattribs={"rotation": 30})
    msp.add_helix(radius=5, pitch=2, turns=2).translate(x0 + 20, y0 + 30, z)
    msp.add_underlay(doc.add_underlay_def("site.pdf", "pdf", "1"), insert=(x0 + 30, y0 + 30),
                     scale=(2, 2, 1), rotation=15)
    msp.add_arc_dim_3p(base=(x0 + 50, y0 + 45), center=(x0 + 40, y0 + 30),
                       p1=(x0 + 48, y0 + 30), p2=(x0 + 40, y0 + 38)).render()
text = io.StringIO()
doc.write(text)
whole = text.getvalue()
start = whole.index("ENTITIES\n") + len("ENTITIES\n")
end = whole.index("  0\nENDSEC\n", start)
head, body, tail = whole[:start], whole[start:end], whole[end:]
target = int(megabytes * 1e6)
with open(out, "w", encoding="utf-8", newline="\n") as f:
    f.write(head)
    written = len(head)
    copy = 0
    # Every copy keeps the same entities under new handles: handles are no
    # part of what is measured, and readers want them unique.
    while written < target:
        copy += 1
        chunk = body.replace("\n  5\n", "\n  5\nC%X" % copy + "_")
        f.write(chunk)
        written += len(chunk.encode("utf-8"))
    f.write(tail)
