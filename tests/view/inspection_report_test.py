"""The inspection report's PDF read back with poppler, beside the CSV written with it: every
figure of the CSV stands in the PDF's table on its own line, as the table rounds it; the zone
beyond its band alone is marked; the page is one landscape sheet that states its scale, its
exaggeration, the document type, the measured file and the verdict.

inspection_report_test.py VIEW_TESTS: runs the window test that exports both reports.
"""
import csv
from html import unescape
import os
import re
import subprocess
import sys
import tempfile

DECIMALS = {"deg": 2, "count": 0, "in": 5, "mm": 4}


def figure(text, unit):
    if text == "":
        return ""
    shown = format(float(text), "." + str(DECIMALS[unit]) + "f")
    return shown[1:] if re.fullmatch(r"-0\.?0*", shown) else shown


def main():
    with tempfile.TemporaryDirectory() as out:
        check(out)


def check(out):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", DIEPROFILE_INSPECTION_OUT=out)
    run = subprocess.run([sys.argv[1], "--gtest_filter=InspectionWindow.*"], env=env,
                         capture_output=True, text=True)
    assert run.returncode == 0, run.stdout[-3000:]
    pdf = os.path.join(out, "report.pdf")
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    assert re.search(r"^Pages:\s+1$", info, re.M), info
    width, height = map(float, re.search(r"Page size:\s+([\d.]+) x ([\d.]+)", info).groups())
    assert width > height, info
    # Every word with its place, gathered into the lines they stand on (baselines within 1 pt).
    html = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True,
                          check=True).stdout
    words = [(float(x), float(y), unescape(w)) for x, y, w in
             re.findall(r'<word xMin="([\d.]+)" yMin="[\d.]+" xMax="[\d.]+" yMax="([\d.]+)">'
                        r'([^<]*)</word>', html)]
    rows = {}
    for x, y, w in sorted(words, key=lambda t: (t[1], t[0])):
        key = next((k for k in rows if abs(k - y) < 1), y)
        rows.setdefault(key, []).append((x, w))
    lines = [" ".join(w for _, w in sorted(r)) for _, r in sorted(rows.items())]
    text = "\n".join(lines)
    failures = []
    with open(os.path.join(out, "report.csv"), newline="") as f:
        for row in csv.DictReader(f):
            name = re.sub(r"_deg$", "", row["quantity"]).replace("_", " ")
            within = {"yes": "yes", "no": "OUTSIDE", "": ""}[row["within_tolerance"]]
            cells = [figure(row[k], row["unit"]) for k in ("design", "measured", "deviation")]
            expected = " ".join(c for c in [name] + cells + [row["unit"], within] if c)
            if not any(line.endswith(expected) for line in lines):
                failures.append(f"{row['quantity']}: no line ends in {expected!r}")
    flat = " ".join(text.split())
    for words in ["Document type Date of issue", "Inspection", "die 7 & worn.csv", "DIMENSIONS IN INCHES",
                  "Verdict: outside tolerance: reduction zone by 0.000"]:
        if words not in flat:
            failures.append(f"missing {words!r}")
    if flat.count("OUTSIDE") != 1:
        failures.append(f"OUTSIDE {flat.count('OUTSIDE')} times")
    if not re.search(r"scale \d+:\d+, deviations \u00D7\d+", flat):
        failures.append("no scale and exaggeration stated")
    assert not failures, "\n".join(failures) + "\n" + text


if __name__ == "__main__":
    main()
