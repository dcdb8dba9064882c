"""The drawing sheet read back as a drafter checks it, with pdfminer (the PDF's own vectors, dash
patterns, line widths and the embedded fonts' cap heights) and poppler (its text and paper).

check_sheet(PROGRAM, FOLDER): PROGRAM is dieprofile itself, run with --export on design files
written here and the user's sheet details in a settings file of a private configuration folder.
"""
import math
import os
import re
import subprocess

from pdfminer.converter import PDFLayoutAnalyzer
from pdfminer.layout import LAParams
from pdfminer.pdfinterp import PDFPageInterpreter, PDFResourceManager
from pdfminer.pdfpage import PDFPage
from pdfminer.utils import apply_matrix_pt

MM = 25.4 / 72
ISO_SCALES = {"1000:1", "500:1", "200:1", "100:1", "50:1", "20:1", "10:1", "5:1", "2:1", "1:1",
              "1:2", "1:5", "1:10"}
PAPERS = {"A4": (297, 210), "A3": (420, 297), "Letter": (279.4, 215.9), "Tabloid": (431.8, 279.4)}
# A name of one long word as well: the title block wraps or cuts it, never lets it run off.
DETAILS = {"owner": "Düsenbau & Co. GmbH", "drawnBy": "J. Drafter",
           "approvedBy": "A. Checker " + "W" * 300, "generalTolerances": "ISO 2768-mK"}

# name, unit, blank row, blank diameter and height (the row's, in the unit), paper asked, identity
# (and the bearing's tolerance), the bearing's length in per cent
CASES = [
    ("default die in inches", "in", "BLANK", 0.180, 0.180, None,
     {"drawingNumber": "DP-0042", "title": "Fine wire die", "revision": "C"}),
    ("steel own blank", "mm", "BLANK", 6.0, 4.0, None,
     {"bearingTolerance": "+0.005/-0 mm"}, "5.0"),
    ("tiny own blank", "mm", "BLANK", 1.2, 1.0, None, {"bearingTolerance": "+0.002/-0"}),
    ("smallest blank in millimetres", "mm", "SCS-0.6mm  -   0.6mm X 1.0mm", 1.0, 0.6, "Letter", {}),
    ("largest blank in millimetres", "mm",
     "QELTA No.  -   (Product No. KT114) [Diamond Diameter = 45.0mm | Diamond Thickness = 27.0mm]",
     45.0, 27.0, "A3", {}),
]


class Recorder(PDFLayoutAnalyzer):
    """Every stroked path with its width and dash pattern, and every glyph's cap height, in mm."""

    def __init__(self, manager):
        super().__init__(manager, laparams=LAParams())
        self.paths = []  # (width, dash, [points]) per subpath
        self.caps = []   # (text, cap height)

    def paint_path(self, gstate, stroke, fill, evenodd, path):
        if not stroke:
            return
        scale = math.hypot(self.ctm[0], self.ctm[1])
        width = gstate.linewidth * scale * MM
        dash = tuple(d * scale * MM for d in (gstate.dash[0] or ()))
        points = []
        for operation in path:
            if operation[0] == "m" and points:
                self.paths.append((width, dash, points))
                points = []
            if operation[0] in "ml":
                x, y = apply_matrix_pt(self.ctm, operation[1:3])
                points.append((x * MM, y * MM))
        if points:
            self.paths.append((width, dash, points))

    def render_char(self, matrix, font, fontsize, scaling, rise, cid, ncs, graphicstate):
        cap = font.descriptor.get("CapHeight", 0)
        size = fontsize * math.hypot(matrix[2], matrix[3])
        self.caps.append((font.to_unichr(cid) if hasattr(font, "to_unichr") else "?",
                          size * cap / 1000 * MM))
        return super().render_char(matrix, font, fontsize, scaling, rise, cid, ncs, graphicstate)


def read_pdf(path):
    manager = PDFResourceManager()
    recorder = Recorder(manager)
    interpreter = PDFPageInterpreter(manager, recorder)
    with open(path, "rb") as f:
        pages = list(PDFPage.get_pages(f))
        for page in pages:
            interpreter.process_page(page)
    box = pages[0].mediabox
    return recorder, ((box[2] - box[0]) * MM, (box[3] - box[1]) * MM), len(pages)


def segments(paths, width, dashed=None):
    for w, dash, points in paths:
        if abs(w - width) < 0.01 and (dashed is None or len(dash) == dashed):
            yield from zip(points, points[1:])


def crosses(a, b, box):
    """Whether the segment a-b passes through the box (left, bottom, right, top)."""
    left, bottom, right, top = box
    enter, leave = 0.0, 1.0
    for p, q in ((a[0] - b[0], a[0] - left), (b[0] - a[0], right - a[0]),
                 (a[1] - b[1], a[1] - bottom), (b[1] - a[1], top - a[1])):
        if p == 0:
            if q < 0:
                return False
        elif p < 0:
            enter = max(enter, q / p)
        else:
            leave = min(leave, q / p)
    return enter < leave


def design_text(unit, blank, diameter, height, identity, bearing="50.0"):
    wires = ("0.012", "0.022") if unit == "in" else ("0.3048", "0.5588")
    fields = {"outletDiameter": wires[0], "incomingDiameter": wires[1], "reductionAngle": "25.0",
              "bearingLength": bearing, "entranceLength": "30.0", "entranceAngle": "50.0",
              "exitLength": "20.0", "exitAngle": "50.0", "diamondDiameter": str(diameter),
              "diamondHeight": str(height)}
    import json
    root = {"format": "dieprofile-design", "version": 2 if identity else 1, "unit": unit,
            "blank": blank, **identity, "fields": fields}
    return json.dumps(root, ensure_ascii=False, indent=2)


def check_sheet(program, folder, fail):
    config = os.path.join(folder, "config")
    os.makedirs(os.path.join(config, "dieprofile"))
    with open(os.path.join(config, "dieprofile", "dieprofile.conf"), "w", encoding="utf-8") as f:
        f.write("[sheet]\n" + "".join(f"{k}={v}\n" for k, v in DETAILS.items()))
    environment = dict(os.environ, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="offscreen")
    # A blank of one's own too large for the sheet at 1:10 is refused in words, nothing written.
    stem = os.path.join(folder, "huge_blank")
    with open(stem + ".dieprofile", "w", encoding="utf-8") as f:
        f.write(design_text("mm", "BLANK", 6e4, 4e4, {}))
    run = subprocess.run([program, "--export", stem + ".pdf", stem + ".dieprofile"],
                         capture_output=True, text=True, env=environment)
    if run.returncode != 1 or "does not fit the" not in run.stderr or os.path.exists(stem + ".pdf"):
        fail(f"a blank of 6e4 mm: exit {run.returncode}, {run.stderr!r}")

    for name, unit, blank, diameter, height, paper, identity, *bearing in CASES:
        stem = os.path.join(folder, name.replace(" ", "_"))
        with open(stem + ".dieprofile", "w", encoding="utf-8") as f:
            f.write(design_text(unit, blank, diameter, height, identity, *bearing))
        command = [program, "--export", stem + ".pdf", stem + ".dieprofile"]
        if paper:
            command[1:1] = ["--paper", paper]
        run = subprocess.run(command, capture_output=True, text=True, env=environment)
        if run.returncode != 0:
            fail(f"{name}: export failed: {run.stderr}")
        text = subprocess.run(["pdftotext", "-raw", stem + ".pdf", "-"], capture_output=True,
                              text=True).stdout
        recorder, size, pages = read_pdf(stem + ".pdf")

        # The paper asked for (else A4 or Letter, by the printer or the locale), landscape.
        expected = PAPERS[paper] if paper else None
        if pages != 1 or (expected and max(abs(a - b) for a, b in zip(size, expected)) > 0.5):
            fail(f"{name}: {pages} pages of {size[0]:.1f} x {size[1]:.1f} mm, not {paper}")

        # The title block: every field, the user's details, the design's identity or its name.
        number = identity.get("drawingNumber", os.path.basename(stem))
        fields = ["Legal owner", "Drawn by", "Approved by", "Material", "General tolerances",
                  "Title", "Document type", "Date of issue", "Drawing number", "Scale", "Size",
                  "Revision", "Sheet", "1/1", number, identity.get("title", "Wire-drawing die"),
                  identity.get("revision", ""), *(v[:12] for v in DETAILS.values()),
                  blank.split("[")[0].strip() if blank != "BLANK" else
                  f"own blank Ø{diameter:.{4 if unit == 'in' else 3}f} × "
                  f"{height:.{4 if unit == 'in' else 3}f} {unit}",
                  "DIMENSIONS IN INCHES" if unit == "in" else "DIMENSIONS IN MILLIMETRES"]
        flat = " ".join(text.split())
        for field in fields:
            if " ".join(field.split()) not in flat:
                fail(f"{name}: the sheet does not say {field!r}:\n{text}")

        # An ISO 5455 scale, and the blank's outline (the wide lines) true to it within 0.05 mm.
        scales = [s for s in re.findall(r"\b\d+:\d+\b", text) if s != "1/1"]
        if len(scales) != 1 or scales[0] not in ISO_SCALES:
            fail(f"{name}: scales {scales}")
        paper_part, true_part = map(int, scales[0].split(":"))
        k = (25.4 if unit == "in" else 1) * paper_part / true_part
        wide = list(segments(recorder.paths, 0.5))
        xs = [p[0] for s in wide for p in s]
        ys = [p[1] for s in wide for p in s]
        measured = (max(xs) - min(xs), max(ys) - min(ys))
        if abs(measured[0] - diameter * k) > 0.05 or abs(measured[1] - height * k) > 0.05:
            fail(f"{name}: the blank is drawn {measured[0]:.3f} x {measured[1]:.3f} mm at "
                 f"{scales[0]}, not {diameter * k:.3f} x {height * k:.3f}")
        # The bearing: the shortest wide line across the bore is the outlet diameter.
        across = [abs(a[0] - b[0]) for a, b in wide if abs(a[1] - b[1]) < 1e-6 and
                  abs((a[0] + b[0]) / 2 - (min(xs) + max(xs)) / 2) < 0.01]
        outlet = (0.012 if unit == "in" else 0.3048) * k
        if not across or abs(min(across) - outlet) > 0.05:
            fail(f"{name}: the bearing is drawn {min(across, default=0):.3f} mm, not {outlet:.3f}")

        # ISO 128 line types: an axis of long dash and dot, wires of long dash and two dots, the
        # section hatched at 45° in narrow lines, nothing else dashed.
        centre = [dash for w, dash, _ in recorder.paths if len(dash) == 4]
        phantom = [dash for w, dash, _ in recorder.paths if len(dash) == 6]
        if len(centre) != 1 or not (centre[0][0] > 10 * centre[0][2]):
            fail(f"{name}: centre lines {centre}")
        if len(phantom) != 4 or not (phantom[0][0] > 10 * phantom[0][2]):
            fail(f"{name}: phantom lines {phantom}")
        others = {dash for w, dash, _ in recorder.paths if dash and len(dash) not in (4, 6)}
        if others:
            fail(f"{name}: other dash patterns {others}")
        hatch = [s for s in segments(recorder.paths, 0.25, 0)
                 if abs(abs(s[1][0] - s[0][0]) - abs(s[1][1] - s[0][1])) < 0.01 and
                 abs(s[1][0] - s[0][0]) > 0.3]
        if len(hatch) < 20:
            fail(f"{name}: {len(hatch)} hatching lines")

        # Dimensions: the three angles in degrees, and the values in 3.5 mm lettering (the results
        # are in 2.5 mm: poppler's word boxes are then over 5 mm across the line of text).
        places = 4 if unit == "in" else 3
        if text.count("25°") != 1 or text.count("50°") != 2:
            fail(f"{name}: angles {re.findall(r'[0-9.]+°', text)}")
        words = re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                           r'yMax="([\d.]+)">([^<]*)</word>',
                           subprocess.run(["pdftotext", "-bbox", stem + ".pdf", "-"],
                                          capture_output=True, text=True).stdout)
        # Ø before each of the six diameters drawn (the blank, the incoming wire, the mouth, the
        # cone's entry, the bearing and the exit opening), in the unit's decimals; the bearing is
        # the outlet's size, and its tolerance stands after it, the upper deviation above.
        title_top = min(float(w[1]) for w in words if w[4] == "DIMENSIONS")
        drawn = [w for w in words if w[4].startswith("Ø") and float(w[3]) < title_top and
                 min(float(w[2]) - float(w[0]), float(w[3]) - float(w[1])) * MM > 5]
        diameters = [w[4][1:] for w in drawn]
        bearing_size = f"{(0.012 if unit == 'in' else 0.3048):.{places}f}"
        if len(diameters) != 6 or bearing_size not in diameters or any(
                not re.fullmatch(rf"\d+\.\d{{{places}}}", d) for d in diameters):
            fail(f"{name}: diameters {diameters}")
        if "bearingTolerance" in identity:
            deviation = identity["bearingTolerance"].split("/")[0]
            at = next(w for w in drawn if w[4][1:] == bearing_size)
            upper = [w for w in words if w[4] == deviation and float(w[0]) >= float(at[2]) - 1
                     and float(at[1]) - 12 < float(w[1]) < float(at[1])]
            lower = [w for w in words if w[4] == "0" and float(w[0]) >= float(at[2]) - 1 and
                     abs(float(w[3]) - float(at[3])) < 3]
            if not upper or not lower or f"Ø0.305 {deviation}/0 mm" not in flat:
                fail(f"{name}: the bearing's tolerance is not written after its size: {at}")
        dimensions = [w[4] for w in words if re.fullmatch(r"Ø?-?\d*\.\d+", w[4]) and
                      min(float(w[2]) - float(w[0]), float(w[3]) - float(w[1])) * MM > 5]
        if len(dimensions) < 6:
            fail(f"{name}: dimensions {dimensions}")
        for value in dimensions:
            number = value.lstrip("Ø")
            if len(number.split(".")[1]) != places or float(number) <= 0:
                fail(f"{name}: the dimension {value!r}")

        # Everything written stands inside the frame (a filing margin of 20 mm, 10 mm elsewhere).
        for w in words:
            x0, y0, x1, y1 = (float(v) * MM for v in w[:4])
            if x0 < 20 or x1 > size[0] - 10 or y0 < 10 or y1 > size[1] - 10:
                fail(f"{name}: {w[4][:20]!r} stands outside the frame at {x0:.1f}..{x1:.1f} mm")

        # No word stands on another: a short zone's value is led out clear of every other.
        # (poppler's boxes run from the font's ascent to its descent: taller than the lettering)
        placed = [(float(w[0]) * MM + 0.2, float(w[1]) * MM + 0.7, float(w[2]) * MM - 0.2,
                   float(w[3]) * MM - 0.7, w[4]) for w in words]
        for i, a in enumerate(placed):
            for b in placed[i + 1:]:
                if a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]:
                    fail(f"{name}: {a[4]!r} stands on {b[4]!r}")

        # No value stands across the blank's outline: its sides and its faces out to the bore.
        # (the lettering's own height, from the baseline up to the capitals, as above)
        outline = [(a, b) for a, b in wide if min(xs) in (a[0], b[0]) or max(xs) in (a[0], b[0])]
        for a, b in outline:
            for x0, y0, x1, y1, word in placed:
                if crosses(a, b, (x0, size[1] - y1, x1, size[1] - y0)):
                    fail(f"{name}: {word!r} stands across the blank's outline")

        # Hatching gives way to every value laid over the section.
        boxes = [(float(w[0]) * MM + 0.3, size[1] - float(w[3]) * MM + 0.3,
                  float(w[2]) * MM - 0.3, size[1] - float(w[1]) * MM - 0.3) for w in words]
        for a, b in hatch:
            for box in boxes:
                if crosses(a, b, box):
                    fail(f"{name}: a hatching line runs through text at {box}")

        # Lettering at least 2.5 mm high.
        small = [(c, round(h, 2)) for c, h in recorder.caps if h < 2.45]
        if small or not recorder.caps:
            fail(f"{name}: lettering below 2.5 mm: {small[:5]}")
