"""Writes a large ASCII DXF drawing (R2000) for the drawing benchmark: a
drawing made with ezdxf, its entities repeated, shifted, until the file
reaches the size asked for; with "plan", every height 0 (a plan drawing,
which a run that moves heights reads twice). Usage: dxf_drawing.py OUT.dxf
MEGABYTES [plan]"""
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
