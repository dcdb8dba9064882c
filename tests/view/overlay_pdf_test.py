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
# Stroke widths of the painter, in mm: which kind of line a path is. Datums are as narrow as the
# band, and horizontal.
PROFILE, BAND, MARK = 0.25, 0.12, 0.18
# A4 with 10 mm margins, less the foot of the page that holds the words and the horizontal check
# bar, and the strip at its right that holds the vertical one.
MARGIN, TILE_W, TILE_H, OVERLAP, FOOTER = 10.0, 178.0, 258.0, 10.0, 19.0
# Around the profile on the sheet: the margins and, to the right, the room for the datums' names.
MARGIN_X, MARGIN_Y, LABEL_ROOM = 12.0, 18.0, 28.0

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


def in_tile(line):
    """Drawn on the page's tile, not its foot or side strip."""
    return max(line.x1, line.x2) <= MARGIN + TILE_W + 1e-3 and \
        max(line.y1, line.y2) <= MARGIN + TILE_H + 1e-3


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
    figures["pdf"] = pdf
    return figures, [page_lines(p) for p in pages], text


def words(pdf, page=1):
    """Every word of a page with its box in mm, as poppler's pdftotext -bbox finds it."""
    html = subprocess.run(["pdftotext", "-bbox", "-f", str(page), "-l", str(page), str(pdf), "-"],
                          capture_output=True, text=True, check=True).stdout
    found = []
    for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                         r'yMax="([\d.]+)">([^<]*)</word>', html):
        x0, y0, x1, y1 = (float(v) * MM_PER_PT for v in m.groups()[:4])
        found.append((m.group(5), x0, y0, x1, y1))
    return found


def check_bars(lines, inches, what):
    """One horizontal and one vertical check bar of the stated length, both on the page."""
    length = 50.8 if inches else 50.0
    bars = [l for l in lines if l.width == PROFILE and near(l.length, length, 0.05)]
    check(any(b.horizontal() for b in bars), f"{what}: a horizontal check bar of {length} mm")
    check(any(b.vertical() and b.x1 > MARGIN + TILE_W for b in bars),
          f"{what}: a vertical check bar of {length} mm in the strip beside the tile")


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
        slanted = [l for l in lines if l.width == PROFILE and in_tile(l) and not l.vertical() and
                   not l.horizontal()]
        for wall in slanted:
            ux, uy = (wall.x2 - wall.x1) / wall.length, (wall.y2 - wall.y1) / wall.length
            parallel = [b for b in lines if b.width == BAND and not b.dashed and b.length > 1 and
                        abs(ux * (b.y2 - b.y1) - uy * (b.x2 - b.x1)) / b.length < 1e-4]
            distances = sorted(distance_to_line(b.x1, b.y1, wall) for b in parallel)
            check(any(near(d, offset, 0.02) for d in distances) and
                  any(near(d, -offset, 0.02) for d in distances),
                  f"band lines {offset:.3f} mm either side of a cone wall, found {distances}")
    check(found, "a page shows both bearing walls at 50x their length")
    check_bars(pages[0], True, "bore at 50x")
    check("this bar is 2 in long" in text[0], "the check bar's statement in inches")
    check("magnification 50" in text[0] and "lengths in inches" in text[0],
          "the page names the magnification and the unit")
    check("tolerance band \u00b10.0005 in on the radius" in text[0], "the band is stated")
    check(figures["Warning"] == "", f"no warning at 50x: {figures['Warning']!r}")


def check_section_in_millimetres(writer, folder):
    """Catalogue row 1 (1.50 x 1.50 mm) in millimetres, the whole section at 20x."""
    m = 20
    figures, pages, text = write(writer, folder, "section20", m, 0, "section",
                                 ["select 1", "units 1", "calculate"])
    check(len(pages) == 1, f"a 30 mm section fits one page, got {len(pages)}")
    lines = pages[0]
    side = figures["DiamondHeight"] * m
    outline = sorted((l for l in lines if l.width == PROFILE and l.vertical() and in_tile(l) and
                      near(l.length, side)), key=lambda l: l.x1)
    # The die alone: the blank's two sides and the two bearing walls stand upright; no wire does.
    upright = [l for l in lines if l.width == PROFILE and l.vertical() and in_tile(l)]
    check(len(upright) == 4, f"four upright lines of the die and no wire, found {len(upright)}")
    # The datums run across the whole section at every corner of the bore, each named, its height
    # above the bottom face written just below it.
    datums = sorted((l for l in lines if l.width == BAND and l.horizontal()), key=lambda l: l.y1)
    check(len(datums) == 5, f"five datum lines, found {len(datums)}")
    if len(datums) == 5 and outline:
        check(near(datums[-1].y1 - datums[0].y1, side), "the face datums are the die's height apart")
        check(all(min(d.x1, d.x2) < outline[0].x1 and max(d.x1, d.x2) > outline[-1].x1
                  for d in datums), "the datums run across the profile")
        found = words(figures["pdf"])
        named = {w[0] for w in found}
        check({"top", "bottom", "start", "end", "bell", "cone", "bearing", "face"} <= named,
              f"the datums' names: {named}")
        for d in datums:
            height = (datums[-1].y1 - d.y1) / m
            below = [w for w in found if 0 < w[2] - d.y1 < 4 and w[1] > max(d.x1, d.x2)]
            check(any(near(float(w[0]), height, 0.0015) for w in below if re.fullmatch(
                r"\d+\.\d{3}", w[0])), f"the datum at {d.y1:.1f} mm is labelled {height:.3f}")
    check(len(outline) >= 2 and near(outline[-1].x1 - outline[0].x1,
                                     figures["DiamondDiameter"] * m),
          "the blank's sides stand 20 x its diameter apart")
    check(not any(l.width == BAND and not l.dashed and not l.horizontal() for l in lines),
          "no band at tolerance 0")
    axis = [l for l in lines if l.dashed and l.vertical()]
    check(len(axis) == 1 and outline and near(axis[0].x1, (outline[0].x1 + outline[-1].x1) / 2),
          "the axis runs midway between the blank's sides")
    check_bars(lines, False, "section at 20x")
    check("this bar is 50 mm long" in text[0], "the check bar's statement in millimetres")
    check("no tolerance band" in text[0], "a chart without a band says so")


def tiles_for(length, tile):
    return 1 if length <= tile else math.ceil((length - OVERLAP) / (tile - OVERLAP))


def check_tiling(writer, folder):
    """The largest catalogue blank's bore at 200x: only the pages that hold the die are printed,
    each labelled with its place in the whole grid, each offset by a tile less the overlap, with
    the alignment marks of neighbours falling on each other."""
    m = 200
    figures, pages, text = write(writer, folder, "tiles200", m, 0, "bore",
                                 ["select 14", "units 1", "calculate"])
    k = figures["UnitDivisor"] * m
    wall = figures["RightWall"]
    width = 2 * max(abs(x) for x, _ in wall) * k + 2 * MARGIN_X + LABEL_ROOM
    height = (max(y for _, y in wall) - min(y for _, y in wall)) * k + 2 * MARGIN_Y
    rows, columns = tiles_for(height, TILE_H), tiles_for(width, TILE_W)
    check(figures["Pages"] == len(pages), f"{figures['Pages']} pages counted, {len(pages)} printed")
    check(len(pages) < rows * columns, f"fewer pages than the {rows} x {columns} grid")
    place = {}
    for index, page_text in enumerate(text[:len(pages)]):
        found = re.search(r"row (\d+), column (\d+) of (\d+) \u00d7 (\d+)", page_text)
        if not found or (int(found.group(3)), int(found.group(4))) != (rows, columns):
            check(False, f"page {index + 1} is labelled in the {rows} x {columns} grid")
            return
        place[(int(found.group(1)), int(found.group(2)))] = index
        # Every page printed holds part of the profile.
        check(any(l.width == PROFILE and in_tile(l) for l in pages[index]),
              f"page {index + 1} holds part of the profile")

    def marks(lines):
        arms = [l for l in lines if l.width == MARK and near(l.length, 6.0, 0.01)]
        return [((l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2) for l in arms if l.horizontal()]

    step = (TILE_W - OVERLAP, TILE_H - OVERLAP)
    shared = 0
    for (r, c), index in place.items():
        for dr, dc in ((0, 1), (1, 0)):
            neighbour = place.get((r + dr, c + dc))
            if neighbour is None:
                continue
            # A mark shared with the neighbour lies there one step nearer its top left.
            matched = [p for p in marks(pages[index]) if any(
                near(p[0] - dc * step[0], q[0], 0.02) and near(p[1] - dr * step[1], q[1], 0.02)
                for q in marks(pages[neighbour]))]
            shared += 1
            if len(matched) < 2:
                check(False, f"page {index + 1} shares two alignment marks with its "
                             f"{'right' if dc else 'lower'} neighbour, found {len(matched)}")
                return
    check(shared > 0, "neighbouring pages were compared")
    # The axis lies on one line of the sheet on every page that shows it.
    axis_x = [(c - 1) * step[0] + l.x1 for (r, c), index in place.items()
              for l in pages[index] if l.dashed and l.vertical()]
    check(len(axis_x) >= 2 and max(axis_x) - min(axis_x) < 0.05,
          f"the axis lies on one line of the sheet, found {axis_x[:4]}...")


def check_region_mirror_paper(writer, folder):
    """The bearing alone at 500x on a few pages, mirrored, on Letter; a band the line hides is
    warned of."""
    m, t = 500, 0.0005
    events = ["select 26", "type 10 0.180", "type 5 0.180", "calculate"]
    figures, pages, text = write(writer, folder, "bearing500", m, t, "bore",
                                 events + ["region bearing", "mirror", "paper Letter"])
    k = figures["UnitDivisor"] * m
    check(1 <= len(pages) <= 4, f"the bearing at 500x on a few pages, got {len(pages)}")
    info = subprocess.run(["pdfinfo", str(figures["pdf"])], capture_output=True, text=True,
                          check=True).stdout
    check("612 x 792 pts" in info, "the chart is on Letter")
    bearing = figures["BearingLength"] * k
    walls = [l for p in pages for l in p if l.width == PROFILE and l.vertical() and in_tile(l)]
    check(any(near(l.length, bearing) for l in walls) or sum(l.length for l in walls) >=
          2 * bearing - 0.2, f"the bearing walls are {bearing:.2f} mm long")
    everything = "".join(text)
    check("region: bearing" in everything and "MIRRORED" in everything,
          "the foot names the region and the mirroring")
    check("top face" not in everything and "bearing start" in everything,
          "only the datum within the region")
    for lines in pages:
        for l in lines:
            check(max(l.x1, l.x2) <= 215.9 - MARGIN + 1e-3 and max(l.y1, l.y2) <= 279.4 -
                  MARGIN + 1e-3, "every line within Letter's margins")
    check_bars(pages[0], True, "bearing on Letter")
    # Mirrored, the entry face lies below the exit face: the bell's wider walls at the bottom.
    figures, pages, text = write(writer, folder, "mirror10", 10, t, "bore",
                                 events + ["mirror"])
    names = words(figures["pdf"])
    top = [w for w in names if w[0] == "top"]
    bottom = [w for w in names if w[0] == "bottom"]
    check(top and bottom and top[0][2] > bottom[0][2], "mirrored: the top face below the bottom")
    check(figures["Warning"].startswith("The tolerance band is 0.127 mm wide on paper"),
          f"a band the line hides is warned of: {figures['Warning']!r}")


def check_dialog_refuses_in_place(writer, folder):
    """The scale dialog keeps OK disabled and shows the reason for a value it cannot draw."""
    for typed, shown in (("200", "ok"), ("abc", "The magnification must be a number."),
                         ("2000", "The magnification must be from 1 to 1000.")):
        run = subprocess.run([writer, "--dialog", typed, str(folder / "dialog.png")],
                             capture_output=True, text=True, check=True)
        check(run.stdout.strip() == shown, f"the dialog with {typed!r} shows {shown!r}, "
                                           f"got {run.stdout.strip()!r}")


def check_dialog_counts_pages(writer, folder):
    """The scale dialog shows the pages that will print, updated as the options change, and the
    warning of a band the line hides while OK stays enabled."""
    run = subprocess.run([writer, "--dialog-pages", str(folder / "pages.png")],
                         capture_output=True, text=True, check=True)
    shown = {}
    for line in run.stdout.splitlines():
        step, pages, ok, reason = line.split("|")
        shown[step] = (int(pages.split()[0]) if pages[:1].isdigit() else None, ok, reason)
    count = {step: value[0] for step, value in shown.items()}
    check(None not in count.values() and count["200"] > count["opened"] > 0,
          f"more pages at 200x than at 50x: {count}")
    check(count["200 bearing"] is not None and count["200 bearing"] < count["200"],
          f"fewer pages for the bearing alone: {count}")
    check(shown["10 bearing band"][1] == "ok" and
          shown["10 bearing band"][2].startswith("The tolerance band is 0.127 mm"),
          f"a band the line hides is warned of with OK enabled: {shown['10 bearing band']}")
    check(shown["1000 section"][2] == "", f"no warning at 1000x: {shown['1000 section']}")


def main():
    writer = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        folder = pathlib.Path(folder)
        check_bore_at_magnification(writer, folder)
        check_section_in_millimetres(writer, folder)
        check_tiling(writer, folder)
        check_region_mirror_paper(writer, folder)
        check_dialog_refuses_in_place(writer, folder)
        check_dialog_counts_pages(writer, folder)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all overlay checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
