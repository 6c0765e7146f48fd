#!/usr/bin/env python3
"""Checks the layers of src/ against docs/architecture.md.

Every quoted include names its layer ("scan/net/TransferPool.h") and reaches only a layer
below its own along the arrows of USES; each layer's CMakeLists.txt links exactly the
layers its files include. Prints every breach as FILE:LINE: why, and exits 1 on any.
"""

import pathlib
import re
import sys

# Who uses whom, the arrows of docs/architecture.md's diagram. A layer may include its own
# headers and those of every layer it reaches along the arrows; nothing else (neither the
# layers above it nor those beside it).
USES = {
    "app": ["ui"],
    "ui": ["operations", "frontend"],
    "cli": ["operations", "frontend"],
    "frontend": ["render", "scan"],
    "render": ["scan"],
    "operations": ["exchange", "scan"],
    "exchange": ["imaging", "storage"],
    "scan": ["imaging", "storage"],
    "imaging": ["platform"],
    "storage": ["settings"],
    "settings": ["platform"],
    "platform": ["base"],
    "base": [],
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]*)"')
LINKED = re.compile(r"\btrawlix_([a-z]+)\b")


def reachable(layer):
    seen = set()
    todo = list(USES[layer])
    while todo:
        below = todo.pop()
        if below not in seen:
            seen.add(below)
            todo.extend(USES[below])
    return seen


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    src = root / "src"
    problems = []
    for layer in sorted(USES):
        allowed = reachable(layer)
        included = {}  # layer -> first place it is included from
        for path in sorted((src / layer).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            name = path.relative_to(root)
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1).split("/")[0]
                where = f"{name}:{number}"
                if target not in USES or "/" not in match.group(1):
                    problems.append(f'{where}: "{match.group(1)}" names no layer')
                elif target != layer and target not in allowed:
                    problems.append(f"{where}: {layer} may not include {target} ({match.group(1)})")
                elif target != layer:
                    included.setdefault(target, where)
        cmake = src / layer / "CMakeLists.txt"
        linked = {n for n in LINKED.findall(cmake.read_text()) if n in USES and n != layer}
        for missing in sorted(set(included) - linked):
            problems.append(f"{cmake.relative_to(root)}: does not link {missing}, "
                            f"which {included[missing]} includes")
        for unused in sorted(linked - set(included)):
            problems.append(f"{cmake.relative_to(root)}: links {unused}, which no file of "
                            f"{layer} includes")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"layer check: {len(problems)} problems", file=sys.stderr)
        return 1
    print("layer check: every include and link follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
