#!/usr/bin/env python3
"""Reads the program's exports back with independent readers.

check_exports.py KIND PROGRAM, KIND one of dxf, pdf, svg, names, refusals; PROGRAM makes the files
(dieprofile-export-drawing); or sheet with PROGRAM dieprofile itself (check_sheet.py). Exits non-zero with the reason on the first fault.
"""
import json
import math
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LAYERS = {"BORE_PROFILE", "SECTION", "WIRES", "DIMENSIONS", "AXIS"}


def fail(message):
    sys.exit("FAIL: " + message)


def make(program, path, *options):
    run = subprocess.run([program, path, *options], capture_output=True, text=True)
    return run.returncode, run.stderr.strip()


def run_tool(*command):
    run = subprocess.run(command, capture_output=True, text=True)
    if run.returncode != 0:
        fail(f"{command[0]} exited {run.returncode}: {run.stderr}")
    return run.stdout


def dxf_points(entity):
    """The points of a LINE, POLYLINE, SOLID or TEXT in the plane, in order; a text's is halfway
    up its letters at its insertion point, where it stands whichever way it reads."""
    if entity.dxftype() == "LINE":
        return [tuple(entity.dxf.start)[:2], tuple(entity.dxf.end)[:2]]
    if entity.dxftype() == "POLYLINE":
        return [tuple(v.dxf.location)[:2] for v in entity.vertices]
    if entity.dxftype() == "SOLID":
        return [tuple(entity.dxf.get(f"vtx{i}"))[:2] for i in range(4)]
    x, y = tuple(entity.dxf.insert)[:2]
    turn = math.radians(entity.dxf.rotation)
    half = entity.dxf.height / 2
    return [(x - math.sin(turn) * half, y + math.cos(turn) * half)]


def dxf_segments(entity):
    points = dxf_points(entity)
    if entity.dxftype() == "POLYLINE" and entity.is_closed:
        points = points + points[:1]
    return list(zip(points, points[1:])) if entity.dxftype() not in ("TEXT", "SOLID") else []


def near(a, b, tolerance):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1])) <= tolerance


def read_dxf(name, path, unit):
    import ezdxf
    from ezdxf import recover

    doc = ezdxf.readfile(path)
    if doc.dxfversion != "AC1009":
        fail(f"{name}: version {doc.dxfversion}, not R12")
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        fail(f"{name}: audit found {[e.message for e in auditor.errors + auditor.fixes]}")
    if doc.header.get("$INSUNITS") != unit:
        fail(f"{name}: $INSUNITS {doc.header.get('$INSUNITS')}, not {unit}")
    if doc.header.get("$DWGCODEPAGE") != "ANSI_1252" or doc.encoding != "cp1252":
        fail(f"{name}: code page {doc.header.get('$DWGCODEPAGE')}, encoding {doc.encoding}")
    # The recovering reader also decodes the \\U+XXXX escapes, as CAD programs do.
    recovered, auditor = recover.readfile(path)
    if auditor.has_errors:
        fail(f"{name}: the recovering reader found {[e.message for e in auditor.errors]}")
    texts = [e.dxf.text for e in recovered.modelspace() if e.dxftype() == "TEXT"]
    return doc.modelspace(), texts


def check_dxf(program, folder):
    # The default profile (wire on the cone), a wire on the bell, the profile in millimetres; the
    # half profile alone; and each turned to a horizontal axis, which must be the same drawing
    # turned a quarter turn anticlockwise about the origin.
    rows = [("cone", [], 1, "section"), ("bell", ["--incoming", "0.05"], 1, "section"),
            ("metric", ["--millimetres"], 4, "section"), ("half", [], 1, "half"),
            ("half-metric", ["--millimetres"], 4, "half")]
    name_with_accents = "D\u00fcse \u20ac\u03a9\u0416.dieprofile"
    for name, options, unit, profile in rows:
        upright = None
        for axis in ["vertical", "horizontal"]:
            label = f"{name}, {axis}"
            path = os.path.join(folder, f"{name}-{axis}.DXF")
            code, message = make(program, path, *options, "--name", name_with_accents,
                                 "--dxf-profile", profile, "--dxf-axis", axis)
            if code != 0:
                fail(f"{label}: export failed: {message}")
            msp, texts = read_dxf(label, path, unit)
            entities = list(msp)
            if {e.dxftype() for e in entities} - {"LINE", "TEXT", "POLYLINE", "SOLID"}:
                fail(f"{label}: entities other than LINE, POLYLINE, SOLID and TEXT")
            # Every text reads from the bottom or the right of the drawing.
            for e in entities:
                if e.dxftype() == "TEXT" and not (-1e-9 <= e.dxf.rotation <= 90 + 1e-9):
                    fail(f"{label}: \"{e.dxf.text}\" turned {e.dxf.rotation} degrees")
            expected = json.load(open(path + ".wall.json"))
            tolerance = 1e-6 * expected["height"]
            wall = [tuple(p) for p in expected["wall"]]
            if axis == "horizontal":
                wall = [(-y, x) for x, y in wall]
            chain = [e for e in entities if e.dxf.layer == "BORE_PROFILE"]
            if len(chain) != 1 or chain[0].dxftype() != "POLYLINE":
                fail(f"{label}: BORE_PROFILE holds {[e.dxftype() for e in chain]}, not one POLYLINE")
            points = dxf_points(chain[0])
            if profile == "half":
                # Axis at the top face, the wall, the axis at the bottom face, closed.
                h = expected["height"] if axis == "vertical" else -expected["height"]
                top, bottom = ((0, h), (0, 0)) if axis == "vertical" else ((h, 0), (0, 0))
                want = [top] + wall + [bottom]
                if not chain[0].is_closed:
                    fail(f"{label}: the half profile is not closed")
                if len(entities) != 1:
                    fail(f"{label}: {len(entities)} entities beside the half profile")
            else:
                want = wall
                if chain[0].is_closed:
                    fail(f"{label}: the wall is closed")
            if len(points) != len(want) or not all(near(a, b, tolerance) for a, b in zip(points, want)):
                fail(f"{label}: BORE_PROFILE runs {points}, the drawing has {want}")
            # Nothing else repeats a piece of the wall, in either direction.
            wall_pieces = dxf_segments(chain[0])
            for other in entities:
                if other is chain[0]:
                    continue
                for a, b in dxf_segments(other):
                    for c, d in wall_pieces:
                        if (near(a, c, tolerance) and near(b, d, tolerance)) or \
                                (near(a, d, tolerance) and near(b, c, tolerance)):
                            fail(f"{label}: {other.dxftype()} on {other.dxf.layer} repeats {c}-{d}")
            if profile == "section":
                layers = {e.dxf.layer for e in entities}
                if not LAYERS <= layers:
                    fail(f"{label}: no entities on {sorted(LAYERS - layers)}")
                if f"DESIGN: {name_with_accents}" not in texts:
                    fail(f"{label}: the design's name is not among {texts}")
                # The sheet's values: Ø before a diameter, degrees, 4 decimals in inches.
                if name == "cone" and not {"0.0540", "\u00d80.0120", "\u00d80.0220", "\u00d80.1800",
                                           "25\u00b0", "50\u00b0"} <= set(texts):
                    fail(f"cone: dimension texts {texts}")
                # Arrowheads are filled triangles: a SOLID's last two corners are one point.
                solids = [e for e in entities if e.dxftype() == "SOLID"]
                if not solids or any(e.dxf.layer != "DIMENSIONS" or
                                     not near(dxf_points(e)[2], dxf_points(e)[3], tolerance)
                                     for e in solids):
                    fail(f"{label}: arrowheads {[dxf_points(e) for e in solids]}")
                # The wires end a little beyond the die's faces, not far out.
                along = 1 if axis == "vertical" else 0
                sign = 1 if axis == "vertical" else -1
                ends = [sign * p[along] for e in entities if e.dxf.layer == "WIRES"
                        for p in dxf_points(e)]
                height = expected["height"]
                if not (-0.2 * height < min(ends) < 0 and height < max(ends) < 1.2 * height):
                    fail(f"{label}: the wires run from {min(ends)} to {max(ends)}")
                axis_lines = [e for e in entities if e.dxf.layer == "AXIS"]
                if len(axis_lines) != 1 or any(abs(p[1 - along]) > tolerance
                                               for p in dxf_points(axis_lines[0])):
                    fail(f"{label}: the axis is not one line along {'y' if along else 'x'}")
            # Every entity of the horizontal file is the upright one's turned about the origin.
            drawn = [(e.dxftype(), e.dxf.layer, dxf_points(e)) for e in entities]
            if upright is None:
                upright = drawn
            else:
                turned = [(t, layer, [(-y, x) for x, y in pts]) for t, layer, pts in upright]
                if len(turned) != len(drawn) or any(
                        a[:2] != b[:2] or not all(near(p, q, tolerance) for p, q in zip(a[2], b[2]))
                        for a, b in zip(turned, drawn)):
                    fail(f"{label}: not the upright drawing turned a quarter turn")


def check_pdf(program, folder):
    path = os.path.join(folder, "sheet.Pdf")
    code, message = make(program, path)
    if code != 0:
        fail(f"export failed: {message}")
    text = run_tool("pdftotext", "-layout", path, "-")
    for figure in ["0.736", "70.248", "236.111", "on the reduction cone", "0.0226 in, 26.85 % of the",
                   "Sample die", "own blank Ø0.1800 × 0.1800 in", "Scale", "INCHES",
                   "Bearing Diameter", "Ø0.0120 in"]:
        if figure not in text:
            fail(f"pdftotext does not find {figure!r}:\n{text}")
    fonts = run_tool("pdffonts", path).splitlines()[2:]
    if not fonts:
        fail("no fonts: the text is not text")
    for line in fonts:
        # name type encoding emb sub uni object: "emb" is the fourth field from the right.
        if line.split()[-5] != "yes":
            fail(f"a font is not embedded: {line}")
    images = run_tool("pdfimages", "-list", path).splitlines()[2:]
    if images:
        fail(f"the sheet holds images: {images}")
    info = dict(line.split(":", 1) for line in run_tool("pdfinfo", path).splitlines() if ":" in line)
    if info["Pages"].strip() != "1":
        fail(f"{info['Pages'].strip()} pages")
    width, _, height = info["Page size"].split()[:3]
    if float(width) <= float(height):
        fail(f"the page is not landscape: {info['Page size']}")


def check_svg(program, folder):
    path = os.path.join(folder, "sheet.svg")
    code, message = make(program, path, "--incoming", "0.100")
    if code != 0:
        fail(f"export failed: {message}")
    root = ET.parse(path).getroot()
    if not root.tag.endswith("svg"):
        fail(f"root element {root.tag}")
    texts = " ".join(text.strip() for text in root.itertext() if text.strip())
    # Incoming 0.100: delta sin(12.5°) × 0.112 / 0.088, and a wire wider than the bell's mouth.
    for figure in ["0.275", "none: the wire is wider than the bell's mouth", "Sample die"]:
        if figure not in texts:
            fail(f"the SVG's text lacks {figure!r}")
    png = os.path.join(folder, "sheet.png")
    run_tool("rsvg-convert", "-o", png, path)
    if os.path.getsize(png) == 0:
        fail("rsvg-convert wrote an empty PNG")


def check_hostile_names(program, folder):
    """Design names that are markup or hold control characters still make an SVG that XML readers
    and librsvg accept, with the name in its title as far as XML can hold it."""
    for given, title in [("Smith & Sons.dieprofile", "Smith & Sons.dieprofile"),
                         ("<b>\"die\"</b>.dieprofile", "<b>\"die\"</b>.dieprofile"),
                         ("a\x1b]0;owned\x07.dieprofile", "a\ufffd]0;owned\ufffd.dieprofile")]:
        path = os.path.join(folder, "hostile.svg")
        code, message = make(program, path, "--name", given)
        if code != 0:
            fail(f"{given!r}: export failed: {message}")
        run = subprocess.run(["xmllint", "--noout", path], capture_output=True, text=True)
        if run.returncode != 0:
            fail(f"{given!r}: xmllint refuses the SVG: {run.stderr}")
        root = ET.parse(path).getroot()
        found = root.find("{http://www.w3.org/2000/svg}title")
        if found is None or found.text != "Die Profile: " + title:
            fail(f"{given!r}: title {None if found is None else found.text!r}")
        run_tool("rsvg-convert", "-o", os.path.join(folder, "hostile.png"), path)


def check_refusals(program, folder):
    cases = [
        ("before Calculate", "early.pdf", ["--no-calculate"], "Press Calculate first"),
        ("DXF before Calculate", "early.dxf", ["--no-calculate"], "Press Calculate first"),
        ("another extension", "sheet.png", [], "must end in .pdf, .svg or .dxf"),
        ("a missing folder", os.path.join("missing", "sheet.pdf"), [], "does not exist"),
        ("a missing folder, SVG", os.path.join("missing", "sheet.svg"), [], "does not exist"),
        ("a missing folder, DXF", os.path.join("missing", "sheet.dxf"), [], "does not exist"),
    ]
    for name, file, options, words in cases:
        path = os.path.join(folder, file)
        code, message = make(program, path, *options)
        if code == 0 or words not in message or path not in message:
            fail(f"{name}: exit {code}, message {message!r}")
        if os.path.exists(path):
            fail(f"{name}: {path} was written")
    # A failed export leaves an existing file as it was.
    path = os.path.join(folder, "kept.dxf")
    with open(path, "w") as f:
        f.write("old")
    code, _ = make(program, path, "--no-calculate")
    if code == 0 or open(path).read() != "old":
        fail("a refused export changed the existing file")


def main():
    kind, program = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        if kind == "sheet":
            from check_sheet import check_sheet
            check_sheet(program, folder, fail)
        else:
            {"dxf": check_dxf, "pdf": check_pdf, "svg": check_svg, "names": check_hostile_names,
             "refusals": check_refusals}[kind](program, folder)
    print(f"{kind}: ok")


if __name__ == "__main__":
    main()
