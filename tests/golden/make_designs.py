#!/usr/bin/env python3
"""Writes the designs of the golden drawing table as a script for the headless driver.

Run once to make designs.script; the table itself (designs.expected.gz) is the driver's output on
that script, kept by check_golden.py. The generator is seeded so that the same script comes out
again, but the test reads the committed script, never this generator.

Most designs are random: a unit and a blank (every catalogue row, and the custom blank with typed
dimensions), every input field typed, sometimes the unit switched before calculating (which
rewrites the wire diameters as text). Most are dies a maker would draw; the rest reach the edges:
a wire wider than the bell's mouth or resting on the bell, lengths that leave no reduction cone,
flat or folded-back angles, an outlet not smaller than the incoming wire, a zero diamond, text
that is not a number.

A coordinate is stored in single precision, so a formula taken in another order, which moves its
double result by an ulp, changes the stored float only once in some hundred million designs. The
rest of the designs are therefore aimed: one input is solved for, with the driver, so that a wall
ends on the panel's edge (x or y zero). The stored coordinate is then the few ulps left over from
the cancellation of terms of some thousand twips, and every one of its bits depends on the order
in which the terms were taken.

    make_designs.py --driver DIEPROFILE-REPLAY [--seed N] [--count N] > designs.script
"""

import argparse
import collections
import math
import random
import subprocess

MM_PER_INCH = 25.4
CUSTOM_ROW = 26
# The catalogue's diamond diameters and heights in millimetres, row by row.
ROW_SIZES_MM = [(1.5, 1.5), (4, 2.3), (4, 2.9), (7, 4), (7, 5.3), (8.7, 7.5), (13, 9), (13, 12),
                (16, 16), (19, 19), (25, 20), (30, 22), (40, 25), (45, 27), (1, 0.6), (1, 0.8),
                (1.2, 1), (1, 1.2), (1.2, 1.2), (1.4, 1.4), (1.6, 1.6), (1.8, 1.8), (2, 2),
                (2.5, 2), (2, 2.5)]
# Field indices.
OUTLET, INCOMING, REDUCTION_ANGLE, BEARING, ENTRANCE, HEIGHT, EXIT, EXIT_ANGLE, ENTRANCE_ANGLE, \
    DIAMETER = 0, 1, 2, 3, 4, 5, 6, 7, 8, 10


def number_text(rng, value):
    """The value as a user might type it: fixed places, shortest, exponent or padded."""
    # Fixed places keep two to six significant digits, as a maker would read them off a gauge.
    places = max(1, rng.randint(1, 5) - math.floor(math.log10(abs(value)))) if value else 1
    style = rng.random()
    if style < 0.55:
        return f"{value:.{places}f}"
    if style < 0.80:
        return repr(float(value))
    if style < 0.90:
        return f"{value:.{rng.randint(1, 8)}E}"
    return " " * rng.randint(0, 2) + f"{value:.{places}f}" + " " * rng.randint(0, 2)


def log_uniform(rng, low, high):
    return math.exp(rng.uniform(math.log(low), math.log(high)))


def angle(rng, low, high):
    if rng.random() < 0.94:
        return rng.uniform(low, high)
    # Flat, straight-through, folded back or negative.
    return rng.choice([0.0, 90.0, 179.9, 180.0, 200.0, -15.0, 1e-6, 359.0])


class Design:
    """One design: the unit, the blank, the texts typed, and whether the unit is switched last."""

    def __init__(self, unit, row):
        self.unit = unit
        self.row = row
        self.fields = {}
        self.switch = False

    def lines(self):
        lines = [f"units {self.unit}", f"select {self.row}"]
        lines += [f"type {index} {text}" for index, text in self.fields.items()]
        if self.switch:
            lines.append(f"units {1 - self.unit}")
        return lines + ["calculate", "dump"]


def random_design(rng, aimed=False, tall=False):
    """A random design; an aimed one calculates without a refusal, a tall one is a custom blank
    higher than the panel's drawing allows."""
    unit = rng.randint(0, 1)
    row = CUSTOM_ROW if tall or rng.random() < 0.2 else rng.randint(1, CUSTOM_ROW - 1)
    design = Design(unit, row)
    divisor = MM_PER_INCH if unit == 0 else 1.0
    if row == CUSTOM_ROW:
        diameter_mm = log_uniform(rng, 0.5, 60)
        height_mm = diameter_mm * (rng.uniform(1.7, 2.5) if tall else rng.uniform(0.4, 1.3))
        zero = not aimed and rng.random() < 0.01
        design.fields[DIAMETER] = "0" if zero else number_text(rng, diameter_mm / divisor)
        design.fields[HEIGHT] = number_text(rng, height_mm / divisor)
    else:
        diameter_mm = ROW_SIZES_MM[row - 1][0]
    diameter = diameter_mm / divisor

    # The outlet wire from a hair to a sizeable share of the diamond; the incoming wire a pass
    # larger, now and then far larger (onto the bell or past its mouth), equal or smaller.
    outlet = diameter * log_uniform(rng, 0.002, 0.3)
    pick = rng.uniform(0, 0.93) if aimed else rng.random()
    if pick < 0.75:
        incoming = outlet * rng.uniform(1.02, 1.6)
    elif pick < 0.93:
        incoming = outlet * rng.uniform(1.6, 6)
    elif pick < 0.96:
        incoming = outlet
    else:
        incoming = outlet * rng.uniform(0.3, 1)
    design.fields[OUTLET] = number_text(rng, outlet)
    design.fields[INCOMING] = (design.fields[OUTLET] if incoming == outlet
                               else number_text(rng, incoming))

    # Lengths in per cent; a few add up past the diamond's height.
    bearing = rng.uniform(20, 100) if rng.random() < 0.95 else rng.uniform(0, 400)
    entrance = rng.uniform(15, 45) if rng.random() < 0.95 else rng.uniform(0, 120)
    exit_length = rng.uniform(10, 35) if rng.random() < 0.95 else rng.uniform(0, 120)
    design.fields.update({
        REDUCTION_ANGLE: number_text(rng, angle(rng, 6, 32)),
        BEARING: number_text(rng, bearing),
        ENTRANCE: number_text(rng, entrance),
        EXIT: number_text(rng, exit_length),
        EXIT_ANGLE: number_text(rng, angle(rng, 30, 90)),
        ENTRANCE_ANGLE: number_text(rng, angle(rng, 30, 90)),
    })
    if not aimed and rng.random() < 0.02:
        typed = [OUTLET, INCOMING, REDUCTION_ANGLE, BEARING, ENTRANCE, EXIT, EXIT_ANGLE,
                 ENTRANCE_ANGLE]
        design.fields[rng.choice(typed)] = rng.choice(
            ["", "abc", "0,5", "1e", "--1", ".", "1E+300", "-1E+300", "1E-300"])
    # Switching the unit rewrites both wire diameters as text, and a catalogue blank's size.
    design.switch = not aimed and rng.random() < 0.2
    return design


# Aimed designs: the coordinate brought to zero (segment, 0 to 3 for X1 Y1 X2 Y2), the field
# solved for, the angles that let the wall reach the panel's edge (field, lowest, highest) and
# whether the blank must be taller than the panel's drawing.
Aim = collections.namedtuple("Aim", "name segment end field angles tall")
AIMS = [Aim(*aim) for aim in [
    ("back relief's left opening", "LineDieBackLeft", 2, EXIT, [(EXIT_ANGLE, 120, 170)], False),
    ("back relief's right opening", "LineDieBackRight", 2, EXIT, [(EXIT_ANGLE, -170, -120)],
     False),
    ("start of the bearing", "LineDieReductionRight", 3, BEARING, [], False),
    ("cone's top", "LineDieReductionLeft", 1, ENTRANCE, [], True),
    ("bell's mouth and the top face", "LineDieBellRight", 1, HEIGHT, [], True),
    ("cone's top right end", "LineDieReductionRight", 0, ENTRANCE,
     [(REDUCTION_ANGLE, 120, 170)], False),
    ("cone's top left end", "LineDieReductionLeft", 0, ENTRANCE, [(REDUCTION_ANGLE, 120, 170)],
     False),
    ("bell's left mouth", "LineDieBellLeft", 0, ENTRANCE, [(ENTRANCE_ANGLE, 100, 170)], False),
    ("bell's right mouth", "LineDieBellRight", 0, ENTRANCE, [(ENTRANCE_ANGLE, -170, -100)],
     False),
]]


def aimed_design(rng, aim):
    """A design to aim, and the value of its field to start from."""
    design = random_design(rng, aimed=True, tall=aim.tall)
    for index, low, high in aim.angles:
        design.fields[index] = repr(rng.uniform(low, high))
    return design, float(design.fields[aim.field])


def coordinates(driver, designs, aims):
    """The aimed coordinate of each design as the driver draws it."""
    script = "\n".join(line for design in designs for line in design.lines()) + "\n"
    run = subprocess.run([driver], input=script, capture_output=True, text=True, check=True)
    dumps = run.stdout.split("end dump\n")[:-1]
    values = []
    for dump, aim in zip(dumps, aims):
        for line in dump.splitlines():
            parts = line.split()
            if parts[:2] == ["segment", aim.segment]:
                values.append(float(parts[2 + aim.end]))
    return values


def solve(driver, designs, aims, starts):
    """Secant steps on every aimed design at once, keeping the input nearest to the root."""
    fields = [aim.field for aim in aims]
    xs = [[start, start * 1.01 + 1e-3] for start in starts]
    ys = []
    for step in range(2):
        for design, field, x in zip(designs, fields, xs):
            design.fields[field] = repr(x[step])
        ys.append(coordinates(driver, designs, aims))
    ys = [list(pair) for pair in zip(*ys)]
    for _ in range(10):
        for design, field, x, y in zip(designs, fields, xs, ys):
            (x0, x1), (y0, y1) = x[-2:], y[-2:]
            following = x1 if y1 == y0 or y1 == 0 else x1 - y1 * (x1 - x0) / (y1 - y0)
            x.append(following)
            design.fields[field] = repr(following)
        for y, value in zip(ys, coordinates(driver, designs, aims)):
            y.append(value)
    for design, field, x, y in zip(designs, fields, xs, ys):
        best = min(range(len(y)), key=lambda i: abs(y[i]))
        design.fields[field] = repr(x[best])
    return [min(abs(value) for value in y) for y in ys]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--driver", required=True)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--aimed", type=int, default=60, help="aimed designs per coordinate")
    options = parser.parse_args()
    rng = random.Random(options.seed)

    # A design whose coordinate will not come to zero (a wall end moving in float steps with the
    # input) is drawn anew.
    aims = [aim for aim in AIMS for _ in range(options.aimed)]
    designs = [None] * len(aims)
    for _ in range(10):
        waiting = [i for i, design in enumerate(designs) if design is None]
        if not waiting:
            break
        tried = [aimed_design(rng, aims[i]) for i in waiting]
        left = solve(options.driver, [design for design, _ in tried], [aims[i] for i in waiting],
                     [start for _, start in tried])
        for i, (design, _), residue in zip(waiting, tried, left):
            if residue < 1e-9:
                designs[i] = design
    if None in designs:
        raise SystemExit("some aimed designs could not be brought to zero")

    random_count = options.count - len(designs)
    designs = [random_design(rng) for _ in range(random_count)] + designs
    print(f"# {options.count} designs, make_designs.py --seed {options.seed}: {random_count} "
          f"random, then {options.aimed} aimed at each of the walls' ends on the panel's edge")
    for number, design in enumerate(designs, start=1):
        print(f"# design {number}")
        print("\n".join(design.lines()))


if __name__ == "__main__":
    main()
