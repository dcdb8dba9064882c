#!/usr/bin/env python3
"""Checks the source tree's layers: only src/qt/ and the Qt programs in tools/ include Qt, and each
folder of src/ includes only the folders below it, so no folder includes one that includes it back.

Usage: check_layers.py SOURCE_DIR   (exits 1 and names every offending line)
       check_layers.py --self-test  (the check finds the faults planted in a small tree)
"""
import pathlib
import re
import sys

# Which folders of src/ each folder may include, besides itself.
ALLOWED = {
    "core": set(),
    "catalogue": {"core"},
    "profile": {"core"},
    "output": {"core", "profile"},
    "app": {"core", "catalogue", "profile", "output"},
    "qt": {"core", "catalogue", "profile", "output", "app"},
}
# Qt programs outside src/qt/: tools, the window tests and the window benchmarks.
QT_PROGRAMS = {"tools/icon_main.cpp", "tools/screenshot_main.cpp", "bench/window_bench.cpp",
               "bench/export_bench.cpp", "bench/die_set_window_bench.cpp",
               "bench/startup_main.cpp"}
QT_FOLDERS = ("src/qt/", "tests/view/")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/.*|qt\w*\.h)$")


def main(root: pathlib.Path) -> int:
    problems = []
    sources = [p for d in ("src", "tools", "tests", "bench", "fuzz")
               for p in (root / d).rglob("*") if p.suffix in (".cpp", ".h")]
    for path in sorted(sources):
        relative = path.relative_to(root).as_posix()
        parts = relative.split("/")
        qt_allowed = relative.startswith(QT_FOLDERS) or relative in QT_PROGRAMS
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(2)
            if match.group(1) == "<" and QT_HEADER.match(header) and not qt_allowed:
                problems.append(f"{relative}:{number}: includes the Qt header <{header}>")
            if parts[0] == "src" and match.group(1) == '"':
                folder, target = parts[1], header.split("/")[0]
                if target != folder and target not in ALLOWED.get(folder, set()):
                    problems.append(f"{relative}:{number}: src/{folder} includes src/{target}")
    for problem in problems:
        print(problem)
    print(f"{len(sources)} files checked, {len(problems)} problems")
    return 1 if problems else 0


def self_test() -> int:
    import contextlib
    import io
    import tempfile
    planted = {
        "src/profile/stage.cpp": '#include <QString>\n#include "app/form_model.h"\n',
        "src/core/number.h": '#include "catalogue/catalogue.h"\n#include <vector>\n',
        "tests/model/a_test.cpp": "#include <QtCore/QObject>\n",
        "src/qt/window.cpp": '#include <QWidget>\n#include "app/form_model.h"\n',
        "tools/replay.cpp": '#include "app/dump.h"\n',
    }
    expected = {
        "src/profile/stage.cpp:1: includes the Qt header <QString>",
        "src/profile/stage.cpp:2: src/profile includes src/app",
        "src/core/number.h:1: src/core includes src/catalogue",
        "tests/model/a_test.cpp:1: includes the Qt header <QtCore/QObject>",
    }
    with tempfile.TemporaryDirectory() as directory:
        root = pathlib.Path(directory)
        for name, text in planted.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text, encoding="utf-8")
        output = io.StringIO()
        with contextlib.redirect_stdout(output):
            status = main(root)
    found = set(output.getvalue().splitlines()[:-1])
    if status != 1 or found != expected:
        print("the check missed or invented problems:", sorted(found ^ expected))
        return 1
    print("the check finds every planted problem and nothing else")
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["--self-test"]:
        sys.exit(self_test())
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
