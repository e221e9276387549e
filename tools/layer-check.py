#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own.

Every file of the program and of its tests belongs to the layer of the longest folder prefix
below (a test folder to the layer it tests); a quoted #include of another layer's header is
allowed only when that layer is one the including layer stands on. Usage:
    layer-check.py <source root>
"""
import pathlib
import re
import sys

# Layers from the bottom up, each with the layers it may include (besides itself).
# GENEW/reporting and projects/ are siblings: neither includes the other.
LAYERS = {
    "platform/base": set(),
    "platform/data/filter": {"platform/base"},
    "platform/data": {"platform/base", "platform/data/filter"},
    "platform/ui": {"platform/base", "platform/data/filter", "platform/data"},
    "platform/report": {"platform/base"},
    "platform/office": {"platform/base"},
}
LAYERS["GENEW/runtime/comun"] = {"platform/ui", "platform/report", "platform/office"} | LAYERS["platform/ui"]
LAYERS["GENEW/runtime/estructura"] = {"GENEW/runtime/comun"} | LAYERS["GENEW/runtime/comun"]
LAYERS["GENEW/runtime"] = {"GENEW/runtime/estructura"} | LAYERS["GENEW/runtime/estructura"]
LAYERS["GENEW/data"] = {"GENEW/runtime"} | LAYERS["GENEW/runtime"]
LAYERS["GENEW/reporting"] = {"GENEW/data"} | LAYERS["GENEW/data"]
LAYERS["projects"] = {"GENEW/data"} | LAYERS["GENEW/data"]
LAYERS["app"] = {"GENEW/reporting", "projects"} | LAYERS["GENEW/reporting"] | LAYERS["projects"]

# Test folders test the layer they name.
TEST_FOLDERS = {
    "tests/platform/base": "platform/base",
    "tests/platform/filter": "platform/data/filter",
    "tests/platform/engine": "platform/data",
    "tests/platform/data": "platform/data",
    "tests/platform/ui": "platform/ui",
    "tests/platform/report": "platform/report",
    "tests/platform/office": "platform/office",
    "tests/comun": "GENEW/runtime/comun",
    "tests/runtime/estructura": "GENEW/runtime/estructura",
    "tests/runtime": "GENEW/runtime",
    "tests/data": "GENEW/data",
    "tests/reporting": "GENEW/reporting",
    "tests/projects": "projects",
    "tests/app": "app",
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path, table):
    """The layer of the longest folder prefix of path in table, or None."""
    best = None
    for prefix, layer in table.items():
        if (path == prefix or path.startswith(prefix + "/")) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, layer)
    return best[1] if best else None


def file_layer(path):
    return layer_of(path, TEST_FOLDERS) or layer_of(path, {layer: layer for layer in LAYERS})


def header_layer(header):
    """A header's layer; a test helper (tests/...) counts as the layer its folder tests."""
    return file_layer(header)


def main(root):
    root = pathlib.Path(root)
    faults = []
    folders = {prefix.split("/")[0] for prefix in list(LAYERS) + list(TEST_FOLDERS)}
    paths = sorted(path for folder in folders for path in (root / folder).rglob("*")
                   if path.suffix in (".h", ".cpp") and path.is_file())
    for path in paths:
        relative = path.relative_to(root).as_posix()
        own = file_layer(relative)
        if own is None:
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = header_layer(match.group(1))
            if target is None or target == own or target in LAYERS[own]:
                continue
            faults.append(f"{relative}:{number}: {own} includes {match.group(1)} of {target}, a layer it does not stand on")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} upward include(s)" if faults else "no upward include")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
