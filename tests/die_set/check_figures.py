#!/usr/bin/env python3
"""An independent check of the die set's figures.

For every set file given, the headless driver opens it and exports its CSV; this script reads the
set file itself and computes every column again from the inputs, by the formulas of the die set's
documentation written out here afresh, and compares. The die's delta and meeting point come from
the window's drawing code, so they are checked against the die's geometry instead: the delta by
its definition, the meeting point from where a wire of the incoming diameter first touches a cone
of the reduction angle (or, above the cone, the entrance bell).

    check_figures.py DRIVER SET.dieset...
    check_figures.py --self-test DRIVER SET.dieset   (a figure put wrong is caught)
"""

import csv
import decimal
import io
import json
import math
import os
import re
import subprocess
import sys
import tempfile

HEADER = ("pass,incoming,outlet,area_reduction_percent,elongation_percent,true_strain,delta,"
          "half_angle_deg,optimum_half_angle_deg,mean_flow_stress_MPa,drawing_stress_MPa,"
          "stress_ratio,force_N,speed_m_per_s,power_kW,temperature_rise_K,"
          "meeting_point_above_bearing,bell_contact")

MM_PER_INCH = 25.4


def number(text):
    return float(text.strip())


def rounded(outlet, rounding):
    """To the nearest multiple of the step in decimals, or the nearest size (halfway, the larger)."""
    if "step" in rounding:
        step = decimal.Decimal(rounding["step"].strip())
        multiples = (decimal.Decimal(outlet) / step).to_integral_value(decimal.ROUND_HALF_EVEN)
        return float(multiples * step)
    sizes = [number(t) for t in rounding["sizes"]]
    return min(sizes, key=lambda size: (abs(size - outlet), -size))


def outlets_of(inputs, start, finish):
    schedule = inputs["schedule"]
    if schedule["kind"] == "diameters":
        outlets = [number(t) for t in schedule["outlets"]]
    else:
        if schedule["kind"] == "equal":
            count = int(number(schedule["dies"]))
        else:
            limit = number(schedule["percent"]) / 100
            count = next(n for n in range(1, 101) if 1 - (finish / start) ** (2 / n) <= limit)
        outlets = [start * (finish / start) ** (i / count) for i in range(1, count)] + [finish]
    if "rounding" in inputs:
        # Every outlet but the finish, which stays exact.
        outlets = [rounded(d, inputs["rounding"]) for d in outlets[:-1]] + outlets[-1:]
    return outlets


def blank_height(inputs, unit_mm):
    """The diamond's height in the set's unit: typed for a blank of one's own, else the row's."""
    die = inputs["die"]
    if die["blank"] == "BLANK":
        return number(die["fields"]["diamondHeight"])
    found = re.search(r"Thickness = ([0-9.]+)mm", die["blank"]) or re.search(
        r"X ([0-9.]+)mm", die["blank"])
    return float(found.group(1)) / unit_mm


def expected_rows(inputs):
    unit_mm = MM_PER_INCH if inputs["unit"] == "in" else 1.0
    start, finish = number(inputs["startDiameter"]), number(inputs["finishDiameter"])
    material = inputs["material"]
    k, n = number(material["strengthCoefficient"]), number(material["hardeningExponent"])
    rho, heat = number(material["density"]), number(material["specificHeat"])
    mu, speed_n = number(inputs["friction"]), number(inputs["finishSpeed"])
    height = blank_height(inputs, unit_mm)

    rows = []
    previous_d, previous_e = start, 0.0
    for i, d in enumerate(outlets_of(inputs, start, finish), 1):
        # The die's fields, with whatever this pass replaces.
        fields = dict(inputs["die"]["fields"])
        for override in inputs.get("overrides", []):
            if number(override["pass"]) == i:
                fields.update(override["fields"])
        angle = number(fields["reductionAngle"])
        alpha = math.radians(angle / 2)
        e = 2 * math.log(start / d)
        phi = e - previous_e
        k_mean = k * (e ** (n + 1) - previous_e ** (n + 1)) / ((n + 1) * phi)
        sigma = k_mean * (phi * (1 + mu / alpha) + 2 / 3 * alpha)
        area_mm2 = math.pi * (d * unit_mm) ** 2 / 4
        v = speed_n * (finish / d) ** 2
        force = sigma * area_mm2
        # The die: the cone rises from the bearing to the bell at the reduction zone's height.
        cone_height = (height - height * number(fields["entranceLength"]) / 100
                       - d * number(fields["bearingLength"]) / 100
                       - height * number(fields["exitLength"]) / 100)
        on_cone = (previous_d - d) / 2 / math.tan(alpha)
        if on_cone <= cone_height:
            meeting, bell = on_cone, "no"
        else:
            bell_half = math.radians(number(fields["entranceAngle"]) / 2)
            cone_top = d / 2 + cone_height * math.tan(alpha)
            meeting, bell = cone_height + (previous_d / 2 - cone_top) / math.tan(bell_half), "yes"
        rows.append({
            "pass": i,
            "incoming": previous_d,
            "outlet": d,
            "area_reduction_percent": 100 * (1 - (d / previous_d) ** 2),
            "elongation_percent": 100 * ((previous_d / d) ** 2 - 1),
            "true_strain": e,
            "delta": math.sin(alpha) * (previous_d + d) / (previous_d - d),
            "half_angle_deg": angle / 2,
            "optimum_half_angle_deg": math.degrees(math.sqrt(1.5 * mu * phi)),
            "mean_flow_stress_MPa": k_mean,
            "drawing_stress_MPa": sigma,
            "stress_ratio": sigma / (k * e ** n),
            "force_N": force,
            "speed_m_per_s": v,
            "power_kW": force * v / 1000,
            "temperature_rise_K": sigma * 1e6 / (rho * heat),
            "meeting_point_above_bearing": meeting,
            "bell_contact": bell,
        })
        previous_d, previous_e = d, e
    return rows, height


# How closely each column must agree: the schedule's own figures to rounding; the delta to the
# window's pi (3.1415926); the meeting point to the drawing's single-precision coordinates.
def tolerance(column, height):
    if column == "delta":
        return 1e-6, 0.0
    if column == "meeting_point_above_bearing":
        return 0.0, 2e-4 * height
    return 1e-9, 1e-12


def compare(csv_text, inputs):
    problems = []
    lines = csv_text.splitlines()
    if not lines or lines[0] != HEADER:
        return ["the header is not the documented one: %r" % (lines[:1],)]
    rows, height = expected_rows(inputs)
    got = list(csv.DictReader(io.StringIO(csv_text)))
    if len(got) != len(rows):
        return ["%d rows, expected %d" % (len(got), len(rows))]
    for want, have in zip(rows, got):
        for column, value in want.items():
            text = have[column]
            if column == "pass" or column == "bell_contact":
                if text != str(value):
                    problems.append("pass %s %s: %s, expected %s" % (want["pass"], column, text,
                                                                     value))
                continue
            try:
                read = float(text)
            except ValueError:
                problems.append("pass %s %s: %r is not a number" % (want["pass"], column, text))
                continue
            relative, absolute = tolerance(column, height)
            if not math.isclose(read, value, rel_tol=relative, abs_tol=absolute):
                problems.append("pass %s %s: %s, expected %r" % (want["pass"], column, text,
                                                                 value))
    return problems


def exported_csv(driver, set_path):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "set.csv")
        script = "set-open %s\nset-export %s\n" % (os.path.abspath(set_path), out)
        result = subprocess.run([driver], input=script, capture_output=True, text=True,
                                check=False)
        if result.returncode != 0 or result.stdout:
            raise SystemExit("%s: the driver said: %s%s" % (set_path, result.stdout,
                                                           result.stderr))
        with open(out, encoding="utf-8") as exported:
            return exported.read()


def main(arguments):
    self_test = arguments[:1] == ["--self-test"]
    if self_test:
        arguments = arguments[1:]
    if len(arguments) < 2:
        raise SystemExit(__doc__)
    driver, sets = arguments[0], arguments[1:]
    failed = False
    for set_path in sets:
        with open(set_path, encoding="utf-8") as file:
            inputs = json.load(file)
        text = exported_csv(driver, set_path)
        if self_test:
            # Each column in turn put wrong in its last row, by more than its tolerance.
            last = text.splitlines()[-1].split(",")
            for column in range(1, 17):
                wrong = list(last)
                wrong[column] = repr(float(wrong[column]) * 1.001 + 1e-3)
                changed = "\n".join(text.splitlines()[:-1] + [",".join(wrong)]) + "\n"
                if not compare(changed, inputs):
                    print("%s: column %d put wrong was not caught" % (set_path, column))
                    failed = True
            continue
        problems = compare(text, inputs)
        for problem in problems:
            print("%s: %s" % (set_path, problem))
        failed = failed or bool(problems)
        if not problems:
            print("%s: %d passes agree" % (set_path, len(text.splitlines()) - 1))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
