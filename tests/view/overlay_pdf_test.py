#!/usr/bin/env python3
"""Measures overlay PDFs on their own vectors: each PDF is written by the overlay_writer test
program, turned into SVG by poppler's pdftocairo, and every stroked line is read back in
millimetres on its page. The lengths the die maker relies on are checked against the profile's
own figures times the magnification.

Usage: overlay_pdf_test.py OVERLAY_WRITER
"""
import json
import math
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
MM_PER_PT = 25.4 / 72
TOLERANCE_MM = 0.1  # what the overlay promises
# Stroke widths of the painter, in mm: which kind of line a path is.
PROFILE, BAND, MARK = 0.25, 0.12, 0.18
# A4 with 10 mm margins, less the foot of the page that holds the words and the check bar.
TILE_W, TILE_H, OVERLAP, FOOTER = 190.0, 263.0, 10.0, 14.0
MARGIN_X, MARGIN_Y = 12.0, 18.0

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


class Line:
    def __init__(self, x1, y1, x2, y2, width, cap, dashed):
        self.x1, self.y1, self.x2, self.y2 = x1, y1, x2, y2
        self.width, self.cap, self.dashed = width, cap, dashed

    @property
    def length(self):
        return math.hypot(self.x2 - self.x1, self.y2 - self.y1)

    def vertical(self):
        return abs(self.x2 - self.x1) < 1e-3 and self.length > 1e-3

    def horizontal(self):
        return abs(self.y2 - self.y1) < 1e-3 and self.length > 1e-3


def matrix(transform):
    if not transform:
        return (1, 0, 0, 1, 0, 0)
    return tuple(float(v) for v in re.match(r"matrix\(([^)]*)\)", transform).group(1).split(","))


def page_lines(page):
    """Every stroked straight line of a page, in mm, y down from the page's top left."""
    lines = []
    for path in page.iter(SVG + "path"):
        style = dict(item.split(":", 1) for item in path.get("style", "").split(";") if item)
        if style.get("fill") != "none":
            continue
        numbers = [float(v) for v in re.findall(r"-?[\d.]+(?:e-?\d+)?", path.get("d"))]
        if not re.fullmatch(r"\s*M[^A-Za-z]*L[^A-Za-z]*", path.get("d")):
            continue  # only single segments are lines of the overlay
        a, b, c, d, e, f = matrix(path.get("transform"))
        ends = [(a * x + c * y + e, b * x + d * y + f) for x, y in zip(numbers[0::2], numbers[1::2])]
        width = float(style["stroke-width"]) * math.sqrt(abs(a * d - b * c)) * MM_PER_PT
        (x1, y1), (x2, y2) = ends
        lines.append(Line(x1 * MM_PER_PT, y1 * MM_PER_PT, x2 * MM_PER_PT, y2 * MM_PER_PT,
                          round(width, 3), style.get("stroke-linecap"), "stroke-dasharray" in style))
    return lines


def write(writer, folder, name, magnification, tolerance, view, events):
    pdf = folder / (name + ".pdf")
    run = subprocess.run([writer, str(pdf), str(magnification), str(tolerance), view] + events,
                         capture_output=True, text=True, check=True)
    figures = json.loads(run.stdout)
    svg = folder / (name + ".svg")
    subprocess.run(["pdftocairo", "-svg", str(pdf), str(svg)], check=True)
    root = ET.parse(svg).getroot()
    pages = list(root.iter(SVG + "page")) or [root]
    text = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True,
                          text=True, check=True).stdout.split("\f")
    return figures, [page_lines(p) for p in pages], text


def near(a, b, tolerance=TOLERANCE_MM):
    return abs(a - b) <= tolerance


def distance_to_line(px, py, line):
    dx, dy = line.x2 - line.x1, line.y2 - line.y1
    """Signed: positive on one side of the line's direction, negative on the other."""
    return (dx * (py - line.y1) - dy * (px - line.x1)) / math.hypot(dx, dy)


def check_bore_at_magnification(writer, folder):
    """The default profile in inches at 50x with a band of 0.0005 in."""
    m, t = 50, 0.0005
    figures, pages, text = write(writer, folder, "bore50", m, t, "bore",
                                 ["select 26", "type 10 0.180", "type 5 0.180", "calculate"])
    k = figures["UnitDivisor"] * m  # mm on paper per unit of the die
    bearing = figures["BearingLength"] * k
    gap = figures["OutletDiameter"] * k
    offset = t * k
    found = False
    for lines in pages:
        walls = [l for l in lines if l.width == PROFILE and l.vertical() and near(l.length, bearing)]
        if len(walls) != 2:
            continue
        found = True
        left, right = sorted(walls, key=lambda l: l.x1)
        check(near(right.x1 - left.x1, gap),
              f"bearing walls {right.x1 - left.x1:.3f} mm apart, expected {gap:.3f}")
        check(near(min(left.y1, left.y2), min(right.y1, right.y2), 0.01),
              "the bearing's walls start at the same height")
        band = [l for l in lines if l.width == BAND and not l.dashed and l.vertical()]
        for wall in (left, right):
            for side in (-1, 1):
                check(any(near(b.x1, wall.x1 + side * offset, 0.02) for b in band),
                      f"a band line {offset:.3f} mm {'left' if side < 0 else 'right'} of the "
                      f"bearing wall at x={wall.x1:.2f}")
        # The band runs parallel to every slanted wall, its offset away on both sides.
        slanted = [l for l in lines if l.width == PROFILE and l.cap == "round" and not l.vertical()]
        for wall in slanted:
            ux, uy = (wall.x2 - wall.x1) / wall.length, (wall.y2 - wall.y1) / wall.length
            parallel = [b for b in lines if b.width == BAND and not b.dashed and b.length > 1 and
                        abs(ux * (b.y2 - b.y1) - uy * (b.x2 - b.x1)) / b.length < 1e-4]
            distances = sorted(distance_to_line(b.x1, b.y1, wall) for b in parallel)
            check(any(near(d, offset, 0.02) for d in distances) and
                  any(near(d, -offset, 0.02) for d in distances),
                  f"band lines {offset:.3f} mm either side of a cone wall, found {distances}")
    check(found, "a page shows both bearing walls at 50x their length")
    bars = [l for l in pages[0] if l.width == PROFILE and l.cap == "butt" and l.horizontal()]
    check(any(near(b.length, 50.8) for b in bars), "the check bar is 2 in (50.8 mm) long")
    check("this bar is 2 in long" in text[0], "the check bar's statement in inches")
    check("magnification 50" in text[0] and "lengths in inches" in text[0],
          "the page names the magnification and the unit")


def check_section_in_millimetres(writer, folder):
    """Catalogue row 1 (1.50 x 1.50 mm) in millimetres, the whole section at 20x."""
    m = 20
    figures, pages, text = write(writer, folder, "section20", m, 0, "section",
                                 ["select 1", "units 1", "calculate"])
    check(len(pages) == 1, f"a 30 mm section fits one page, got {len(pages)}")
    lines = pages[0]
    side = figures["DiamondHeight"] * m
    outline = sorted((l for l in lines if l.width == PROFILE and l.vertical() and
                      near(l.length, side)), key=lambda l: l.x1)
    check(len(outline) >= 2 and near(outline[-1].x1 - outline[0].x1,
                                     figures["DiamondDiameter"] * m),
          "the blank's sides stand 20 x its diameter apart")
    check(not any(l.width == BAND and not l.dashed for l in lines), "no band at tolerance 0")
    axis = [l for l in lines if l.dashed and l.vertical()]
    check(len(axis) == 1 and outline and near(axis[0].x1, (outline[0].x1 + outline[-1].x1) / 2),
          "the axis runs midway between the blank's sides")
    bars = [l for l in lines if l.width == PROFILE and l.cap == "butt" and l.horizontal()]
    check(any(near(b.length, 50.0) for b in bars), "the check bar is 50 mm long")
    check("this bar is 50 mm long" in text[0], "the check bar's statement in millimetres")


def tiles_for(length, tile):
    return 1 if length <= tile else math.ceil((length - OVERLAP) / (tile - OVERLAP))


def check_tiling(writer, folder):
    """The largest catalogue blank's bore at 200x: many pages, each offset by a tile less the
    overlap, with the alignment marks of neighbours falling on each other."""
    m = 200
    figures, pages, text = write(writer, folder, "tiles200", m, 0, "bore",
                                 ["select 14", "units 1", "calculate"])
    k = figures["UnitDivisor"] * m
    wall = figures["RightWall"]
    width = 2 * max(abs(x) for x, _ in wall) * k + 2 * MARGIN_X
    height = (max(y for _, y in wall) - min(y for _, y in wall)) * k + 2 * MARGIN_Y

    def marks(lines):
        arms = [l for l in lines if l.width == MARK and near(l.length, 6.0, 0.01)]
        return [((l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2) for l in arms if l.horizontal()]

    page_marks = [marks(lines) for lines in pages]
    # A4's printable area less the overlap; Qt holds A4 in whole points, hence the allowance.
    nominal = (TILE_W - OVERLAP, TILE_H - OVERLAP)

    def step(first, second, along):
        """How far the sheet moves from one page to the next, read off a mark both show."""
        other = 1 - along
        shifts = [p[along] - q[along] for p in page_marks[first] for q in page_marks[second]
                  if near(p[other], q[other], 0.02) and near(p[along] - q[along],
                                                             nominal[along], 0.5)]
        return shifts[0] if shifts else None

    check(len(pages) > 1, "a 200x bore of the largest blank needs many pages")
    step_x = step(0, 1, 0)
    check(step_x is not None, "the first page's marks recur on its right neighbour")
    if step_x is None:
        return
    columns = tiles_for(width, step_x + OVERLAP)
    step_y = step(0, columns, 1) if columns < len(pages) else None
    check(step_y is not None, "the first page's marks recur on the page below it")
    if step_y is None:
        return
    rows = tiles_for(height, step_y + OVERLAP)
    check(len(pages) == rows * columns, f"{rows} x {columns} pages, got {len(pages)}")
    if len(pages) != rows * columns:
        return
    for index, page_text in enumerate(text[:len(pages)]):
        r, c = index // columns + 1, index % columns + 1
        label = f"row {r}, column {c} of {rows} \u00d7 {columns}"
        if label not in page_text:
            check(False, f"page {index + 1} is labelled {label!r}")
            break
    shared = 0
    for index in range(len(pages)):
        r, c = divmod(index, columns)
        for dr, dc in ((0, 1), (1, 0)):
            if r + dr >= rows or c + dc >= columns:
                continue
            neighbour = page_marks[(r + dr) * columns + c + dc]
            # A mark shared with the neighbour lies there one step nearer its top left.
            matched = [p for p in page_marks[index] if any(
                near(p[0] - dc * step_x, q[0], 0.02) and near(p[1] - dr * step_y, q[1], 0.02)
                for q in neighbour)]
            shared += 1
            if len(matched) < 2:
                check(False, f"page {index + 1} shares two alignment marks with its "
                             f"{'right' if dc else 'lower'} neighbour, found {len(matched)}")
                return
    check(shared > 0, "neighbouring pages were compared")
    # The axis appears on the pages of one column (or two when it falls in their overlap), at
    # the place the tile's offset says.
    axis_x = [(index % columns) * step_x + l.x1
              for index, lines in enumerate(pages) for l in lines if l.dashed and l.vertical()]
    check(len(axis_x) >= rows and max(axis_x) - min(axis_x) < 0.05,
          f"the axis lies on one line of the sheet on every row, found {axis_x[:4]}...")


def check_dialog_refuses_in_place(writer, folder):
    """The scale dialog keeps OK disabled and shows the reason for a value it cannot draw."""
    for typed, shown in (("200", "ok"), ("abc", "The magnification must be a number."),
                         ("2000", "The magnification must be from 1 to 1000.")):
        run = subprocess.run([writer, "--dialog", typed, str(folder / "dialog.png")],
                             capture_output=True, text=True, check=True)
        check(run.stdout.strip() == shown, f"the dialog with {typed!r} shows {shown!r}, "
                                           f"got {run.stdout.strip()!r}")


def main():
    writer = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        check_bore_at_magnification(writer, folder)
        check_section_in_millimetres(writer, folder)
        check_tiling(writer, folder)
        check_dialog_refuses_in_place(writer, folder)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all overlay checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
