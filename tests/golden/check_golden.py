#!/usr/bin/env python3
"""The golden drawing table: every design of designs.script drawn again and compared to the bit.

The headless driver runs the committed script; each design ends in a dump of the whole window
(the state's doubles to 17 digits, every segment's single-precision ends to 9, every field and
label text), so two dumps are equal exactly when every number is the same float or double. The
table was written once by the model the independent geometry checks agree with. A product taken
in another order, or an end computed again where it should be read back, moves some last bit in
some of the designs, and the first design that differs is shown with its inputs.

    check_golden.py DRIVER designs.script designs.expected.gz
    check_golden.py --regenerate DRIVER designs.script designs.expected.gz
        (rewrites the table; only for a change of the drawing that is meant)
"""

import difflib
import gzip
import subprocess
import sys

END = "end dump\n"


def designs_of(output):
    """The output cut after each dump: a design's messages and its dump."""
    parts = output.split(END)
    return [part + END for part in parts[:-1]], parts[-1]


def script_of(script_lines, number):
    """The lines of design NUMBER, from its comment to its dump."""
    start = script_lines.index(f"# design {number}")
    end = script_lines.index("dump", start)
    return script_lines[start:end + 1]


def main(argv):
    regenerate = argv[:1] == ["--regenerate"]
    if regenerate:
        argv = argv[1:]
    if len(argv) != 3:
        sys.exit(__doc__)
    driver, script, table = argv
    run = subprocess.run([driver, script], capture_output=True, text=True, check=False)
    if run.returncode != 0 or run.stderr:
        sys.exit(f"{driver} exited with {run.returncode}: {run.stderr}")
    actual, tail = designs_of(run.stdout)
    if tail or not actual:
        sys.exit("the driver's output does not end in a dump")

    if regenerate:
        # No file name or time in the header, so the same drawing gives the same bytes.
        with open(table, "wb") as file:
            with gzip.GzipFile(fileobj=file, mode="wb", compresslevel=9, mtime=0,
                               filename="") as packed:
                packed.write(run.stdout.encode())
        print(f"wrote {len(actual)} designs to {table}")
        return 0

    with gzip.open(table, "rt") as file:
        expected, _ = designs_of(file.read())
    script_lines = open(script, encoding="utf-8").read().splitlines()
    for number, (want, got) in enumerate(zip(expected, actual), start=1):
        if want != got:
            print(f"design {number} of {len(expected)} differs from the golden table")
            print("its inputs:\n  " + "\n  ".join(script_of(script_lines, number)))
            print("".join(difflib.unified_diff(want.splitlines(True), got.splitlines(True),
                                               "golden", "now", n=0)))
            return 1
    if len(expected) != len(actual):
        print(f"the golden table holds {len(expected)} designs, the script gave {len(actual)}")
        return 1
    print(f"{len(actual)} designs equal to the golden table, bit for bit")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
