#!/usr/bin/env python3
"""Fails, naming file and line, when a source file includes one of a higher layer.

Each folder below is a layer; a file may include files of its own layer and of
the layers listed for it. Tests and benchmarks sit above everything and are not
checked. Usage: check-layers.py <source root>
"""
import pathlib
import re
import sys

# layer -> the layers its files may include besides its own
MAY_INCLUDE = {
    "framework/runtime": [],
    "framework/graphics": ["framework/runtime"],
    "framework/windows": ["framework/graphics", "framework/runtime"],
    "framework/controls": ["framework/windows", "framework/graphics", "framework/runtime"],
    "calendar": ["framework/runtime"],
    "calendar/calendars": ["calendar", "astronomy", "framework/runtime"],
    "astronomy": ["framework/runtime"],
    "services": ["framework/controls", "framework/windows", "framework/graphics", "framework/runtime"],
    "effects": ["services", "framework/controls", "framework/windows", "framework/graphics",
                "framework/runtime"],
    "window": ["effects", "services", "calendar", "framework/controls", "framework/windows",
               "framework/graphics", "framework/runtime"],
    "tools": ["calendar/calendars", "calendar", "astronomy", "framework/runtime"],
}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(relative_path):
    """The layer a root-relative path belongs to, or None outside the layers."""
    text = relative_path.as_posix()
    best = None
    for layer in MAY_INCLUDE:
        if text.startswith(layer + "/") and (best is None or len(layer) > len(best)):
            best = layer
    return best


def resolve(root, including_file, name):
    """The root-relative path an include names: beside the file first, then from the root."""
    beside = including_file.parent / name
    if beside.exists():
        return beside.resolve().relative_to(root)
    return pathlib.PurePosixPath(name)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = []
    checked = 0
    for path in sorted(root.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or any(p.startswith("build") for p in path.relative_to(root).parts):
            continue
        own = layer_of(path.relative_to(root))
        if own is None:
            continue
        checked += 1
        allowed = {own, *MAY_INCLUDE[own]}
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = layer_of(resolve(root, path, match.group(1)))
            if target is not None and target not in allowed:
                faults.append(f"{path.relative_to(root)}:{number}: {own} includes {match.group(1)} ({target})")
    for fault in faults:
        print(fault)
    print(f"{checked} files checked, {len(faults)} upward includes")
    return 1 if faults or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
