#!/usr/bin/python3
"""Drawings through torvane-cli convert, checked by an independent reader.

Debian's ezdxf (python3-ezdxf) writes site drawings of every DXF version
from R12 to R2018 holding every kind of entity the converter carries; the
program converts them both ways on random sites with Gauss-Krueger offsets
and a scale; ezdxf reads the results back. Every point must be where the
textbook formula of the conversion puts it (1e-9 m), every angle turned
with the geometry (1e-12 rad), every length scaled, and everything that is
not a coordinate kept: the same entities, handles, layers and styles, and
byte for byte every line that holds no coordinate. Refusals leave no file.
GDAL's ogr2ogr, reading the converted drawing, finds what its own -ct with
solve's PROJ pipeline makes of the original.

Usage: dxf_test.py path/to/torvane-cli WORKDIR
       dxf_test.py --drawings DIR   (only writes the sample drawings)
"""
import logging
import math
import os
import random
import re
import shutil
import subprocess
import sys

import ezdxf
from decimal import Decimal, getcontext
from ezdxf.math import OCS, Vec3

logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
# Entities R12 cannot hold.
MODERN = {"XLINE", "RAY", "ELLIPSE", "LWPOLYLINE", "SPLINE", "MTEXT", "HATCH", "LEADER"}
POINT_TOL = 1e-9  # metres
ANGLE_TOL = 1e-12  # radians
failures = []
passes = 0


def check(name, ok, detail=""):
    global passes
    if ok:
        passes += 1
    else:
        failures.append(name + (": " + detail if detail else ""))
        if len(failures) <= 60 or os.environ.get("DXF_TEST_ALL"):
            print("FAIL", name, detail)


# ---------------------------------------------------------------- the model
class Site:
    """convert's parameters and the textbook formula they stand for:
    survey = (X0, Y0) + k R(theta) construction, X north first, theta turning
    X towards Y; theta from ddd.mmss with the program's pi 3.1415926535."""

    def __init__(self, dx, dy, angle_text, scale, axis="east-north", dh=None):
        self.dx, self.dy, self.angle, self.scale, self.axis = dx, dy, angle_text, scale, axis
        self.dh = dh  # H0: construction height = survey height - H0; None: heights kept
        whole, _, frac = angle_text.lstrip("-").partition(".")
        frac = frac.ljust(4, "0")
        degrees = (math.fmod(float(whole or 0), 360) + int(frac[:2]) / 60) + float(
            frac[2:4] + "." + frac[4:]) / 3600
        degrees = -degrees if angle_text.startswith("-") else degrees
        self.theta = float("%.15g" % degrees) / 180 * 3.1415926535
        self.c, self.s = math.cos(self.theta), math.sin(self.theta)

    def args(self):
        return ["--dx=%r" % self.dx, "--dy=%r" % self.dy, "--angle=" + self.angle,
                "--scale=%r" % self.scale, "--axis=" + self.axis] + (
                    ["--dh=%r" % self.dh, "--drawing-heights=move"] if self.dh is not None else [])

    def _grid(self, v):  # DXF (x, y) -> survey (X, Y)
        return (v.y, v.x) if self.axis == "east-north" else (v.x, v.y)

    def _dxf(self, X, Y, z):
        return Vec3(Y, X, z) if self.axis == "east-north" else Vec3(X, Y, z)

    def point(self, v, to):
        X, Y = self._grid(v)
        k, c, s = self.scale, self.c, self.s
        z = v.z if self.dh is None else v.z + self.dh if to == "survey" else v.z - self.dh
        if to == "survey":
            return self._dxf(self.dx + k * (c * X - s * Y), self.dy + k * (s * X + c * Y), z)
        X, Y = X - self.dx, Y - self.dy
        return self._dxf((c * X + s * Y) / k, (-s * X + c * Y) / k, z)

    def vector(self, v, to):  # turned and scaled, never shifted
        X, Y = self._grid(v)
        k, c, s = self.scale, self.c, self.s
        if to == "survey":
            return self._dxf(k * (c * X - s * Y), k * (s * X + c * Y), v.z)
        return self._dxf((c * X + s * Y) / k, (-s * X + c * Y) / k, v.z)

    def length(self, value, to):
        return value * self.scale if to == "survey" else value / self.scale


IDENTITY = Site(0.0, 0.0, "0", 1.0)


# ------------------------------------------------------------ the drawings
def xy(v):
    return (v.x, v.y)


def site_drawing(version, east, north, rng, gbk=False):
    """A drawing of every kind of entity around (east, north)."""
    doc = ezdxf.new(version, setup=True)
    if gbk:
        doc.encoding = "gbk"  # written with $DWGCODEPAGE ANSI_936
    chinese = version >= "R2007" or gbk
    label = "测站 A" if chinese else "STATION A"
    msp = doc.modelspace()
    doc.layers.add("BUILDINGS", color=3)
    doc.layers.add("TEXT", color=1)
    if "Standard" not in doc.styles:
        doc.styles.add("Standard")
    doc.styles.add("LABELS", font="txt")

    def p(x, y, z=0.0):
        return Vec3(east + x + rng.uniform(-1, 1), north + y + rng.uniform(-1, 1), z)

    # Paper space, in its own sheet coordinates: kept as drawn.
    sheet = doc.layout()
    sheet.add_line((10, 10), (410, 10))
    sheet.add_text(label, dxfattribs={"insert": (20, 20), "height": 5, "rotation": 15})
    tree = doc.blocks.new("TREE")
    tree.add_circle((0, 0), 1.5)
    tree.add_line((-1.5, 0), (1.5, 0))
    tree.add_text("T", dxfattribs={"height": 0.5, "rotation": 10}).set_pos((0.2, 0.3))
    tree.add_attdef("NAME", (0, -2), dxfattribs={"height": 0.8, "rotation": 0})
    attribs = {"NAME": "树 1" if chinese else "TREE 1"}
    msp.add_blockref("TREE", p(10, 10, 3.5), dxfattribs={"rotation": 33.25}).add_auto_attribs(
        attribs)
    msp.add_blockref("TREE", p(20, 12), dxfattribs={
        "rotation": 201.5, "xscale": -1.5, "yscale": 1.5}).add_auto_attribs(attribs)
    msp.add_point(p(1, 2, 12.345))
    msp.add_line(p(0, 0, 1.5), p(40, 25, 2.5), dxfattribs={"layer": "BUILDINGS"})
    msp.add_circle(p(50, 50, 4), 7.25)
    msp.add_arc(p(60, 20), 5.5, 15.5, 290.25)
    # A text along a line: it has to stay along it.
    a, b = p(0, 60), p(30, 80)
    msp.add_line(a, b)
    along = math.degrees(math.atan2(b.y - a.y, b.x - a.x))
    msp.add_text(label, dxfattribs={"height": 2.5, "rotation": along, "style": "LABELS",
                                    "layer": "TEXT"}).set_pos(a)
    msp.add_text("ALIGNED", dxfattribs={"height": 1.5}).set_pos(p(5, 90), p(25, 95), align="ALIGNED")
    msp.add_text("FIT", dxfattribs={"height": 1.5}).set_pos(p(5, 100), p(25, 97), align="FIT")
    msp.add_text("MIDDLE", dxfattribs={"height": 1.5, "rotation": 75}).set_pos(
        p(40, 100), align="MIDDLE_CENTER")
    msp.add_polyline2d([p(0, 120), p(10, 125), p(20, 120)], dxfattribs={"layer": "BUILDINGS"})
    msp.add_polyline3d([p(0, 130, 1), p(10, 135, 2), p(20, 130, 3)])
    msp.add_solid([p(70, 70), p(75, 70), p(70, 75), p(75, 76)])
    msp.add_trace([p(80, 70), p(85, 70), p(80, 75), p(85, 76)])
    msp.add_3dface([p(90, 70, 1), p(95, 70, 2), p(90, 75, 3), p(95, 76, 4)])
    # Mirrored: object coordinates with extrusion (0, 0, -1).
    neg = OCS((0, 0, -1))
    msp.add_circle(neg.from_wcs(p(100, 10, 2)), 3.0, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_text("MIRRORED", dxfattribs={"extrusion": (0, 0, -1), "height": 2.0, "rotation": 20,
                                         "insert": neg.from_wcs(p(100, 20, 2))})
    msp.add_arc(neg.from_wcs(p(110, 10, 0)), 4.0, 30, 120, dxfattribs={"extrusion": (0, 0, -1)})
    # Extrusions a rounding error off the drawing's plane, as AutoCAD's samples hold.
    for x, extrusion in ((120, (1.2e-17, -3.4e-18, 1.0)), (130, (-1.9e-17, 0.0, -1.0))):
        ocs = OCS(extrusion)
        msp.add_circle(ocs.from_wcs(p(x, 10, 2)), 2.5, dxfattribs={"extrusion": extrusion})
        msp.add_text("LEANING", dxfattribs={"extrusion": extrusion, "height": 1.0, "rotation": 40,
                                            "insert": ocs.from_wcs(p(x, 20, 2))})
    # Dimensions, each drawn by ezdxf into its *D block.
    msp.add_linear_dim(base=p(0, -10), p1=p(0, -5), p2=p(30, -5), angle=12.5).render()
    msp.add_aligned_dim(p1=p(40, -5), p2=p(70, -15), distance=5).render()
    msp.add_radius_dim(center=p(50, 50), radius=7.25, angle=30).render()
    if version != "R12":
        msp.add_angular_dim_3p(base=p(85, -20), center=p(80, -30), p1=p(90, -30),
                               p2=p(80, -20)).render()
    if version == "R12":
        return doc
    msp.add_xline(p(0, 0), (0.6, 0.8, 0))
    msp.add_ray(p(5, 5), (-0.28, 0.96, 0))
    msp.add_ellipse(p(120, 50, 1), major_axis=(8, 3, 0), ratio=0.4, start_param=0.3, end_param=5.1)
    msp.add_lwpolyline([(*xy(p(0, 150)), 0.2, 0.4, 0.5), (*xy(p(20, 150)), 0.4, 0.2, 0),
                        (*xy(p(20, 170)), 0, 0, -0.3)], format="xyseb",
                       dxfattribs={"elevation": 5.5, "layer": "BUILDINGS"})
    msp.add_lwpolyline([xy(p(30, 150)), xy(p(40, 150))], dxfattribs={"const_width": 0.35})
    msp.add_open_spline([p(0, 200), p(10, 210), p(20, 195), p(30, 205)], degree=3)
    spline = msp.add_spline([p(40, 200), p(50, 210), p(60, 200)])
    spline.dxf.start_tangent = Vec3(1, 1, 0).normalize()
    spline.dxf.end_tangent = Vec3(1, -1, 0).normalize()
    msp.add_mtext(label + "\\P2", dxfattribs={
        "insert": p(60, 100), "char_height": 2.0, "width": 25.0,
        "text_direction": Vec3(0.8, 0.6, 0), "style": "LABELS"})
    msp.add_leader([p(70, 90), p(80, 100), p(95, 100)])
    if version >= "R2018":  # columns, in an object the MTEXT embeds
        msp.add_mtext_dynamic_manual_height_columns(
            label + "\\P" + label, width=12.0, gutter_width=1.5, heights=[3.0, 4.5], dxfattribs={
                "insert": p(60, 110), "char_height": 1.0, "text_direction": Vec3(0.6, 0.8, 0)})
    hatch = msp.add_hatch(color=2, dxfattribs={"layer": "BUILDINGS"})
    hatch.paths.add_polyline_path([xy(p(0, 220)), xy(p(30, 220)), xy(p(30, 240)), xy(p(0, 240))],
                                  is_closed=True)
    hatch.set_pattern_fill("ANSI31", scale=0.5, angle=15)
    hatch.set_seed_points([xy(p(10, 230))])
    edges = msp.add_hatch(color=4)
    path = edges.paths.add_edge_path()
    c0, c1, c2 = p(50, 220), p(70, 220), p(70, 240)
    path.add_line(xy(c0), xy(c1))
    path.add_arc(((c1.x + c2.x) / 2, (c1.y + c2.y) / 2), 10, 270, 450)
    path.add_ellipse((c2.x - 10, c2.y), (10, 0), 0.5, 0, 180)
    path.add_spline(fit_points=[(c2.x - 20, c2.y), (c0.x - 5, c0.y + 10), xy(c0)],
                    control_points=[(c2.x - 20, c2.y), (c0.x - 8, c0.y + 12), xy(c0)],
                    knot_values=[0, 0, 0, 1, 1, 1], degree=2,
                    start_tangent=(0, -1), end_tangent=(1, 0))
    edges.set_pattern_fill("ANSI37", scale=1.25, angle=-20)
    # Arc and ellipse edges stored clockwise (73 = 0, angles as 360° - angle),
    # in the drawing's plane and mirrored: a closed boundary.
    for x, extrusion in ((150, (0, 0, 1)), (180, (0, 0, -1))):
        ocs = OCS(extrusion)
        o = ocs.from_wcs(p(x, 220))
        clockwise = msp.add_hatch(color=5, dxfattribs={"extrusion": extrusion})
        path = clockwise.paths.add_edge_path()
        path.add_arc((o.x, o.y), 10, 0, 90, ccw=False)  # from o + (0, 10) to o + (10, 0)
        path.add_line((o.x + 10, o.y), (o.x + 10, o.y - 10))
        path.add_ellipse((o.x, o.y - 10), (10, 0), 0.5, 180, 360, ccw=False)  # by o + (0, -15)
        path.add_line((o.x - 10, o.y - 10), (o.x, o.y + 10))
    for kind, first, make in NEW_KINDS:
        if version >= first:
            make(doc, msp, p)
    inside = doc.blocks.new("PLOT")  # a hatched, dimensioned block, inserted turned
    inside.add_lwpolyline([(0, 0), (6, 0), (6, 4), (0, 4)], close=True)
    inside.add_hatch().paths.add_polyline_path([(0, 0), (6, 0), (6, 4)], is_closed=True)
    msp.add_blockref("PLOT", p(130, 130), dxfattribs={"rotation": -47.5, "xscale": -1})
    return doc


def multileader(doc, msp, p, block):
    """A MULTILEADER with text or with a block, its leader bent, its block
    placed by a matrix that turns, scales and moves it."""
    from ezdxf.render import mleader
    from ezdxf.math import Matrix44, Vec2
    at = p(150, 60)
    if block:
        if "MARK" not in doc.blocks:
            doc.blocks.new("MARK").add_circle((0, 0), 1)
        b = msp.add_multileader_block("Standard")
        b.set_content(name="MARK", scale=2.0)
    else:
        b = msp.add_multileader_mtext("Standard")
        b.set_content("MULTILEADER", char_height=2.0)
    b.add_leader_line(mleader.ConnectionSide.left, [Vec2(at + (-20, -15)), Vec2(at + (-12, -4))])
    b.build(insert=Vec2(at), rotation=20)
    context = b.multileader.context
    context.leaders[0].breaks = [at + (-18, -12, 0), at + (-17, -11, 0)]
    if block:
        context.block.matrix44 = Matrix44.chain(Matrix44.scale(2), Matrix44.z_rotate(0.3),
                                                Matrix44.translate(at.x, at.y, 0))
        b.multileader.dxf.block_scale_vector = (2, 2, 1)
    else:
        context.mtext.width, context.mtext.defined_height = 25.0, 6.0


def attrib_lines(doc, msp, p):
    """Multi-line attributes: an MTEXT embedded in an ATTRIB, with its
    direction, and without (at 0°, which has to turn)."""
    block = doc.blocks.new("LABEL")
    block.add_attdef("NOTE", (0, 0), dxfattribs={"height": 1.0})
    for x, direction in ((170, {"text_direction": Vec3(0.8, 0.6, 0)}), (180, {})):
        ref = msp.add_blockref("LABEL", p(x, 90), dxfattribs={"rotation": 12.5})
        at = ref.dxf.insert
        attrib = ref.add_attrib("NOTE", "one", at, dxfattribs={"height": 1.0, "rotation": 12.5})
        attrib.set_mtext(msp.add_mtext("one\\Ptwo", dxfattribs={
            "insert": at, "char_height": 1.0, "width": 9.5, **direction}))


# The kinds of entity added since R2000: the first version ezdxf writes each
# in, and a row that draws it at p(x, y).
NEW_KINDS = [
    ("MULTILEADER", "R2000", lambda doc, msp, p: multileader(doc, msp, p, False)),
    ("MULTILEADER", "R2000", lambda doc, msp, p: multileader(doc, msp, p, True)),
    ("IMAGE", "R2000", lambda doc, msp, p: msp.add_image(
        doc.add_image_def("site.png", (640, 480)), p(150, 100), (6.4, 4.8), rotation=20)),
    ("WIPEOUT", "R2000", lambda doc, msp, p: msp.add_wipeout(
        [xy(p(160, 100)), xy(p(166, 100)), xy(p(163, 104))])),
    ("MLINE", "R2000", lambda doc, msp, p: msp.add_mline(
        [p(150, 110), p(160, 110), p(160, 118)], dxfattribs={"scale_factor": 1.5})),
    ("TOLERANCE", "R2000", lambda doc, msp, p: msp.new_entity("TOLERANCE", dict(
        insert=p(150, 125), x_axis_vector=(0.6, 0.8, 0), content="{\\Fgdt;j}%%v0.5"))),
    ("SHAPE", "R2000", lambda doc, msp, p: msp.add_shape(
        "MARK", p(160, 125), size=2.5, dxfattribs={"rotation": 30})),
    ("HELIX", "R2000", lambda doc, msp, p: msp.add_helix(
        radius=5, pitch=2, turns=2).translate(*p(150, 140))),
    ("PDFUNDERLAY", "R2000", lambda doc, msp, p: msp.add_underlay(
        doc.add_underlay_def("site.pdf", "pdf", "1"), insert=p(170, 140), scale=(2, 2, 1),
        rotation=15)),
    ("DWFUNDERLAY", "R2000", lambda doc, msp, p: msp.add_underlay(
        doc.add_underlay_def("site.dwf", "dwf", "1"), insert=p(175, 140), scale=(3, 3, 1),
        rotation=25)),
    ("DGNUNDERLAY", "R2000", lambda doc, msp, p: msp.add_underlay(
        doc.add_underlay_def("site.dgn", "dgn", "1"), insert=p(180, 140), scale=(0.5, 0.5, 1),
        rotation=35)),
    ("LARGE_RADIAL_DIMENSION", "R2004", lambda doc, msp, p: msp.new_entity(
        "LARGE_RADIAL_DIMENSION", dict(defpoint=p(190, 110), chord_point=p(195, 115),
                                       override_center=p(185, 100), jog_point=p(192, 108),
                                       unknown2=2.5))),
    ("ARC_DIMENSION", "R2000", lambda doc, msp, p: msp.add_arc_dim_3p(
        base=p(180, 125), center=p(170, 110), p1=p(178, 110), p2=p(170, 118)).render()),
    ("VIEWPORT", "R2000", lambda doc, msp, p: msp.new_entity("VIEWPORT", dict(
        center=p(190, 60), width=40, height=30, view_center_point=xy(p(190, 60)),
        view_height=30))),
    ("ATTRIB", "R2018", attrib_lines),
]


def write(doc, path, gbk=False):
    doc.saveas(path, encoding="gbk" if gbk else None)


# ------------------------------------------------------------ the checks
def turned_angle(site, to, degrees, ocs):
    d = ocs.to_wcs(Vec3(math.cos(math.radians(degrees)), math.sin(math.radians(degrees)), 0))
    d = ocs.from_wcs(site.vector(d, to))
    return math.atan2(d.y, d.x)


def angle_gap(a, b):  # radians, modulo a turn
    return abs(math.remainder(a - b, 2 * math.pi))


def features(e):
    """(kind, name, value) of every coordinate an entity holds: p a point
    (in the entity's object coordinates), d a direction, v a vector, a an
    angle in degrees, l a length. Names are the ezdxf attributes, removed
    from the comparison of what must be kept."""
    t, dxf, out = e.dxftype(), e.dxf, []

    def attr(kind, *names, default=None):
        for n in names:
            if dxf.hasattr(n) or default is not None:
                out.append((kind, n, dxf.get(n, default)))

    attr("p", "insert", "start", "end", "center", "location", "align_point", "defpoint",
         "text_midpoint", "defpoint2", "defpoint3", "defpoint4", "defpoint5", "vtx0", "vtx1",
         "vtx2", "vtx3")
    if t == "VERTEX":
        attr("p", "location")
    if t in ("XLINE", "RAY", "MTEXT"):
        attr("d", "unit_vector", "text_direction")
    if t == "ELLIPSE":
        attr("v", "major_axis")
    if t in ("SPLINE", "HELIX"):
        attr("d", "start_tangent", "end_tangent")
        out += [("p", "cp%d" % i, Vec3(v)) for i, v in enumerate(e.control_points)]
        out += [("p", "fp%d" % i, Vec3(v)) for i, v in enumerate(e.fit_points)]
    # An angle a drawing leaves out is 0, a block's scale 1: with a turn
    # or a scale they have to be written.
    if t in ("TEXT", "ATTRIB", "ATTDEF", "INSERT") or (t == "MTEXT" and not dxf.hasattr(
            "text_direction")):
        attr("a", "rotation", default=0.0)
    if t == "DIMENSION":
        attr("a", "text_rotation", "horizontal_direction")
        attr("a", "angle", default=0.0 if dxf.dimtype & 7 == 0 else None)
    if t == "INSERT":
        attr("l", "xscale", "yscale", default=1.0)
    if t in ("ARC",):
        attr("a", "start_angle", "end_angle")
    attr("l", "radius", "height", "char_height", "width", "const_width", "size", "view_height",
         "scale_x", "scale_y", "scale_factor")
    out += [f for k, n, v in NEW_FEATURES.get(t, ()) for f in [(k, n, dxf.get(n))]
            if dxf.hasattr(n)]
    if t == "ATTRIB" and e.has_embedded_mtext_entity:
        m = e.virtual_mtext_entity().dxf
        out += [("p", "mt.insert", m.insert), ("l", "mt.char_height", m.char_height),
                ("l", "mt.width", m.width)]
        out += [("d", "mt.direction", m.text_direction)] if m.hasattr("text_direction") else [
            ("a", "mt.rotation", m.get("rotation", 0.0))]
    if t == "MLINE":
        for i, v in enumerate(e.vertices):
            out += [("p", "v%d" % i, v.location), ("d", "v%dd" % i, v.line_direction),
                    ("d", "v%dm" % i, v.miter_direction)]
            params = [x for element in v.line_params + v.fill_params for x in element]
            out += [("l", "v%dp%d" % (i, k), x) for k, x in enumerate(params)]
    if t == "MULTILEADER":
        out += multileader_features(e)
    if t in ("TEXT", "ATTRIB", "ATTDEF") and "width" in [o[1] for o in out]:
        out = [o for o in out if o[1] != "width"]  # the width factor is no length
    if t == "MTEXT" and e.has_columns:
        attr("l", "defined_height")
        columns = e.columns
        out += [("l", "cw", columns.width), ("l", "cg", columns.gutter_width),
                ("l", "ct", columns.total_width), ("l", "ch", columns.total_height)]
        out += [("l", "c%d" % i, h) for i, h in enumerate(columns.heights)]
    if t == "LWPOLYLINE":
        z = dxf.get("elevation", 0)
        # The vertices' height, checked with them; 0 when not written, as
        # a height offset may write it.
        attr("c", "elevation", default=0.0)
        for i, (x, y, sw, ew, bulge) in enumerate(e.get_points("xyseb")):
            out += [("p", "v%d" % i, Vec3(x, y, z)), ("l", "sw%d" % i, sw), ("l", "ew%d" % i, ew),
                    ("k", "b%d" % i, bulge)]
    if t == "POLYLINE" and not dxf.flags & 8:  # a 2D polyline's height
        attr("h", "elevation")
    if t == "LEADER":  # a horizontal direction left out is DXF x
        attr("d", "horizontal_direction", default=Vec3(1, 0, 0))
        attr("v", "leader_offset_block_ref", "leader_offset_annotation_placement")
        out += [("p", "v%d" % i, Vec3(v)) for i, v in enumerate(e.vertices)]
    if t == "HATCH":
        z = dxf.elevation.z
        attr("c", "elevation")
        for i, path in enumerate(e.paths):
            n = "path%d" % i
            if hasattr(path, "vertices"):
                for j, (x, y, bulge) in enumerate(path.vertices):
                    out += [("p", n + "v%d" % j, Vec3(x, y, z)), ("k", n + "b%d" % j, bulge)]
                continue
            for j, edge in enumerate(path.edges):
                m = "%se%d" % (n, j)
                kind = edge.type.name
                if kind == "LINE":
                    out += [("p", m + "s", Vec3(*edge.start, z)), ("p", m + "e", Vec3(*edge.end, z))]
                elif kind == "ARC":
                    out += [("p", m + "c", Vec3(*edge.center, z)), ("l", m + "r", edge.radius),
                            ("a", m + "a0", edge.start_angle), ("a", m + "a1", edge.end_angle)]
                elif kind == "ELLIPSE":
                    out += [("p", m + "c", Vec3(*edge.center, z)),
                            ("v", m + "m", Vec3(*edge.major_axis, 0)), ("k", m + "q", edge.ratio)]
                elif kind == "SPLINE":
                    out += [("p", m + "cp%d" % k, Vec3(v[0], v[1], z))
                            for k, v in enumerate(edge.control_points)]
                    out += [("p", m + "fp%d" % k, Vec3(v[0], v[1], z))
                            for k, v in enumerate(edge.fit_points)]
                    for k, tan in (("t0", edge.start_tangent), ("t1", edge.end_tangent)):
                        if tan is not None:
                            out.append(("d", m + k, Vec3(tan[0], tan[1], 0)))
        out += [("p", "seed%d" % i, Vec3(x, y, z)) for i, (x, y) in enumerate(e.seeds)]
        if e.pattern:
            attr("a", "pattern_angle")
            attr("l", "pattern_scale")
            for i, line in enumerate(e.pattern.lines):
                out += [("a", "pl%da" % i, line.angle), ("p", "pl%db" % i, Vec3(*line.base_point, z)),
                        ("v", "pl%do" % i, Vec3(*line.offset, 0))]
                out += [("l", "pl%dd%d" % (i, k), d) for k, d in enumerate(line.dash_length_items)]
    return out


# Coordinates the new kinds hold as ezdxf names them, beyond those every
# kind is looked for under: (kind, attribute, unused).
NEW_FEATURES = {
    "IMAGE": [("v", "u_pixel", 0), ("v", "v_pixel", 0)],
    "WIPEOUT": [("v", "u_pixel", 0), ("v", "v_pixel", 0)],
    "TOLERANCE": [("d", "x_axis_vector", 0)],
    "SHAPE": [("a", "rotation", 0)],
    "HELIX": [("p", "axis_base_point", 0), ("p", "start_point", 0), ("d", "axis_vector", 0)],
    "PDFUNDERLAY": [("a", "rotation", 0)],
    "DWFUNDERLAY": [("a", "rotation", 0)],
    "DGNUNDERLAY": [("a", "rotation", 0)],
    "LARGE_RADIAL_DIMENSION": [("p", "chord_point", 0), ("p", "override_center", 0),
                               ("p", "jog_point", 0), ("l", "unknown2", 0)],
    "MLINE": [("p", "start_location", 0)],
    "ARC_DIMENSION": [("p", "leader_point1", 0), ("p", "leader_point2", 0),
                      ("r", "start_angle", 0), ("r", "end_angle", 0)],
    "VIEWPORT": [("q", "view_center_point", 0)],
    "MULTILEADER": [("l", "arrow_head_size", 0), ("l", "dogleg_length", 0), ("l", "scale", 0),
                    ("s", "block_scale_vector", 0), ("r", "block_rotation", 0)],
}


def multileader_features(e):
    """A MULTILEADER's context data, its leaders and their lines."""
    c, out = e.context, []
    out += [("p", "c.base", c.base_point), ("p", "c.origin", c.plane_origin),
            ("d", "c.xaxis", c.plane_x_axis), ("d", "c.yaxis", c.plane_y_axis)]
    out += [("l", "c." + n, getattr(c, n)) for n in (
        "scale", "char_height", "arrow_head_size", "landing_gap_size")]
    if c.mtext:
        t = c.mtext
        out += [("p", "t.insert", t.insert), ("d", "t.direction", t.text_direction),
                ("r", "t.rotation", t.rotation)]
        out += [("l", "t." + n, getattr(t, n)) for n in (
            "width", "defined_height", "column_width", "column_gutter_width")]
    if c.block:
        b = c.block
        out += [("p", "b.insert", b.insert), ("s", "b.scale", b.scale),
                ("r", "b.rotation", b.rotation), ("m", "b.matrix", list(b._matrix))]
    for i, leader in enumerate(c.leaders):
        n = "leader%d" % i
        out += [("p", n + "last", leader.last_leader_point),
                ("d", n + "dogleg", leader.dogleg_vector), ("l", n + "length", leader.dogleg_length)]
        out += [("p", n + "break%d" % k, v) for k, v in enumerate(leader.breaks)]
        for j, line in enumerate(leader.lines):
            out += [("p", "%sline%dv%d" % (n, j, k), v) for k, v in enumerate(line.vertices)]
    return out


def edge_ends(edge):
    """An edge's start and end, in its hatch's object coordinates, as the
    path runs: an arc or ellipse edge read as DXF defines it (ezdxf gives
    a clockwise edge's angles counted counter-clockwise, start and end
    swapped), an ellipse's angles counted from its major axis."""
    kind = edge.type.name
    if kind == "LINE":
        return Vec3(*edge.start, 0), Vec3(*edge.end, 0)
    if kind not in ("ARC", "ELLIPSE"):
        return None
    centre = Vec3(*edge.center, 0)

    def at(degrees):
        a = math.radians(degrees)
        if kind == "ARC":
            return centre + Vec3(math.cos(a), math.sin(a), 0) * edge.radius
        u = Vec3(*edge.major_axis, 0)
        big, small = u.magnitude, u.magnitude * edge.ratio
        r = big * small / math.hypot(small * math.cos(a), big * math.sin(a))
        u = u.normalize()
        return centre + (u * math.cos(a) + Vec3(-u.y, u.x, 0) * math.sin(a)) * r

    ends = at(edge.start_angle), at(edge.end_angle)
    return ends if edge.ccw else ends[::-1]


def embedded_agree(label, text):
    """An MTEXT's embedded object repeats its insertion point (11, 21) and
    direction (10, 20), which ezdxf does not read when the MTEXT has its
    own: in the converted drawing they still agree, value for value."""
    groups = [(code, value.strip()) for code, _, value in tags(text)]
    for i, (code, value) in enumerate(groups):
        if (code, value) != (0, b"MTEXT"):
            continue
        end = next((j for j in range(i + 1, len(groups)) if groups[j][0] == 0), len(groups))
        unit = groups[i:end]
        cut = next((j for j, g in enumerate(unit) if g[0] == 101), None)
        if cut is None:
            continue
        own, embedded = dict(unit[:cut]), dict(unit[cut:])
        check(label + ": an MTEXT's embedded point and direction are its own",
              (embedded[11], embedded[21], embedded[10], embedded[20]) ==
              (own[10], own[20], own[11], own[21]), "%r %r" % (own, embedded))


def hatch_edges_hold(label, site, to, before, after, tol=POINT_TOL):
    """Every edge of every hatch path starts and ends where the moved
    original's does, and a closed boundary stays closed."""
    olds = before.modelspace().query("HATCH")
    for old, new in zip(olds, after.modelspace().query("HATCH")):
        ocs, z = ocs_of(old), old.dxf.elevation.z
        for i, (a, b) in enumerate(zip(old.paths, new.paths)):
            if not hasattr(a, "edges"):
                continue
            what = "%s: HATCH %s path %d" % (label, old.dxf.handle, i)
            for j, (ea, eb) in enumerate(zip(a.edges, b.edges)):
                want, got = edge_ends(ea), edge_ends(eb)
                if want is None:
                    continue
                for k in (0, 1):
                    w = ocs_of(new).from_wcs(site.point(ocs.to_wcs(want[k].replace(z=z)), to))
                    check("%s edge %d %s" % (what, j, ("start", "end")[k]),
                          abs(w.x - got[k].x) <= tol and abs(w.y - got[k].y) <= tol,
                          "%s want %r got %r" % (ea.type.name, w, got[k]))


def ocs_of(e):
    return OCS(e.dxf.get("extrusion", (0, 0, 1)) if e.dxf.is_supported("extrusion") else (0, 0, 1))


# Entities whose points are in world coordinates (a DIMENSION's text and
# clone points are in object coordinates, the same for the drawings' flat
# dimensions), and 3D polylines' VERTEXes; CIRCLE, ARC, TEXT, INSERT,
# LWPOLYLINE, HATCH, SOLID, TRACE and 2D VERTEXes hold object coordinates.
WORLD = {"LINE", "POINT", "LEADER", "SPLINE", "ELLIPSE", "XLINE", "RAY", "3DFACE", "MTEXT",
         "DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "MULTILEADER", "IMAGE", "WIPEOUT",
         "MLINE", "TOLERANCE", "HELIX", "VIEWPORT"}


def expect(site, to, e, kind, value):
    ocs = ocs_of(e)
    world = e.dxftype() in WORLD or (e.dxftype() == "VERTEX" and e.dxf.flags & 32)
    if kind == "p":
        v = Vec3(value)
        return site.point(v, to) if world else ocs.from_wcs(site.point(ocs.to_wcs(v), to))
    if kind in "dv":
        v = Vec3(value)
        w = site.vector(v if world else ocs.to_wcs(v), to)
        w = w if world else ocs.from_wcs(w)
        return w.normalize() if kind == "d" else w
    if kind == "a":
        return turned_angle(site, to, value, OCS() if world else ocs)
    if kind == "l":
        return site.length(value, to)
    if kind == "r":  # radians, in the plane of the drawing
        return turned_angle(site, to, math.degrees(value), OCS())
    if kind == "q":  # a point of the plan: its height (none) kept
        return site.point(Vec3(value), to).replace(z=Vec3(value).z)
    if kind == "s":  # scale factors: x and y scaled, z kept
        v = Vec3(value)
        return Vec3(site.length(v.x, to), site.length(v.y, to), v.z)
    if kind == "m":  # a block's matrix, row by row: the motion after it
        m, out = list(value), list(value)
        for j in range(4):
            column = Vec3(m[j], m[4 + j], m[8 + j])
            w = m[12 + j]
            moved = site.point(column, to) if w == 1 else site.vector(column, to)
            out[j], out[4 + j], out[8 + j] = moved.x, moved.y, moved.z
        return out
    if kind == "h":  # (0, 0, height) in object coordinates: only the height moves
        v, up = Vec3(value), ocs.to_wcs(Vec3(0, 0, 1)).z
        return Vec3(v.x, v.y, site.point(Vec3(0, 0, v.z * up), to).z * up)
    return value


def agree(kind, want, got):
    if kind == "m":
        return all(abs(g - w) <= POINT_TOL for g, w in zip(got, want))
    if kind == "r":
        return angle_gap(got, want) <= ANGLE_TOL
    if kind in "pvhqs":
        return all(abs(g - w) <= POINT_TOL for g, w in zip(Vec3(got), want))
    if kind == "c":  # covered by the points it stands for
        return True
    if kind == "d":
        g = Vec3(got)
        return g.magnitude > 0 and (g.normalize() - want).magnitude <= ANGLE_TOL
    if kind == "a":
        return angle_gap(math.radians(got), want) <= ANGLE_TOL
    if kind == "l":
        return abs(got - want) <= 1e-12 * max(1.0, abs(want))
    return got == want


def kept_attributes(e, names):
    return {k: v for k, v in e.dxf.all_existing_dxf_attribs().items() if k not in names}


def world_blocks(doc):
    """Block definitions drawn in world coordinates: the dimensions' *D."""
    return {d.dxf.geometry for d in doc.modelspace().query("DIMENSION ARC_DIMENSION")
            if d.dxf.hasattr("geometry")}


def compare(label, site, to, before, after):
    """before and after are ezdxf documents of a drawing and its conversion."""
    moved = world_blocks(before)
    layouts = [("model space", before.modelspace(), after.modelspace(), True)]
    for block in before.blocks:
        if block.name.lower() in ("*model_space",):
            continue
        layouts.append((block.name, block, after.blocks.get(block.name), block.name in moved))
    for name, old, new, transformed in layouts:
        if new is None:
            check("%s: block %s kept" % (label, name), False)
            continue
        old_list, new_list = list(old), list(new)
        check("%s: %s holds the same entities" % (label, name),
              [(e.dxftype(), e.dxf.handle) for e in old_list] ==
              [(e.dxftype(), e.dxf.handle) for e in new_list])
        for a, b in zip(old_list, new_list):
            subs = [(a, b)]
            if a.dxftype() == "INSERT":
                subs += list(zip(a.attribs, b.attribs))
            if a.dxftype() == "POLYLINE":
                subs += list(zip(a.vertices, b.vertices))
            for x, y in subs:
                feats_x, feats_y = features(x), features(y)
                names = {f[1] for f in feats_x}
                what = "%s: %s %s (handle %s)" % (label, name, x.dxftype(), x.dxf.handle)
                check(what + ": everything but coordinates kept",
                      kept_attributes(x, names) == kept_attributes(y, names),
                      str(set(kept_attributes(x, names).items()) ^
                          set(kept_attributes(y, names).items()))[:300])
                got = {n: v for _, n, v in feats_y}
                if [f[:2] for f in feats_x] != [f[:2] for f in feats_y]:
                    check(what + ": the same coordinates", False, "%s to %s" % (
                        [f[1] for f in feats_x], [f[1] for f in feats_y]))
                    continue
                for kind, n, v in feats_x:
                    w = got[n]
                    want = expect(site if transformed else IDENTITY, to, x, kind, v)
                    check(what + " " + n, agree(kind, want, w), "want %r got %r" % (want, w))


def float_code(code):
    return 10 <= code <= 59 or 110 <= code <= 149 or 210 <= code <= 239 or 1010 <= code <= 1059


def tags(text):
    lines = text.splitlines(keepends=True)
    return [(int(lines[i]), lines[i], lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


def raw_diff(label, before, after):
    """Group by group: the same group codes and line ends, and the values of
    every group that cannot hold a coordinate the same bytes; groups added
    only for coordinates (an angle or a scale the drawing left out). Values
    change only in model space's entities, the world-coordinate blocks of
    dimensions, the header's extents and the active view."""
    a, b = tags(before), tags(after)
    i = j = 0
    bad = []
    section = block = variable = entity = b""
    while i < len(a) and j < len(b):
        (code, c0, v0), (_, c1, v1) = a[i], b[j]
        value = v0.strip()
        if code == 0 and value == b"SECTION":
            section = a[i + 1][2].strip() if i + 1 < len(a) else b""
        elif code == 0:
            entity = value
        elif code == 2 and entity == b"BLOCK":
            block = value
        elif code == 9:
            variable = value
        movable = (section == b"ENTITIES" or (section == b"BLOCKS" and block.startswith(b"*D"))
                   or (section == b"HEADER" and variable in (b"$EXTMIN", b"$EXTMAX")) or
                   (section == b"TABLES" and entity == b"VPORT"))
        if c0 != c1:
            if float_code(b[j][0]) and movable:
                j += 1
                continue
            bad.append("group %d" % (i + 1))
            break
        if v0 != v1 and (not float_code(code) or not movable or
                         v0.endswith(b"\r\n") != v1.endswith(b"\r\n")):
            bad.append("group %d: %r to %r" % (i + 1, v0, v1))
        i, j = i + 1, j + 1
    if (i, j) != (len(a), len(b)):
        bad.append("ends at groups %d and %d of %d and %d" % (i, j, len(a), len(b)))
    check(label + ": only coordinates' values changed", not bad, str(bad[:3]))


def cli(program, *args, cwd=None):
    r = subprocess.run([program, *args], capture_output=True, cwd=cwd)
    return r.returncode, r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")


def extents_hold(label, site, to, before, after):
    header = after.header
    lo, hi = Vec3(header["$EXTMIN"]), Vec3(header["$EXTMAX"])
    if before.header["$EXTMIN"][0] > before.header["$EXTMAX"][0]:  # none recorded: none made up
        check(label + ": no extents, none made up", lo.x > hi.x, "%r %r" % (lo, hi))
        return
    outside = []
    for e in before.modelspace():
        for kind, n, v in features(e):
            # Lines without ends, and points that place nothing: the plane a
            # MULTILEADER is drawn in, an arc dimension's leader not drawn.
            if kind != "p" or e.dxftype() in ("XLINE", "RAY", "DIMENSION", "HATCH") or n in (
                    "c.origin", "leader_point1", "leader_point2"):
                continue
            w = expect(site, to, e, kind, v)
            if e.dxftype() not in WORLD:
                w = ocs_of(e).to_wcs(w)
            if not (lo.x - 1e-6 <= w.x <= hi.x + 1e-6 and lo.y - 1e-6 <= w.y <= hi.y + 1e-6):
                outside.append("%s %s" % (e.dxftype(), n))
    check(label + ": $EXTMIN and $EXTMAX hold the drawing", not outside, str(outside[:3]))
    active = after.viewports.get("*Active")
    centre = Vec3(active[0].dxf.center) if active else None
    check(label + ": the active view shows the drawing", centre is not None and
          lo.x <= centre.x <= hi.x and lo.y <= centre.y <= hi.y, "%r in %r %r" % (centre, lo, hi))


# ------------------------------------------------------------ the cases
def random_site(rng, scale=True):
    angle = "%d.%02d%02d%02d" % (rng.randrange(360), rng.randrange(60), rng.randrange(60),
                                 rng.randrange(100))
    k = 1 + rng.uniform(-300e-6, 300e-6) if scale else 1.0
    return Site(round(3400000 + rng.uniform(0, 90000), 4), round(500000 + rng.uniform(0, 90000), 4),
                angle, round(k, 9))


def drawings(folder, rng):
    """The sample drawings: name -> (path, site it is drawn on)."""
    os.makedirs(folder, exist_ok=True)
    out = {}
    for version in VERSIONS:
        site = random_site(rng)
        gbk = version in ("R2000", "R2004")
        doc = site_drawing(version, site.dy + rng.uniform(-500, 500), site.dx + rng.uniform(-500, 500),
                           rng, gbk)
        lo, hi = extents(doc)
        doc.modelspace().dxf.extmin, doc.modelspace().dxf.extmax = lo, hi
        doc.set_modelspace_vport(height=hi.y - lo.y, center=(lo + hi) / 2)  # as CAD saves it
        path = os.path.join(folder, "site-%s%s.dxf" % (version, "-gbk" if gbk else ""))
        write(doc, path, gbk)
        out[version] = (path, site)
    return out


def extents(doc):
    from ezdxf import bbox
    box = bbox.extents(doc.modelspace())
    return box.extmin, box.extmax


EVERY_KIND = {"POINT", "LINE", "XLINE", "RAY", "CIRCLE", "ARC", "ELLIPSE", "LWPOLYLINE", "POLYLINE",
              "SPLINE", "TEXT", "MTEXT", "INSERT", "DIMENSION", "LEADER", "HATCH", "SOLID", "TRACE",
              "3DFACE"}


def conversion_cases(program, work, rng):
    drawings_made = drawings(os.path.join(work, "drawings"), rng)
    for version, (path, site) in drawings_made.items():
        label = os.path.basename(path)
        kinds = {e.dxftype() for e in ezdxf.readfile(path).modelspace()}
        check(label + ": holds every kind of entity", kinds >= (
            EVERY_KIND - MODERN if version == "R12" else EVERY_KIND) | {
                k for k, first, _ in NEW_KINDS if version >= first and k != "ATTRIB"},
              str(EVERY_KIND - kinds))
        stem = path[:-4]
        original = open(path, "rb").read()
        status, out, err = cli(program, "convert", *site.args(), path)
        result = stem + "转化后.dxf"
        check(label + ": converted", status == 0 and os.path.exists(result), err.strip())
        if status != 0 or not os.path.exists(result):
            continue
        check(label + ": the drawing itself untouched", open(path, "rb").read() == original)
        before, after = ezdxf.readfile(path), ezdxf.readfile(result)
        compare(label + " to construction", site, "construction", before, after)
        raw_diff(label + " to construction", original, open(result, "rb").read())
        extents_hold(label + " to construction", site, "construction", before, after)
        hatch_edges_hold(label + " to construction", site, "construction", before, after)
        embedded_agree(label + " to construction", open(result, "rb").read())
        if version in ("R2000", "R2018"):
            tail = ezdxf.readfile(result).modelspace().query("TEXT")
            check(label + ": Chinese text read back",
                  any(t.dxf.text == "测站 A" for t in tail), str([t.dxf.text for t in tail]))
        back = stem + "-back.dxf"
        status, out, err = cli(program, "convert", *site.args(), "--to=survey", "-o", back, result)
        check(label + ": converted back", status == 0, err.strip())
        if status != 0:
            continue
        again = ezdxf.readfile(back)
        compare(label + " back to survey", site, "survey", after, again)
        hatch_edges_hold(label + " back to survey", site, "survey", after, again)
        # There and back: the original coordinates (the identity, read as a site of its own).
        compare(label + " there and back", IDENTITY, "survey", before, again)
        # A site of no turn, no shift and no scale leaves every byte.
        same = stem + "-same.dxf"
        status, _, err = cli(program, "convert", "--dx=0", "--dy=0", "--angle=0", "--scale=1",
                             "-o", same, path)
        check(label + ": no turn, shift or scale: byte for byte",
              status == 0 and open(same, "rb").read() == original, err.strip())
    # A height offset: every height moves by H0, in world coordinates.
    path, site = drawings_made["R2010"]
    site = Site(site.dx, site.dy, site.angle, site.scale, dh=100.5)
    status, _, err = cli(program, "convert", *site.args(), "-o", work + "/dh.dxf", path)
    check("R2010 with --dh: converted", status == 0, err.strip())
    if status == 0:
        before, after = ezdxf.readfile(path), ezdxf.readfile(work + "/dh.dxf")
        compare("R2010 with --dh", site, "construction", before, after)
        for name in ("$EXTMIN", "$EXTMAX"):  # the header's box holds the shifted heights
            z, shifted = Vec3(before.header[name]).z, Vec3(after.header[name]).z
            check("R2010 with --dh: %s's z shifted" % name, abs(shifted - (z - site.dh)) <= POINT_TOL,
                  "%r to %r" % (z, shifted))
    # Not asked to move, the heights stay as drawn: the model without H0.
    plain = Site(site.dx, site.dy, site.angle, site.scale)
    status, _, err = cli(program, "convert", *plain.args(), "--dh=100.5", "-o", work + "/kept.dxf",
                         path)
    check("R2010 with --dh, heights not asked: converted", status == 0, err.strip())
    check("R2010 with --dh, heights not asked: noted", "heights kept: not asked" in err, err)
    if status == 0:
        compare("R2010 with --dh, heights not asked", plain, "construction", ezdxf.readfile(path),
                ezdxf.readfile(work + "/kept.dxf"))
    # Asked to move, a plan drawing (every z and elevation 0) stays flat: it
    # once came out at z = -H0, its polylines given an elevation.
    flat = ezdxf.new("R2010")
    msp = flat.modelspace()
    east, north = site.dy + 40, site.dx - 25
    msp.add_line((east, north), (east + 30, north + 12))
    msp.add_circle((east + 5, north + 5), 2.5)
    msp.add_lwpolyline([(east, north), (east + 8, north), (east + 8, north + 6)])
    msp.add_text("平面", dxfattribs={"insert": (east + 1, north + 2), "height": 1.5})
    msp.add_point((east + 3, north + 4))
    flat_path = os.path.join(work, "flat.dxf")
    write(flat, flat_path)
    status, _, err = cli(program, "convert", *site.args(), "-o", work + "/flat-c.dxf", flat_path)
    check("plan with --dh: converted", status == 0, err.strip())
    check("plan with --dh: noted", "plan drawing" in err, err)
    if status == 0:
        before, after = ezdxf.readfile(flat_path), ezdxf.readfile(work + "/flat-c.dxf")
        compare("plan with --dh", plain, "construction", before, after)
        for e in after.modelspace():
            heights = [Vec3(v).z if kind == "p" else v for kind, _, v in features(e)
                       if kind in ("p", "c")]
            check("plan with --dh: %s flat" % e.dxftype(), all(h == 0 for h in heights),
                  repr(heights))
    # North first, and line ends CR LF.
    rng2 = random.Random(5)
    site = random_site(rng2)
    site.axis = "north-east"
    doc = site_drawing("R2010", site.dx, site.dy, rng2)
    path = os.path.join(work, "north-first.dxf")
    write(doc, path)
    crlf = open(path, "rb").read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    open(path, "wb").write(crlf)
    status, _, err = cli(program, "convert", *site.args(), "-o", work + "/north-first-c.dxf", path)
    check("north-first CR LF drawing converted", status == 0, err.strip())
    if status == 0:
        compare("north-first CR LF", site, "construction", ezdxf.readfile(path),
                ezdxf.readfile(work + "/north-first-c.dxf"))
        raw_diff("north-first CR LF", crlf, open(work + "/north-first-c.dxf", "rb").read())


def a_text_along_its_line(program, work):
    """The sign of the turn, by the geometry: a TEXT drawn along a LINE is
    along it after the conversion, on a site of 30 degrees."""
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_line((500100, 3400100), (502100, 3400100))
    msp.add_text("ALONG", dxfattribs={"rotation": 0, "insert": (500100, 3400100)})
    path = os.path.join(work, "along.dxf")
    doc.saveas(path)
    status, _, err = cli(program, "convert", "--dx=3400000", "--dy=500000", "--angle=30",
                         "-o", path + ".c.dxf", path)
    check("text along its line: converted", status == 0, err)
    if status == 0:
        d = ezdxf.readfile(path + ".c.dxf").modelspace()
        line, text = d.query("LINE")[0], d.query("TEXT")[0]
        run = line.dxf.end - line.dxf.start
        check("text along its line: along it",
              angle_gap(math.atan2(run.y, run.x), math.radians(text.dxf.rotation)) <= ANGLE_TOL,
              "line %r text %r" % (run, text.dxf.rotation))
        # Survey X is north: a line running east is turned 30 degrees (of
        # the program's pi) counter-clockwise towards the construction X.
        check("text along its line: turned 30 degrees", angle_gap(math.radians(
            text.dxf.rotation), 30 / 180 * 3.1415926535) <= ANGLE_TOL, repr(text.dxf.rotation))


# ------------------------------------------------------- sloping planes
# Normals of sloping planes: leaning every way, upright-ish, facing down,
# and within 1/64 of the vertical, whose x axis comes from the world's y
# and whose angles turn with the grids.
SLOPES = [(0.3, -0.2, 0.93), (0.0, 0.6, 0.8), (-0.3, 0.2, -0.93), (0.012, -0.009, 1.0)]


def sloping_drawing(version, east, north, rng, world_only=False):
    """Entities drawn in sloping planes: in each plane's object coordinates
    at one height, or in world coordinates with a sloping extrusion."""
    doc = ezdxf.new(version, setup=True)
    msp = doc.modelspace()
    tree = doc.blocks.new("TREE")
    tree.add_circle((0, 0), 1.5)
    tree.add_attdef("NAME", (0, -2), dxfattribs={"height": 0.8})
    for i, n in enumerate(SLOPES):
        ocs, a = OCS(n), {"extrusion": n}
        world = Vec3(east + 300 * i + rng.uniform(-1, 1), north + rng.uniform(-1, 1), 40)
        base = ocs.from_wcs(world)

        def o(x, y):  # a point of the plane, in its object coordinates
            return Vec3(base.x + x, base.y + y, base.z)

        def w(x, y):  # the same in world coordinates
            return ocs.to_wcs(o(x, y))

        msp.add_line(w(0, 0), w(12, 5), dxfattribs={**a, "thickness": 0 if world_only else 1.5})
        msp.add_point(w(3, 4), dxfattribs={**a, "angle": 25})
        if world_only:
            if version != "R12":
                spline = msp.add_spline([w(0, 30), w(10, 40), w(20, 30)], dxfattribs=a)
                spline.dxf.start_tangent = ocs.to_wcs(Vec3(1, 1, 0)).normalize()
            continue
        msp.add_circle(o(10, 10), 4, dxfattribs=a)
        msp.add_arc(o(20, 10), 3, 20, 250, dxfattribs=a)
        msp.add_text("SLOPE", dxfattribs={**a, "height": 1.5, "rotation": 35}).set_pos(o(30, 10))
        msp.add_text("ALIGNED", dxfattribs={**a, "height": 1.0}).set_pos(
            o(30, 20), o(45, 24), align="ALIGNED")
        msp.add_blockref("TREE", o(50, 10), dxfattribs={**a, "rotation": 61.5}).add_auto_attribs(
            {"NAME": "T1"})
        msp.add_blockref("TREE", o(60, 10), dxfattribs=a)  # at 0°: its rotation written out
        msp.add_polyline2d([o(0, 40), o(10, 45), o(20, 40)],
                           dxfattribs={**a, "elevation": (0, 0, base.z)})
        msp.add_solid([o(70, 0), o(75, 0), o(70, 5), o(75, 6)], dxfattribs=a)
        msp.add_trace([o(80, 0), o(85, 0), o(80, 5), o(85, 6)], dxfattribs=a)
        if version == "R12":
            continue
        msp.add_lwpolyline([(*xy(o(0, 60)), 0.2, 0.4, 0.5), (*xy(o(20, 60)), 0.4, 0.2, 0),
                            (*xy(o(20, 80)), 0, 0, -0.3)], format="xyseb",
                           dxfattribs={**a, "elevation": base.z})
        msp.add_ellipse(w(40, 60), major_axis=ocs.to_wcs(Vec3(8, 3, 0)), ratio=0.4,
                        start_param=0.3, end_param=5.1, dxfattribs=a)
        msp.add_mtext("SLOPE\\P2", dxfattribs={
            **a, "insert": w(60, 60), "char_height": 2.0, "width": 25.0,
            "text_direction": ocs.to_wcs(Vec3.from_deg_angle(30))})
        hatch = msp.add_hatch(color=2, dxfattribs={**a, "elevation": (0, 0, base.z)})
        hatch.paths.add_polyline_path([xy(o(0, 90)), xy(o(30, 90)), xy(o(30, 110))],
                                      is_closed=True)
        hatch.set_pattern_fill("ANSI31", scale=0.5, angle=15)
        hatch.set_seed_points([xy(o(20, 95))])
        edges = msp.add_hatch(color=5, dxfattribs={**a, "elevation": (0, 0, base.z)})
        path, c = edges.paths.add_edge_path(), o(60, 100)
        path.add_arc((c.x, c.y), 10, 0, 90, ccw=False)  # from c + (0, 10) to c + (10, 0)
        path.add_line((c.x + 10, c.y), (c.x + 10, c.y - 10))
        path.add_ellipse((c.x, c.y - 10), (10, 0), 0.5, 180, 360, ccw=False)
        path.add_line((c.x - 10, c.y - 10), (c.x, c.y + 10))
    return doc


OWNERS = {}  # id of a VERTEX -> its POLYLINE


OCS_WORLD = OCS()


def plane_of(e):
    """The object coordinates of an entity, a VERTEX's its polyline's."""
    if e.dxftype() == "VERTEX":
        return OCS_WORLD if e.dxf.flags & 32 else ocs_of(OWNERS[id(e)])
    return OCS_WORLD if e.dxftype() in WORLD else ocs_of(e)


def exact_axes(e):
    """The arbitrary-axis algorithm in 40 digits: the axes of the object
    coordinates of `e` (its extrusion as written), or the world's."""
    if plane_of(e) is OCS_WORLD:
        return None
    owner = OWNERS[id(e)] if e.dxftype() == "VERTEX" else e
    z = [Decimal(v) for v in owner.dxf.get("extrusion", (0, 0, 1))]

    def unit(v):
        length = sum(c * c for c in v).sqrt()
        return [c / length for c in v]

    def cross(a, b):
        return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]

    z = unit(z)
    near = abs(z[0]) < Decimal(1) / 64 and abs(z[1]) < Decimal(1) / 64
    x = unit(cross([0, 1, 0] if near else [0, 0, 1], z))
    return x, unit(cross(z, x)), z


def exact_point(site, to, old, new, p):
    """A point of `old` where the textbook formula puts it, in the object
    coordinates of `new`, in 40 digits: a model whose own rounding is far
    below the 1e-9 m asked (a double at 5e6 m holds 4.7e-10 m)."""
    getcontext().prec = 40
    was, now = exact_axes(old), exact_axes(new)
    p = [Decimal(c) for c in p]
    w = [sum(was[i][k] * p[i] for i in range(3)) for k in range(3)] if was else p
    X, Y = (w[1], w[0]) if site.axis == "east-north" else (w[0], w[1])
    k, c, s, z = Decimal(site.scale), Decimal(site.c), Decimal(site.s), w[2]
    if site.dh is not None:
        z += Decimal(repr(site.dh)) * (1 if to == "survey" else -1)
    if to == "survey":
        X, Y = Decimal(site.dx) + k * (c * X - s * Y), Decimal(site.dy) + k * (s * X + c * Y)
    else:
        X, Y = X - Decimal(site.dx), Y - Decimal(site.dy)
        X, Y = (c * X + s * Y) / k, (-s * X + c * Y) / k
    w = [Y, X, z] if site.axis == "east-north" else [X, Y, z]
    out = [sum(now[i][k] * w[k] for k in range(3)) for i in range(3)] if now else w
    return Vec3(*(float(v) for v in out))


def sloping_expect(site, to, old, new, kind, value):
    """What a coordinate of `old` (features' kind and value) becomes in the
    object coordinates of `new`: through the world and the textbook formula."""
    was, now = plane_of(old), plane_of(new)
    if kind == "p":
        return exact_point(site, to, old, new, Vec3(value))
    if kind == "h":  # (0, 0, height): the plane's height alone
        return Vec3(value).replace(z=exact_point(site, to, old, new, Vec3(value)).z)
    if kind in "dv":
        v = now.from_wcs(site.vector(was.to_wcs(Vec3(value)), to))
        return v.normalize() if kind == "d" else v
    if kind == "a":  # in the entity's plane, whatever its points
        d = ocs_of(new).from_wcs(site.vector(ocs_of(old).to_wcs(Vec3.from_deg_angle(value)), to))
        return math.atan2(d.y, d.x)
    if kind == "l":
        return site.length(value, to)
    return value


def sloping_features(e):
    """features(), with what a sloping plane adds: its normal, a POINT's
    angle, a hatch's elevation; a LINE's or POINT's angle is in its plane."""
    out = [f for f in features(e) if f[0] != "c"]
    if e.dxftype() == "POINT":
        out.append(("a", "angle", e.dxf.get("angle", 0.0)))
    if e.dxftype() == "HATCH":
        out.append(("h", "elevation", Vec3(e.dxf.elevation)))
    if e.dxftype() == "LWPOLYLINE":
        out.append(("h", "elevation", Vec3(0, 0, e.dxf.get("elevation", 0.0))))
    return out


# ezdxf's transform works in doubles along a path of its own, itself up to
# 7e-10 m off the exact value at 3.5e6 m: the two agree within 2e-9 m.
EZDXF_TOL = 2e-9


def sloping_agree(what, kind, want, got, tol=POINT_TOL):
    if kind == "a":  # both in radians here
        return check(what, angle_gap(math.radians(got), want) <= ANGLE_TOL, "want %r got %r" % (
            math.degrees(want), got))
    if kind in "pvh":
        return check(what, all(abs(g - w) <= tol for g, w in zip(Vec3(got), want)),
                     "want %r got %r" % (want, got))
    if kind == "k":
        return check(what, abs(got - want) <= 1e-12, "want %r got %r" % (want, got))
    return check(what, agree(kind, want, got), "want %r got %r" % (want, got))


def sloping_entities(layout):
    for e in layout:
        yield e
        if e.dxftype() == "INSERT":
            yield from e.attribs
        if e.dxftype() == "POLYLINE":
            for v in e.vertices:
                OWNERS[id(v)] = e
                yield v


def sloping_compare(label, site, to, before, after, ezdxf_too=True, tol=POINT_TOL):
    """Every entity of `after` where the model puts `before`'s, its normal
    the old one turned (k = 1: the moved plane's); and where ezdxf's own
    transform, with the matrix of the grids' motion, puts it."""
    origin = site.point(Vec3(0, 0, 0), to)
    m = ezdxf.math.Matrix44.ucs(site.vector(Vec3(1, 0, 0), to), site.vector(Vec3(0, 1, 0), to),
                                Vec3(0, 0, 1), origin)
    olds, news = list(sloping_entities(before.modelspace())), list(sloping_entities(
        after.modelspace()))
    check(label + ": the same entities", [(e.dxftype(), e.dxf.handle) for e in olds] ==
          [(e.dxftype(), e.dxf.handle) for e in news])
    for old, new in zip(olds, news):
        what = "%s: %s (handle %s)" % (label, old.dxftype(), old.dxf.handle)
        if old.dxf.is_supported("extrusion") and old.dxftype() != "VERTEX":
            n = Vec3(old.dxf.get("extrusion", (0, 0, 1)))
            # The moved plane's normal: the plan map's inverse transpose.
            v = site.vector(n.replace(z=0), to) / site.length(1, to) ** 2
            want = Vec3(v.x, v.y, n.z).normalize()
            got = Vec3(new.dxf.get("extrusion", (0, 0, 1)))
            check(what + ": its normal turned", (got.normalize() - want).magnitude <= ANGLE_TOL,
                  "want %r got %r" % (want, got))
            if old.dxf.is_supported("thickness"):
                check(what + ": its thickness kept",
                      old.dxf.get("thickness", 0) == new.dxf.get("thickness", 0))
        feats, got = sloping_features(old), {n: v for _, n, v in sloping_features(new)}
        for kind, name, value in feats:
            if name in got:
                sloping_agree("%s %s" % (what, name), kind,
                              sloping_expect(site, to, old, new, kind, value), got[name], tol)
            else:
                check("%s %s written" % (what, name), False)
        if not ezdxf_too or old.dxftype() in ("VERTEX", "ATTRIB"):
            continue
        moved = old.copy()
        moved.transform(m)
        subs = [(moved, new)]
        if old.dxftype() == "INSERT":
            subs += list(zip(moved.attribs, new.attribs))
        if old.dxftype() == "POLYLINE":
            subs += list(zip(moved.vertices, new.vertices))
            OWNERS.update({id(v): moved for v in moved.vertices})
        for x, y in subs:
            theirs, ours = sloping_features(x), {n: v for _, n, v in sloping_features(y)}
            for kind, name, value in theirs:
                # ezdxf moves neither a hatch's pattern nor its seeds, nor
                # turns a POINT's angle.
                if name.startswith(("pl", "seed", "pattern")) or (x.dxftype(), name) == (
                        "POINT", "angle"):
                    continue
                if kind == "a":
                    value = math.radians(value)
                if name not in ours:
                    check("%s %s as ezdxf transforms it" % (what, name), False, "not written")
                    continue
                sloping_agree("%s %s as ezdxf transforms it" % (what, name), kind, value,
                              ours[name], EZDXF_TOL)


def sloping_cases(program, work, rng):
    """Entities in sloping planes, on sites of scale 1: both ways, checked
    by the model and by ezdxf's transform; with a scale, world points alone."""
    folder = os.path.join(work, "sloping")
    os.makedirs(folder, exist_ok=True)
    for version in ("R12", "R2010", "R2018"):
        site = random_site(rng, scale=False)
        if version == "R2018":
            site = Site(site.dx, site.dy, site.angle, 1.0, dh=36.25)
        doc = sloping_drawing(version, site.dy + rng.uniform(-500, 500),
                              site.dx + rng.uniform(-500, 500), rng)
        path = os.path.join(folder, "sloping-%s.dxf" % version)
        write(doc, path)
        label = os.path.basename(path)
        original = open(path, "rb").read()
        result = path[:-4] + "-c.dxf"
        status, _, err = cli(program, "convert", *site.args(), "-o", result, path)
        check(label + ": converted", status == 0, err.strip())
        if status != 0:
            continue
        before, after = ezdxf.readfile(path), ezdxf.readfile(result)
        sloping_compare(label + " to construction", site, "construction", before, after)
        raw_diff(label + " to construction", original, open(result, "rb").read())
        # A model in doubles, through a sloping plane: within EZDXF_TOL.
        hatch_edges_hold(label + " to construction", site, "construction", before, after,
                         EZDXF_TOL)
        back = path[:-4] + "-back.dxf"
        status, _, err = cli(program, "convert", *site.args(), "--to=survey", "-o", back, result)
        check(label + ": converted back", status == 0, err.strip())
        if status == 0:
            again = ezdxf.readfile(back)
            sloping_compare(label + " back to survey", site, "survey", after, again)
            # Two conversions, each within 1e-9 m of the exact value.
            sloping_compare(label + " there and back", IDENTITY, "survey", before, again, False,
                            2 * POINT_TOL)
        same = path[:-4] + "-same.dxf"
        status, _, err = cli(program, "convert", "--dx=0", "--dy=0", "--angle=0", "--scale=1",
                             "-o", same, path)
        check(label + ": no turn, shift or scale: byte for byte",
              status == 0 and open(same, "rb").read() == original, err.strip())
    # With a scale a sloping plane stretches more one way than the other:
    # world points and directions are converted, the normal becomes the
    # moved plane's; what holds the plane's own points is refused.
    site = random_site(rng)
    for version in ("R12", "R2010"):
        doc = sloping_drawing(version, site.dy, site.dx, rng, world_only=True)
        path = os.path.join(folder, "scaled-%s.dxf" % version)
        write(doc, path)
        status, _, err = cli(program, "convert", *site.args(), "-o", path[:-4] + "-c.dxf", path)
        check(os.path.basename(path) + ": converted", status == 0, err.strip())
        if status == 0:
            sloping_compare(os.path.basename(path) + " to construction", site, "construction",
                            ezdxf.readfile(path), ezdxf.readfile(path[:-4] + "-c.dxf"), False)
    doc = sloping_drawing("R2010", site.dy, site.dx, rng)
    path = os.path.join(folder, "scaled-ocs.dxf")
    write(doc, path)
    status, _, err = cli(program, "convert", *site.args(), path)
    check("scaled-ocs.dxf: refused, naming the circle's sloping plane",
          status == 1 and "CIRCLE (sloping plane, scale not 1)" in err and
          not os.path.exists(path[:-4] + "转化后.dxf"), err)


def refusal_cases(program, work):
    folder = os.path.join(work, "refused")
    os.makedirs(folder, exist_ok=True)
    doc = ezdxf.new("R2010")
    doc.modelspace().add_line((0, 0), (1, 1))
    good = os.path.join(folder, "good.dxf")
    doc.saveas(good)
    rows = []  # (name, bytes, type named, handle named)

    def mesh():
        d = ezdxf.new("R2010")
        d.modelspace().add_line((0, 0), (1, 1))
        m = d.modelspace().add_mesh()
        with m.edit_data() as data:
            data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0)]
            data.faces = [(0, 1, 2)]
        return d, "MESH", m.dxf.handle

    def extrusion():  # made no direction below: damaged
        d = ezdxf.new("R2010")
        c = d.modelspace().add_circle((0, 0), 1, dxfattribs={"extrusion": (0, 1, 0)})
        return d, "CIRCLE", c.dxf.handle

    def solid():  # an ACIS body
        d = ezdxf.new("R2010")
        return d, "3DSOLID", d.modelspace().add_3dsolid().dxf.handle

    for make in (mesh, extrusion, solid):
        d, kind, handle = make()
        path = os.path.join(folder, kind.lower() + ".dxf")
        d.saveas(path)
        if make is extrusion:
            text = open(path, "rb").read()
            open(path, "wb").write(re.sub(rb"(\n *220\r?\n)1\.0(\r?\n)", rb"\g<1>0.0\2", text))
        rows.append((path, kind, handle))
    # A proxy entity, as ObjectARX applications leave them.
    text = open(good, "rb").read()
    proxy = b"  0\r\nACAD_PROXY_ENTITY\r\n  5\r\n2F\r\n330\r\n1F\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n"
    crlf = b"\r\n" in text
    if not crlf:
        proxy = proxy.replace(b"\r\n", b"\n")
    cut = text.index(b"ENTITIES") + len(b"ENTITIES") + (2 if crlf else 1)
    path = os.path.join(folder, "proxy.dxf")
    open(path, "wb").write(text[:cut] + proxy + text[cut:])
    rows.append((path, "ACAD_PROXY_ENTITY", "2F"))
    # What the user can do, for a kind the program does not convert; for
    # an ACIS body, how to make lines of it.
    advice = {"MESH": "explode it in CAD", "3DSOLID": "explode it in CAD until it is lines",
              "ACAD_PROXY_ENTITY": "explode it in CAD"}
    for path, kind, handle in rows:
        lines = open(path, "rb").read().splitlines()
        where = [i + 1 for i, l in enumerate(lines) if l.strip() == kind.encode()]
        if kind == "CIRCLE":  # its extrusion's line
            where = [i + 2 for i, l in enumerate(lines) if l.strip() == b"210"]
        # the line of the entity's type, or of the group code before it
        refused(program, path, kind, handle, [str(n) for n in where for n in (n - 1, n)],
                advice.get(kind))
    # Every entity that stops a drawing, named in one run.
    d, _, mesh_handle = mesh()
    solid_handle = d.modelspace().add_3dsolid().dxf.handle
    path = os.path.join(folder, "both.dxf")
    d.saveas(path)
    status, _, err = cli(program, "convert", "--dx=1", "--dy=2", "--angle=3", path)
    check("both.dxf: every entity that stops it named in one run", status == 1 and
          re.search(r"\n  MESH \(not converted\): 1, on line \d+ \(handle %s\)\n"
                    r"  3DSOLID \(an ACIS body, not converted\): 1, on line \d+ \(handle %s\)\n$" %
                    (mesh_handle, solid_handle), err) is not None, err)
    binary = os.path.join(folder, "binary.dxf")
    doc.saveas(binary, fmt="bin")
    refused(program, binary, "binary", None, None)
    dwg = os.path.join(folder, "site.dwg")
    open(dwg, "wb").write(b"AC1032\x00\x00\x00\x00\x00\x00")
    refused(program, dwg, "DWG", None, None, advice="DXF")
    # Each file all or nothing, as point files are: the good drawing's
    # result is written, the refused one's not, and the status tells.
    status, _, err = cli(program, "convert", "--dx=1", "--dy=2", "--angle=3", good,
                         os.path.join(folder, "mesh.dxf"))
    check("a good drawing and a refused one: status 1", status == 1, err)
    check("a good drawing and a refused one: the good one converted, the other not",
          os.path.exists(os.path.join(folder, "good转化后.dxf")) and
          not os.path.exists(os.path.join(folder, "mesh转化后.dxf")))


def refused(program, path, kind, handle, lines, advice=None):
    name = os.path.basename(path)
    result = path[:path.rfind(".")] + "转化后.dxf"
    open(result, "wb").write(b"an earlier result\n")
    status, out, err = cli(program, "convert", "--dx=3400000", "--dy=500000", "--angle=30", path)
    check(name + ": status 1", status == 1, "%d %s" % (status, err))
    check(name + ": the message names the file and " + kind, name in err and kind in err, err)
    if handle:
        check(name + ": the message names the handle", "handle " + handle in err, err)
    if lines:
        check(name + ": the message names the line",
              any(re.search(r"(line |:)%s\b" % n, err) for n in lines), "%s %s" % (lines, err))
    if advice:
        check(name + ": the message says what to do", advice in err, err)
    check(name + ": the earlier result kept", open(result, "rb").read() == b"an earlier result\n")
    os.remove(result)


def ogr_case(program, work, rng):
    """ogr2ogr reads the converted drawing and finds what its own -ct with
    solve's pipeline finds in the original, blocks inserted turned, mirrored
    and at no angle drawn out by GDAL itself; a turn below and one above
    half a turn."""
    if not shutil.which("ogr2ogr"):
        check("ogr2ogr installed (Debian's gdal-bin)", False)
        return
    for angle in ("47.123456", "231.402817"):
        site = random_site(rng, scale=False)
        site = Site(round(site.dx, 3), round(site.dy, 3), angle, 1.0)
        doc = ezdxf.new("R2000")
        msp = doc.modelspace()
        east, north = site.dy + 50, site.dx + 70
        msp.add_point((east, north))
        msp.add_line((east + 1.25, north + 2.5), (east + 80.5, north + 30.75))
        msp.add_lwpolyline([(east, north), (east + 40, north), (east + 40, north + 25)])
        mark = doc.blocks.new("MARK")
        mark.add_line((0, 0), (6, 0))
        mark.add_lwpolyline([(0, 0), (0, 3), (2, 4)])
        for where, attribs in (((10, 60), {"rotation": 30}), ((30, 60), {"xscale": -1.5}),
                               ((50, 60), {})):
            msp.add_blockref("MARK", (east + where[0], north + where[1]), dxfattribs=attribs)
        path = os.path.join(work, "ogr.dxf")
        doc.saveas(path)
        label = "ogr2ogr, turn of %s" % angle
        status, _, err = cli(program, "convert", *site.args(), path)
        check(label + ": converted", status == 0, err)
        if status:
            continue
        # Two common points made from the same parameters give the pipeline.
        a, b = Vec3(0, 0, 0), Vec3(0, 100, 0)  # construction (Y, X) as DXF holds them
        sa, sb = site.point(a, "survey"), site.point(b, "survey")
        status, pipeline, err = cli(program, "solve", "--survey-a=%.10f,%.10f" % (sa.y, sa.x),
                                    "--survey-b=%.10f,%.10f" % (sb.y, sb.x), "--construction-a=0,0",
                                    "--construction-b=100,0", "--format=proj", "--axis=east-north")
        check(label + ": solve gives the pipeline", status == 0, err)
        theirs, ours = os.path.join(work, "ogr-theirs.csv"), os.path.join(work, "ogr-ours.csv")
        for csv in (theirs, ours):
            if os.path.exists(csv):
                os.remove(csv)
        subprocess.run(["ogr2ogr", "-f", "CSV", theirs, path, "-ct", pipeline.strip(),
                        "-lco", "GEOMETRY=AS_WKT"], check=False, capture_output=True)
        subprocess.run(["ogr2ogr", "-f", "CSV", ours, os.path.join(work, "ogr转化后.dxf"),
                        "-lco", "GEOMETRY=AS_WKT"], check=False, capture_output=True)
        mine, gdal = wkt_numbers(ours), wkt_numbers(theirs)
        check(label + ": as many geometries", len(mine) == len(gdal) >= 6,
              "%d %d" % (len(mine), len(gdal)))
        worst = max((abs(x - y) for r, s in zip(mine, gdal) for x, y in zip(r, s)),
                    default=math.inf)
        check(label + ": the same geometries within 1e-6 m",
              all(len(r) == len(s) for r, s in zip(mine, gdal)) and worst <= 1e-6,
              "worst %g" % worst)


def wkt_numbers(csv):
    """The numbers of each row's WKT in a CSV ogr2ogr wrote."""
    if not os.path.exists(csv):
        return []
    rows = open(csv, encoding="utf-8").read().splitlines()[1:]
    return [[float(n) for n in re.findall(r"-?\d+\.?\d*(?:e-?\d+)?", r.split('"')[1])]
            for r in rows]


def main():
    if sys.argv[1] == "--drawings":
        rng = random.Random(23)
        drawings(sys.argv[2], rng)
        # Sloping planes near Gauss-Krueger coordinates, for a site of scale 1.
        write(sloping_drawing("R2018", 501100 + rng.uniform(-500, 500),
                              3412500 + rng.uniform(-500, 500), rng),
              os.path.join(sys.argv[2], "sloping-R2018.dxf"))
        return 0
    program, work = os.path.abspath(sys.argv[1]), sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    rng = random.Random(int(os.environ.get("DXF_TEST_SEED", "23")))
    conversion_cases(program, work, rng)
    a_text_along_its_line(program, work)
    refusal_cases(program, work)
    sloping_cases(program, work, rng)
    ogr_case(program, work, rng)
    if len(failures) > 60 and not os.environ.get("DXF_TEST_ALL"):
        print("... and %d failures more (DXF_TEST_ALL=1 lists them all)" % (len(failures) - 60))
    print("dxf_test: %d passed, %d failed" % (passes, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
