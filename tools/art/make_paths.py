#!/usr/bin/python3
"""Builds the vector shapes the editor draws and writes them to resources/paths/.

The files use JUCE's compact path-data format, byte for byte what juce::Path::writePathToStream
writes and juce::Path::loadPathFromData reads: a winding opcode ('n' = non-zero), then one opcode
per element ('m' move, 'l' line, 'b' cubic, 'c' close) followed by its coordinates as 32-bit
little-endian floats, then the end-of-path opcode 'e'. Two zero bytes follow the 'e' (they are
counted in the array length and never read as opcodes).

    knobPathA.bin        knob cap: closed, a start point and 22 cubics, seven shallow notches;
                         bounds x 31.5 .. 109.4, y 37.3 .. 114.3                         (564 bytes)
    knobPathB.bin        circle of radius 50 about (100, 150), traced from its top point as an
                         open polyline of 128 lines, the first repeating the start point;
                         bounds x 50.01 .. 150.00, y 100.00 .. 200.00                     (1,165 bytes)
    swapIconPath.bin     two opposed arrows (upper points left, lower points right), each closed
                         with 6 lines and 8 cubics; bounds x 12.04 .. 499.96, y -2.02 .. 512.01
                                                                                           (532 bytes)
    changesIconPath.bin  waste bin: three slots (135, 135, 132 lines, wound the other way so they
                         stay open), body (282), handle (74), lid (4); bounds x 1.5 .. 14.5,
                         y 0 .. 15                                                        (6,922 bytes)

Regenerate (from the repository root):  /usr/bin/python3 tools/art/make_paths.py
The output is deterministic; the build never runs this program. The unit tests load every file with
juce::Path::loadPathFromData and check that writePathToStream gives the same bytes back.
"""

import math
import os
import struct

import numpy as np

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "paths")


# ------------------------------------------------------------------------------------------------
# writer

class PathData:
    """Collects path elements as (opcode, [floats]) and serialises them in JUCE's format."""

    def __init__(self):
        self.elements = []

    def move(self, p):
        self.elements.append(("m", [p[0], p[1]]))

    def line(self, p):
        self.elements.append(("l", [p[0], p[1]]))

    def cubic(self, c1, c2, p):
        self.elements.append(("b", [c1[0], c1[1], c2[0], c2[1], p[0], p[1]]))

    def close(self):
        self.elements.append(("c", []))

    def points(self):
        return [(e[1][i], e[1][i + 1]) for e in self.elements for i in range(0, len(e[1]), 2)]

    def bounds(self):
        pts = np.array(self.points(), np.float64)
        return pts[:, 0].min(), pts[:, 1].min(), pts[:, 0].max(), pts[:, 1].max()

    def map(self, fn):
        out = PathData()
        for op, vals in self.elements:
            mapped = []
            for i in range(0, len(vals), 2):
                mapped.extend(fn(vals[i], vals[i + 1]))
            out.elements.append((op, mapped))
        return out

    def fit_to(self, x0, y0, x1, y1):
        """Scales each axis so the bounds of all points (control points included) become the box."""
        bx0, by0, bx1, by1 = self.bounds()
        sx = (x1 - x0) / (bx1 - bx0)
        sy = (y1 - y0) / (by1 - by0)
        return self.map(lambda x, y: (x0 + (x - bx0) * sx, y0 + (y - by0) * sy))

    def extend(self, other):
        self.elements.extend(other.elements)

    def to_bytes(self):
        out = bytearray(b"n")
        for op, vals in self.elements:
            out += op.encode("ascii")
            for v in vals:
                out += struct.pack("<f", v)
        out += b"e"
        out += b"\0\0"
        return bytes(out)


def write(name, path, expected_length):
    data = path.to_bytes()
    assert len(data) == expected_length, (name, len(data), expected_length)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


# ------------------------------------------------------------------------------------------------
# geometry helpers

def polar(cx, cy, r, a):
    return (cx + r * math.cos(a), cy + r * math.sin(a))


def split_cubic(p0, c1, c2, p3, t=0.5):
    lerp = lambda a, b: (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)
    a, b, c = lerp(p0, c1), lerp(c1, c2), lerp(c2, p3)
    d, e = lerp(a, b), lerp(b, c)
    f = lerp(d, e)
    return (p0, a, d, f), (f, e, c, p3)


def rounded_corner(corner, d_in, d_out, rho):
    """Cubic that cuts a corner: starts rho before it along d_in, ends rho after it along d_out."""
    pa = (corner[0] - d_in[0] * rho, corner[1] - d_in[1] * rho)
    pb = (corner[0] + d_out[0] * rho, corner[1] + d_out[1] * rho)
    k = 0.55
    c1 = (pa[0] + d_in[0] * rho * k, pa[1] + d_in[1] * rho * k)
    c2 = (pb[0] - d_out[0] * rho * k, pb[1] - d_out[1] * rho * k)
    return pa, c1, c2, pb


def unit(a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = math.hypot(dx, dy)
    return (dx / n, dy / n)


def resample_closed(points, n):
    """n points spaced evenly by arc length around a closed polyline (first point kept)."""
    pts = np.array(points + [points[0]], np.float64)
    seg = np.hypot(*(pts[1:] - pts[:-1]).T)
    cum = np.concatenate([[0.0], np.cumsum(seg)])
    targets = np.arange(n) * cum[-1] / n
    xs = np.interp(targets, cum, pts[:, 0])
    ys = np.interp(targets, cum, pts[:, 1])
    return list(zip(xs, ys))


def polyline_path(points, lines):
    """Closed sub-path with exactly `lines` line segments, the last one back to the start."""
    pts = resample_closed(points, lines)
    p = PathData()
    p.move(pts[0])
    for q in pts[1:]:
        p.line(q)
    p.line(pts[0])
    p.close()
    return p


def rounded_rect_outline(x0, y0, x1, y1, radii, clockwise=True, steps=64):
    """Dense outline of a rectangle with per-corner radii (tl, tr, br, bl), starting at the top."""
    tl, tr, br, bl = radii
    pts = []

    def arc(cx, cy, r, a0, a1):
        if r <= 0:
            pts.append((cx, cy))
            return
        for i in range(steps + 1):
            a = a0 + (a1 - a0) * i / steps
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))

    # clockwise on screen (y down): top edge left to right, then down the right side
    arc(x0 + tl, y0 + tl, tl, math.pi, 1.5 * math.pi)
    arc(x1 - tr, y0 + tr, tr, 1.5 * math.pi, 2.0 * math.pi)
    arc(x1 - br, y1 - br, br, 0.0, 0.5 * math.pi)
    arc(x0 + bl, y1 - bl, bl, 0.5 * math.pi, math.pi)
    # densify the straight edges so arc-length resampling puts points along them too
    dense = []
    for i, a in enumerate(pts):
        b = pts[(i + 1) % len(pts)]
        k = max(1, int(math.hypot(b[0] - a[0], b[1] - a[1]) / 0.02))
        for j in range(k):
            dense.append((a[0] + (b[0] - a[0]) * j / k, a[1] + (b[1] - a[1]) * j / k))
    return dense if clockwise else [dense[0]] + dense[:0:-1]


# ------------------------------------------------------------------------------------------------
# shapes

def knob_cap():
    """Seven lobes of radius 39 separated by shallow notches that dip to radius 35."""
    r_lobe, r_notch, half_notch = 39.0, 35.0, 0.2
    lobes = 7
    top = -math.pi / 2.0
    pitch = 2.0 * math.pi / lobes
    p = PathData()
    tangent = lambda a: (-math.sin(a), math.cos(a))

    def arc(a0, a1):
        k = 4.0 / 3.0 * math.tan((a1 - a0) / 4.0) * r_lobe
        s, e = polar(0, 0, r_lobe, a0), polar(0, 0, r_lobe, a1)
        t0, t1 = tangent(a0), tangent(a1)
        p.cubic((s[0] + t0[0] * k, s[1] + t0[1] * k), (e[0] - t1[0] * k, e[1] - t1[1] * k), e)

    def notch(centre):
        # radius follows a raised-cosine dip, r(a) = r_lobe - (r_lobe - r_notch) (1 + cos (pi (a - centre) / w)) / 2,
        # and each half of the dip is one cubic with matching end tangents (Hermite form)
        depth = r_lobe - r_notch
        radius = lambda a: r_lobe - depth * 0.5 * (1.0 + math.cos(math.pi * (a - centre) / half_notch))
        slope = lambda a: depth * 0.5 * math.pi / half_notch * math.sin(math.pi * (a - centre) / half_notch)

        def point(a):
            return polar(0, 0, radius(a), a)

        def velocity(a):
            r, dr = radius(a), slope(a)
            return (dr * math.cos(a) - r * math.sin(a), dr * math.sin(a) + r * math.cos(a))

        for a0, a1 in ((centre - half_notch, centre), (centre, centre + half_notch)):
            s, e = point(a0), point(a1)
            v0, v1 = velocity(a0), velocity(a1)
            h = (a1 - a0) / 3.0
            p.cubic((s[0] + v0[0] * h, s[1] + v0[1] * h), (e[0] - v1[0] * h, e[1] - v1[1] * h), e)

    p.move(polar(0, 0, r_lobe, top))
    arc(top, top + pitch / 2 - half_notch)
    notch(top + pitch / 2)
    for j in range(1, lobes):
        centre = top + j * pitch
        arc(centre - pitch / 2 + half_notch, centre + pitch / 2 - half_notch)
        notch(centre + pitch / 2)
    arc(top + lobes * pitch - pitch / 2 + half_notch, top + lobes * pitch)
    p.close()
    assert sum(1 for e in p.elements if e[0] == "b") == 22
    return p.fit_to(31.5, 37.3, 109.4, 114.3)


def knob_circle():
    """Radius-50 circle about (100, 150) from its top point, clockwise, as 128 lines.

    The angular step is 0.35 % wider than 1/128 turn, so the polyline stops just short of its start
    and its extreme points fall a hair inside the circle on the lower and left sides."""
    p = PathData()
    step = 2.0 * math.pi / 128.0 * 1.0035
    start = (100.0, 100.0)
    p.move(start)
    p.line(start)
    for i in range(1, 128):
        a = i * step
        p.line((100.0 + 50.0 * math.sin(a), 150.0 - 50.0 * math.cos(a)))
    return p


def one_arrow():
    """A left-pointing arrow in a 512 box: head from x 12, shaft to a round end at x 495."""
    tip, ht, hi_top = (12.0, 124.0), (182.0, -2.0), (182.0, 79.0)
    hb, hi_bot = (182.0, 250.0), (182.0, 169.0)
    shaft_end_x, shaft_mid_y, shaft_half = 450.0, 124.0, 45.0
    p = PathData()
    up_slant = unit(tip, ht)          # direction tip -> head top corner
    down_slant = unit(hb, tip)        # direction head bottom corner -> tip
    # tip: one rounded corner, split in two so the sub-path starts on the apex
    first, second = split_cubic(*rounded_corner(tip, down_slant, up_slant, 26.0))
    p.move(second[0])
    p.cubic(second[1], second[2], second[3])
    corner = rounded_corner(ht, up_slant, (0.0, 1.0), 16.0)
    p.line(corner[0])
    p.cubic(corner[1], corner[2], corner[3])
    corner = rounded_corner(hi_top, (0.0, 1.0), (1.0, 0.0), 12.0)
    p.line(corner[0])
    p.cubic(corner[1], corner[2], corner[3])
    # shaft top, then a half-round end made of two quarter arcs
    k = 0.5523 * shaft_half
    p.line((shaft_end_x, shaft_mid_y - shaft_half))
    p.cubic((shaft_end_x + k, shaft_mid_y - shaft_half), (shaft_end_x + shaft_half, shaft_mid_y - k),
            (shaft_end_x + shaft_half, shaft_mid_y))
    p.cubic((shaft_end_x + shaft_half, shaft_mid_y + k), (shaft_end_x + k, shaft_mid_y + shaft_half),
            (shaft_end_x, shaft_mid_y + shaft_half))
    corner = rounded_corner(hi_bot, (-1.0, 0.0), (0.0, 1.0), 12.0)
    p.line(corner[0])
    p.cubic(corner[1], corner[2], corner[3])
    corner = rounded_corner(hb, (0.0, 1.0), down_slant, 16.0)
    p.line(corner[0])
    p.cubic(corner[1], corner[2], corner[3])
    p.line(first[0])
    p.cubic(first[1], first[2], first[3])
    p.close()
    ops = [e[0] for e in p.elements]
    assert ops.count("l") == 6 and ops.count("b") == 8, ops
    return p


def swap_icon():
    upper = one_arrow()
    lower = one_arrow().map(lambda x, y: (512.0 - x, y + 262.0))
    both = PathData()
    both.extend(upper)
    both.extend(lower)
    return both.fit_to(12.04, -2.02, 499.96, 512.01)


def waste_bin():
    p = PathData()
    # three slots in the body, wound against the body so they stay open under non-zero winding
    for cx, lines in ((5.3, 135), (8.0, 135), (10.7, 132)):
        slot = rounded_rect_outline(cx - 0.6, 7.0, cx + 0.6, 13.0, (0.6, 0.6, 0.6, 0.6), clockwise=False)
        p.extend(polyline_path(slot, lines))
    # body: slightly tapered towards the bottom, with rounded lower corners
    body = rounded_rect_outline(2.5, 5.0, 13.5, 15.0, (0.4, 0.4, 1.6, 1.6))
    body = [(8.0 + (x - 8.0) * (1.0 - 0.08 * (y - 5.0) / 10.0), y) for x, y in body]
    p.extend(polyline_path(body, 282))
    # handle: an arch above the lid, traced as one outline (outer edge, then the inner edge back)
    outer = rounded_rect_outline(5.5, 0.0, 10.5, 3.0, (1.0, 1.0, 0.0, 0.0))
    inner = rounded_rect_outline(6.8, 1.2, 9.2, 3.0, (0.5, 0.5, 0.0, 0.0))
    # keep the arch parts (above the lid line) and join them into one ring
    outer_arch = [q for q in outer if q[1] < 2.5 - 1e-9]
    inner_arch = [q for q in inner if q[1] < 2.5 - 1e-9]
    ring = sorted_arch(outer_arch, (8.0, 3.0), reverse=False) + sorted_arch(inner_arch, (8.0, 3.0), reverse=True)
    p.extend(polyline_path(ring, 74))
    # lid: a plain bar
    lid = PathData()
    lid.move((1.5, 2.5))
    lid.line((14.5, 2.5))
    lid.line((14.5, 4.0))
    lid.line((1.5, 4.0))
    lid.line((1.5, 2.5))
    lid.close()
    p.extend(lid)
    return p


def sorted_arch(points, centre, reverse):
    """Orders the points of an arch from its left foot over the top to its right foot."""
    key = lambda q: math.atan2(q[1] - centre[1], q[0] - centre[0])
    ordered = sorted(points, key=key)      # angles from -pi (left) to 0 (right) over the top
    ordered = [q for q in ordered if key(q) < 0.0 or q[0] < centre[0]]
    left_foot = (min(q[0] for q in points), 2.5)
    right_foot = (max(q[0] for q in points), 2.5)
    seq = [left_foot] + ordered + [right_foot]
    return seq[::-1] if reverse else seq


def main():
    os.makedirs(OUT, exist_ok=True)
    write("knobPathA.bin", knob_cap(), 564)
    write("knobPathB.bin", knob_circle(), 1165)
    write("swapIconPath.bin", swap_icon(), 532)
    write("changesIconPath.bin", waste_bin(), 6922)


if __name__ == "__main__":
    main()
