#!/usr/bin/env python3
"""Reads the program's exports back with independent readers.

check_exports.py KIND PROGRAM, KIND one of dxf, pdf, svg, names, refusals; PROGRAM makes the files
(dieprofile-export-drawing). Exits non-zero with the reason on the first fault.
"""
import json
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


def check_dxf(program, folder):
    import ezdxf

    # The default profile (wire on the cone), a wire on the bell, and the profile in millimetres.
    for name, options, unit in [("cone", [], 1), ("bell", ["--incoming", "0.05"], 1),
                                ("metric", ["--millimetres"], 4)]:
        path = os.path.join(folder, name + ".DXF")
        code, message = make(program, path, *options)
        if code != 0:
            fail(f"{name}: export failed: {message}")
        doc = ezdxf.readfile(path)
        if doc.dxfversion != "AC1009":
            fail(f"{name}: version {doc.dxfversion}, not R12")
        auditor = doc.audit()
        if auditor.has_errors or auditor.has_fixes:
            fail(f"{name}: audit found {[e.message for e in auditor.errors + auditor.fixes]}")
        if doc.header.get("$INSUNITS") != unit:
            fail(f"{name}: $INSUNITS {doc.header.get('$INSUNITS')}, not {unit}")
        layers = {layer.dxf.name for layer in doc.layers}
        if not LAYERS <= layers:
            fail(f"{name}: layers {sorted(layers)} lack {sorted(LAYERS - layers)}")
        msp = doc.modelspace()
        used = {e.dxf.layer for e in msp}
        if not LAYERS <= used:
            fail(f"{name}: no entities on {sorted(LAYERS - used)}")
        if {e.dxftype() for e in msp} - {"LINE", "TEXT"}:
            fail(f"{name}: entities other than LINE and TEXT")

        expected = json.load(open(path + ".wall.json"))
        tolerance = 1e-6 * expected["height"]
        chain = [e for e in msp if e.dxf.layer == "BORE_PROFILE"]
        if len(chain) != 4:
            fail(f"{name}: the bore profile has {len(chain)} lines, not 4")
        points = [tuple(chain[0].dxf.start)[:2]] + [tuple(e.dxf.end)[:2] for e in chain]
        for i in range(1, 4):
            gap = max(abs(a - b) for a, b in zip(chain[i - 1].dxf.end, chain[i].dxf.start))
            if gap > tolerance:
                fail(f"{name}: the bore profile breaks after line {i} by {gap}")
        for i, (got, want) in enumerate(zip(points, expected["wall"])):
            if max(abs(got[0] - want[0]), abs(got[1] - want[1])) > tolerance:
                fail(f"{name}: bore point {i} is {got}, the drawing has {want}")
        # From the mouth on the top face down to the exit opening on the bottom face.
        if abs(points[0][1] - expected["height"]) > tolerance or abs(points[-1][1]) > tolerance:
            fail(f"{name}: the chain runs from y {points[0][1]} to {points[-1][1]}")
        texts = [e.dxf.text for e in msp if e.dxftype() == "TEXT"]
        if name == "cone" and not {"0.0540", "0.0226", "0.0120"} <= set(texts):
            fail(f"cone: dimension texts {texts}")


def check_pdf(program, folder):
    path = os.path.join(folder, "sheet.Pdf")
    code, message = make(program, path)
    if code != 0:
        fail(f"export failed: {message}")
    text = run_tool("pdftotext", "-layout", path, "-")
    for figure in ["0.736", "70.248", "236.111", "on the reduction cone", "0.0226 in, 26.85 % of the",
                   "Sample die", "BLANK", "Scale", "INCHES"]:
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
        {"dxf": check_dxf, "pdf": check_pdf, "svg": check_svg, "names": check_hostile_names,
         "refusals": check_refusals}[kind](program, folder)
    print(f"{kind}: ok")


if __name__ == "__main__":
    main()
