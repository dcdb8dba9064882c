#!/usr/bin/env python3
"""Measured bores traced in CAD, written by ezdxf (not by us), inspected by the program.

check_dxf_inspection.py DIEPROFILE DESIGN: the design's wall is taken from the program's own DXF
export (read with ezdxf), written again as a CAD user would trace it (an LWPOLYLINE in another
frame, LINEs on a layer beside other geometry, a classic POLYLINE in inches), inspected with
--inspect, and the report's figures compared with the design's. Exits non-zero on the first fault.
"""
import csv
import math
import os
import subprocess
import sys
import tempfile

import ezdxf


def fail(message):
    sys.exit("FAIL: " + message)


def run(program, *arguments):
    done = subprocess.run([program, *arguments], capture_output=True, text=True,
                          env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
    return done.returncode, done.stdout.strip(), done.stderr.strip()


def right_wall(path):
    """The bore's right-hand wall from the program's DXF, from the mouth down."""
    doc = ezdxf.readfile(path)
    walls = [e for e in doc.modelspace() if e.dxftype() == "POLYLINE"
             and e.dxf.layer == "BORE_PROFILE"]
    for wall in walls:
        points = [tuple(v.dxf.location)[:2] for v in wall.vertices]
        if all(x > 0 for x, _ in points):
            return sorted(points, key=lambda p: -p[1])
    fail("no right-hand wall in the design's DXF")


def moved(points, flip, dx, dy, scale=1.0):
    return [((x + dx) * scale, ((-y if flip else y) + dy) * scale) for x, y in points]


def report(path):
    with open(path, newline="") as stream:
        return {row["quantity"]: row for row in csv.DictReader(stream)}


def main(program, design):
    with tempfile.TemporaryDirectory() as work:
        drawn = os.path.join(work, "design.dxf")
        status, _, err = run(program, "--export", drawn, design)
        if status != 0:
            fail(f"the design's DXF was not written: {err}")
        wall = right_wall(drawn)
        left = [(-x, y) for x, y in reversed(wall)]

        cases = []
        # One wall as an LWPOLYLINE, entrance down, in millimetres.
        doc = ezdxf.new("R2010", units=4)
        doc.modelspace().add_lwpolyline(moved(wall, True, 0, 40))
        cases.append(("lwpolyline.dxf", doc, [], 0))
        # Both walls as LINEs on WALL, beside a frame and an arc on another layer.
        doc = ezdxf.new("R12")
        space = doc.modelspace()
        for outline in (wall, left):
            points = moved(outline, False, 5, -3)
            for a, b in zip(points, points[1:]):
                space.add_line(a, b, dxfattribs={"layer": "WALL"})
        space.add_line((-50, -50), (50, -50), dxfattribs={"layer": "FRAME"})
        space.add_arc((0, 0), 30, 0, 180, dxfattribs={"layer": "FRAME"})
        cases.append(("lines.dxf", doc, ["--layer", "wall"], 0))
        # A classic POLYLINE in inches: the same figures in the design's millimetres.
        doc = ezdxf.new("R2000", units=1)
        for outline in (wall, left):
            doc.modelspace().add_polyline2d(moved(outline, False, 0, 0, 1 / 25.4))
        cases.append(("polyline_inches.dxf", doc, [], 0))
        # The bearing and the back relief opened by 0.01 mm on the radius: outside a band of
        # 0.002 mm, the bearing 0.02 mm wider.
        wide = [(x + (0.01 if i >= 2 else 0), y) for i, (x, y) in enumerate(wall)]
        doc = ezdxf.new("R2010", units=4)
        doc.modelspace().add_lwpolyline(wide)
        cases.append(("wide_bearing.dxf", doc, [], 3))

        for name, doc, options, expected in cases:
            measured = os.path.join(work, name)
            doc.saveas(measured)
            out = os.path.join(work, name + ".csv")
            deviations = os.path.join(work, name + ".deviations.csv")
            status, verdict, err = run(program, "--inspect", measured, "--tolerance", "0.002",
                                       *options, "--deviations", deviations, "--export", out,
                                       design)
            if status != expected:
                fail(f"{name}: exit {status}, expected {expected}: {err}")
            figures = report(out)
            if expected == 3:
                if not verdict.startswith("outside tolerance: "):
                    fail(f"{name}: verdict {verdict!r}")
                if figures["bearing_max_deviation"]["within_tolerance"] != "no":
                    fail(f"{name}: the bearing is not marked outside")
                opened = float(figures["bearing_diameter"]["deviation"])
                if abs(opened - 0.02) > 1e-6:
                    fail(f"{name}: the bearing measures {opened} wider, not 0.02")
                continue
            if verdict != "within tolerance":
                fail(f"{name}: verdict {verdict!r}")
            for quantity in ("entrance_angle_deg", "reduction_angle_deg", "exit_angle_deg",
                             "reduction_length", "bearing_length", "mouth_diameter"):
                row = figures[quantity]
                if not row["deviation"] or abs(float(row["deviation"])) > 1e-6:
                    fail(f"{name}: {quantity} is {row['measured']}, designed {row['design']}")
            with open(deviations, newline="") as stream:
                rows = list(csv.DictReader(stream))
            if not rows or {row["zone"] for row in rows} != {"entrance", "reduction", "bearing",
                                                             "exit"}:
                fail(f"{name}: the deviations do not name every zone")
            if max(abs(float(row["deviation"])) for row in rows) > 1e-6:
                fail(f"{name}: a point deviates from the design it was traced from")
    print("every DXF traced with ezdxf gives the design's figures back")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
