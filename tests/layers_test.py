#!/usr/bin/python3
"""The layers as the build links them: each folder's sources include only
their own folder and the folders below it, the front ends no other front
end (the windows share desktop/, and program/ starts either window), and
no chain of includes between files comes back to where it began.

Usage: layers_test.py SOURCE_DIR   (exit status 1 on a fault, each named)
"""
import re
import sys
from pathlib import Path

# Bottom first; a folder may include itself and those before it.
CORE = ["base", "os", "number", "params", "fit", "batch", "drawing", "site", "report"]
# What the two windows share, above the core.
DESKTOP = "desktop"
FRONT_ENDS = ["cli", "app", "workbench"]
PROGRAM = "program"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]+)"', re.M)


def faults(root):
    """Every upward include and every include cycle below `root`, as lines."""
    found = []
    graph = {}
    every = CORE + [DESKTOP] + FRONT_ENDS + [PROGRAM]
    for folder in every:
        if folder in CORE:
            allowed = set(CORE[: CORE.index(folder) + 1])
        elif folder == PROGRAM:
            allowed = set(every)
        elif folder == "cli":
            allowed = set(CORE) | {folder}
        else:
            allowed = set(CORE) | {DESKTOP, folder}
        for path in sorted((root / folder).glob("*.[ch]*")):
            name = f"{folder}/{path.name}"
            graph[name] = []
            text = path.read_text(encoding="utf-8")
            for m in INCLUDE.finditer(text):
                target = f"{m.group(1)}/{m.group(2)}"
                line = text.count("\n", 0, m.start()) + 1
                if m.group(1) in every and m.group(1) not in allowed:
                    found.append(f"{name}:{line}: includes {target}, which is not below {folder}/")
                graph[name].append(target)
    # Depth-first, each file once; a file met again while still open closes a cycle.
    state = {}
    for start in sorted(graph):
        stack = [(start, iter(graph[start]))]
        state[start] = "open"
        while stack:
            node, rest = stack[-1]
            target = next(rest, None)
            if target is None:
                state[node] = "done"
                stack.pop()
            elif target in graph and state.get(target) == "open":
                cycle = [n for n, _ in stack][[n for n, _ in stack].index(target):] + [target]
                found.append("include cycle: " + " -> ".join(cycle))
            elif target in graph and target not in state:
                state[target] = "open"
                stack.append((target, iter(graph[target])))
    return found


def self_check():
    """The checker itself, on planted trees: (files, the faults it must name)."""
    import tempfile

    cases = [
        ({"fit/a.h": '#include "params/b.h"\n', "params/b.h": ""}, []),
        ({"params/b.h": '#include "fit/a.h"\n', "fit/a.h": ""},
         ["params/b.h:1: includes fit/a.h, which is not below params/"]),
        ({"batch/r.cpp": '#include "drawing/d.h"\n', "drawing/d.h": ""},
         ["batch/r.cpp:1: includes drawing/d.h, which is not below batch/"]),
        ({"report/r.h": '#include "site/p.h"\n', "site/p.h": '#include "batch/b.h"\n',
          "batch/b.h": ""}, []),
        ({"drawing/d.h": '#include "site/p.h"\n', "site/p.h": ""},
         ["drawing/d.h:1: includes site/p.h, which is not below drawing/"]),
        ({"cli/m.cpp": '#include "app/w.h"\n', "app/w.h": ""},
         ["cli/m.cpp:1: includes app/w.h, which is not below cli/"]),
        ({"workbench/w.cpp": '#include "app/m.h"\n#include "desktop/p.h"\n', "app/m.h": "",
          "desktop/p.h": ""},
         ["workbench/w.cpp:1: includes app/m.h, which is not below workbench/"]),
        ({"desktop/p.h": '#include "workbench/w.h"\n', "workbench/w.h": ""},
         ["desktop/p.h:1: includes workbench/w.h, which is not below desktop/"]),
        ({"batch/a.h": '\n#include "batch/b.h"\n', "batch/b.h": '#include "batch/a.h"\n'},
         ["include cycle: batch/a.h -> batch/b.h -> batch/a.h"]),
    ]
    ok = True
    for files, expected in cases:
        with tempfile.TemporaryDirectory() as tmp:
            for name, text in files.items():
                (Path(tmp) / name).parent.mkdir(parents=True, exist_ok=True)
                (Path(tmp) / name).write_text(text)
            got = faults(Path(tmp))
            if got != expected:
                print(f"FAIL checker on {sorted(files)}: expected {expected}, got {got}")
                ok = False
    return ok


def main():
    found = faults(Path(sys.argv[1]))
    for fault in found:
        print(fault)
    return 0 if self_check() and not found else 1


if __name__ == "__main__":
    sys.exit(main())
