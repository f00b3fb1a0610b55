#!/usr/bin/env python3
"""Draws the four output-mode pictures shown on the settings tab.

Writes one SVG per mode into a temporary directory and converts each one to
JPEG with ImageMagick, into data/Grafika/MODE_1.jpg ... MODE_4.jpg.
Python 3 standard library only.

Note for ImageMagick's built-in SVG renderer: every element gets an explicit
fill and stroke (text is otherwise stroked, lines get a black fill edge) and
no text is rotated.
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

W, H = 520, 340
FONT = "DejaVu Sans"

PK1 = "#1e1e1e"            # white on the dark chart, black on paper
PK1_FILL = "#d9d9d9"
PK2 = "rgb(255,128,0)"
PK2_FILL = "#ffe2c4"
THRESHOLD = "#2f6db5"       # neutral blue
AXIS = "#333333"
GUIDE = "#c8c8c8"
SENSOR = "#2e8b57"
MUTED = "#808080"

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Grafika"))


class Svg:
    def __init__(self):
        self.parts = []
        self.rect(0, 0, W, H, "white")

    def _add(self, tag, **attrs):
        text = attrs.pop("_text", None)
        body = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
        if text is None:
            self.parts.append("<%s %s/>" % (tag, body))
        else:
            self.parts.append("<%s %s>%s</%s>" % (tag, body, escape(text), tag))

    def rect(self, x, y, w, h, fill):
        self._add("rect", x=x, y=y, width=w, height=h, fill=fill, stroke="none")

    def line(self, x1, y1, x2, y2, color=AXIS, width=1.5, dash=None):
        attrs = dict(x1=x1, y1=y1, x2=x2, y2=y2, fill="none", stroke=color,
                     stroke_width=width)
        if dash:
            attrs["stroke_dasharray"] = dash
        self._add("line", **attrs)

    def polyline(self, points, color, width=2.5):
        pts = " ".join("%.1f,%.1f" % p for p in points)
        # A polyline, not a path: the built-in renderer closes open paths.
        self._add("polyline", points=pts, fill="none", stroke=color,
                  stroke_width=width, stroke_linejoin="round", stroke_linecap="round")

    def polygon(self, points, fill):
        pts = " ".join("%.1f,%.1f" % p for p in points)
        self._add("polygon", points=pts, fill=fill, stroke="none")

    def circle(self, cx, cy, r, fill, stroke="none", width=1):
        self._add("circle", cx=cx, cy=cy, r=r, fill=fill, stroke=stroke, stroke_width=width)

    def text(self, x, y, s, size=15, color=AXIS, anchor="start", bold=False):
        self._add("text", x=x, y=y, font_family=FONT, font_size=size,
                  font_weight="bold" if bold else "normal", text_anchor=anchor,
                  fill=color, stroke="none", _text=s)

    def arrow_head(self, x, y, direction, color=AXIS, size=8):
        """Filled triangle with its tip at (x, y) pointing right/left/up."""
        half = size * 0.5
        if direction == "right":
            pts = [(x, y), (x - size, y - half), (x - size, y + half)]
        elif direction == "left":
            pts = [(x, y), (x + size, y - half), (x + size, y + half)]
        else:
            pts = [(x, y), (x - half, y + size), (x + half, y + size)]
        self.polygon(pts, color)

    def svg(self):
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                'viewBox="0 0 %d %d">\n%s\n</svg>\n' % (W, H, W, H, "\n".join(self.parts)))


def title(svg, caption):
    svg.text(W / 2, 28, caption, size=18, color="black", anchor="middle", bold=True)


def step_row(svg, x_of, on_ranges, hi, lo, color, fill, x_start, x_end, width=2.5):
    """A digital output as a step line: high inside on_ranges, low elsewhere."""
    svg.line(x_start, hi, x_end, hi, GUIDE, 1, "2,3")
    svg.line(x_start, lo, x_end, lo, GUIDE, 1)
    for a, b in on_ranges:
        svg.rect(x_of(a), hi, x_of(b) - x_of(a), lo - hi, fill)
    pts = [(x_start, lo)]
    for a, b in on_ranges:
        xa, xb = x_of(a), min(x_of(b), x_end)
        pts += [(xa, lo), (xa, hi), (xb, hi)]
        if xb < x_end:
            pts.append((xb, lo))
    if pts[-1][0] < x_end:
        pts.append((x_end, pts[-1][1]))
    svg.polyline(pts, color, width)


# ---------------------------------------------------------------- modes 0..2

AX0, AX1 = 80, 480                      # x of 0 deg and 360 deg
AXIS_Y = 80
ROW1 = (122, 168)                       # (high, low) of PK1
ROW2 = (210, 256)                       # (high, low) of PK2
TH_TOP, TH_BOTTOM, TH_LABEL = 74, 272, 292


def ax(deg):
    return AX0 + (AX1 - AX0) * deg / 360.0


def angle_picture(caption, pk1_on, pk2_on, thresholds, margin=None, note=None):
    svg = Svg()
    title(svg, caption)

    # angle axis
    svg.line(AX0, AXIS_Y, AX1, AXIS_Y, AXIS, 1.5)
    for deg in range(0, 361, 45):
        major = deg % 90 == 0
        svg.line(ax(deg), AXIS_Y - (5 if major else 3), ax(deg), AXIS_Y + (5 if major else 3),
                 AXIS, 1.5 if major else 1)
        if major:
            svg.text(ax(deg), AXIS_Y - 10, str(deg), size=15, anchor="middle")
    svg.text(AX0 - 14, AXIS_Y + 5, "kąt [°]", size=15, anchor="end")

    # thresholds (drawn first so that the outputs lie on top of them)
    for deg, label in thresholds:
        svg.line(ax(deg), TH_TOP, ax(deg), TH_BOTTOM, THRESHOLD, 1.6, "7,5")
        svg.text(ax(deg), TH_LABEL, label, size=16, color=THRESHOLD, anchor="middle", bold=True)

    # outputs
    for (hi, lo), on, color, fill, name in ((ROW1, pk1_on, PK1, PK1_FILL, "PK1"),
                                            (ROW2, pk2_on, PK2, PK2_FILL, "PK2")):
        step_row(svg, ax, on, hi, lo, color, fill, AX0, AX1)
        svg.text(AX0 - 14, (hi + lo) / 2 + 6, name, size=17, color=color, anchor="end", bold=True)
        svg.text(AX1 + 6, hi + 5, "1", size=12, color=MUTED)
        svg.text(AX1 + 6, lo + 5, "0", size=12, color=MUTED)

    # margin between P1-P2 and P1, shown as a double arrow
    if margin:
        a, b, label = margin
        y = 316
        xa, xb = ax(a), ax(b)
        svg.line(xa, y - 8, xa, y + 8, THRESHOLD, 1.5)
        svg.line(xb, y - 8, xb, y + 8, THRESHOLD, 1.5)
        svg.line(xa + 6, y, xb - 6, y, THRESHOLD, 1.5)
        svg.arrow_head(xa + 1, y, "left", THRESHOLD)
        svg.arrow_head(xb - 1, y, "right", THRESHOLD)
        svg.text(xb + 10, y + 6, label, size=16, color=THRESHOLD, bold=True)

    if note:
        svg.text(W / 2, 318, note, size=15, color=MUTED, anchor="middle")
    return svg


def mode0():
    return angle_picture("mode 0: Odczyt, wyjścia nieaktywne", [], [], [],
                         note="PK1 i PK2 stale wyłączone")


def mode1():
    p1, p2 = 90, 270
    return angle_picture("mode 1: Absolutny z dwoma progami",
                         [(p1, 360)], [(p2, 360)], [(p1, "P1"), (p2, "P2")])


def mode2():
    p1, p2 = 200, 60
    return angle_picture("mode 2: Absolutny z progiem i marginsem",
                         [(p1, 360)], [(p1 - p2, 360)],
                         [(p1 - p2, "P1−P2"), (p1, "P1")],
                         margin=(p1 - p2, p1, "P2 (margines)"))


# ------------------------------------------------------------------- mode 3

TX0, TX1 = 80, 452                      # time axis
CY0, CY360 = 176, 56                    # y of 0 deg and 360 deg on the curve chart
T_ROW1 = (204, 230)
T_ROW2 = (248, 274)
T_AXIS_Y = 294


def cy(deg):
    return CY0 + (CY360 - CY0) * deg / 360.0


def mode3():
    p1, p2, on_px = 270, 90, 14
    low = min(p1, p2)
    svg = Svg()
    title(svg, "mode 3: Cykliczny z naliczaniem cykli")

    # sensor angle over time: cosine swings between these extremes
    extremes = [200, 300, 50, 310, 40, 220, 60, 320, 45, 300, 180]
    span = (TX1 - 4 - TX0) / (len(extremes) - 1)

    def value(x):
        k = min(int((x - TX0) / span), len(extremes) - 2)
        f = (x - TX0 - k * span) / span
        a, b = extremes[k], extremes[k + 1]
        return a + (b - a) * (1 - math.cos(math.pi * f)) / 2

    xs = [TX0 + i * 0.5 for i in range(int((TX1 - 4 - TX0) * 2) + 1)]
    curve = [(x, value(x)) for x in xs]

    # the rule: armed below L, an armed sensor reaching P1 counts a cycle
    armed, counts, pk2, start = False, [], [], None
    for x, v in curve:
        if v < low and not armed:
            armed, start = True, x
        elif armed and v >= p1:
            armed = False
            counts.append(x)
            pk2.append((start, x))
    if armed:
        pk2.append((start, curve[-1][0]))
    pk1 = [(x, x + on_px) for x in counts]

    # angle chart
    svg.line(TX0, CY0, TX1, CY0, GUIDE, 1)
    svg.line(TX0, CY0 + 4, TX0, CY360 - 6, AXIS, 1.5)
    svg.arrow_head(TX0, CY360 - 12, "up")
    svg.text(TX0 + 10, CY360 - 4, "kąt [°]", size=15)
    for deg in (0, 180, 360):
        svg.line(TX0 - 5, cy(deg), TX0, cy(deg), AXIS, 1.5)
        svg.text(TX0 - 9, cy(deg) + 5, str(deg), size=14, anchor="end")

    for deg, label in ((p1, "P1"), (low, "L=P2")):
        svg.line(TX0, cy(deg), TX1, cy(deg), THRESHOLD, 1.6, "7,5")
        svg.text(TX1 + 6, cy(deg) + 6, label, size=16, color=THRESHOLD, bold=True)

    # guides from the events on the curve down to the outputs
    for x in counts:
        svg.line(x, cy(p1), x, T_ROW1[1], GUIDE, 1, "2,3")
    for a, _ in pk2:
        svg.line(a, cy(low), a, T_ROW2[1], GUIDE, 1, "2,3")

    svg.polyline([(x, cy(v)) for x, v in curve[::2]], SENSOR, 2.5)

    for n, x in enumerate(counts, 1):
        svg.circle(x, cy(p1), 3.5, PK1)
        svg.circle(x - 14, cy(p1) - 15, 9, "white", PK1, 1.5)
        svg.text(x - 14, cy(p1) - 10.5, str(n), size=13, color=PK1, anchor="middle", bold=True)

    # outputs
    ident = lambda x: x
    for (hi, lo), on, color, fill, name in ((T_ROW1, pk1, PK1, PK1_FILL, "PK1"),
                                            (T_ROW2, pk2, PK2, PK2_FILL, "PK2")):
        step_row(svg, ident, on, hi, lo, color, fill, TX0, TX1, 2.2)
        svg.text(TX0 - 14, (hi + lo) / 2 + 6, name, size=17, color=color, anchor="end", bold=True)
        svg.text(TX1 + 6, hi + 5, "1", size=12, color=MUTED)
        svg.text(TX1 + 6, lo + 5, "0", size=12, color=MUTED)
    svg.text(pk1[0][0] + on_px / 2, T_ROW1[0] - 5, "ON", size=11, color=PK1, anchor="middle")

    # time axis
    svg.line(TX0, T_AXIS_Y, TX1 + 8, T_AXIS_Y, AXIS, 1.5)
    svg.arrow_head(TX1 + 14, T_AXIS_Y, "right")
    svg.text(TX1 + 20, T_AXIS_Y + 5, "czas", size=15)
    svg.text(W / 2, 322, "uzbrojenie poniżej L, cykl po osiągnięciu P1",
             size=14, color=MUTED, anchor="middle")
    return svg


# ------------------------------------------------------------------- output

PICTURES = [("MODE_4.jpg", mode0), ("MODE_1.jpg", mode1),
            ("MODE_2.jpg", mode2), ("MODE_3.jpg", mode3)]


def converter():
    for name in ("convert", "magick"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("ImageMagick (convert) not found")


def main():
    tool = converter()
    os.makedirs(OUT_DIR, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="mode-pictures-") as tmp:
        for file_name, draw in PICTURES:
            src = os.path.join(tmp, file_name.replace(".jpg", ".svg"))
            with open(src, "w", encoding="utf-8") as f:
                f.write(draw().svg())
            dst = os.path.join(OUT_DIR, file_name)
            subprocess.run([tool, "-background", "white", src, "-flatten",
                            "-quality", "90", dst], check=True)
            print(dst)


if __name__ == "__main__":
    main()
