#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own, or of a room beside it.

Every file of the program and of its tests belongs to the layer of the longest folder prefix
below (a test folder to the layer it tests); a quoted #include of another layer's header is
allowed only when that layer is one the including layer stands on. A folder split into rooms
holds files only in its rooms. The rooms' includes must also form no circle. Usage:
    layer-check.py <source root>
"""
import pathlib
import re
import sys

# Layers from the bottom up, each with the layers it may include (besides itself).
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
# The SQL service's text answer is a library of its own over the common routines: the record
# services stand on it without the rest of the runtime.
LAYERS["GENEW/runtime/RespuestaSQL"] = {"GENEW/runtime/comun"} | LAYERS["GENEW/runtime/comun"]
LAYERS["GENEW/runtime/FilasResultadoConsulta"] = {"GENEW/runtime/RespuestaSQL"} | LAYERS["GENEW/runtime/RespuestaSQL"]
LAYERS["GENEW/runtime"] = ({"GENEW/runtime/estructura", "GENEW/runtime/RespuestaSQL", "GENEW/runtime/FilasResultadoConsulta"}
                           | LAYERS["GENEW/runtime/estructura"])

# The record framework's rooms: services without widgets, the data module over them, the
# windows over both.
LAYERS["GENEW/data/servicios"] = ({"platform/base", "platform/data/filter", "platform/data", "platform/office",
                                   "GENEW/runtime/comun", "GENEW/runtime/RespuestaSQL",
                                   "GENEW/runtime/FilasResultadoConsulta"})
LAYERS["GENEW/data/modulo"] = {"GENEW/data/servicios", "GENEW/runtime"} | LAYERS["GENEW/data/servicios"] | LAYERS["GENEW/runtime"]
LAYERS["GENEW/data/ventanas"] = {"GENEW/data/modulo"} | LAYERS["GENEW/data/modulo"]
# GENEW/reporting and projects/ are siblings: neither includes the other.
LAYERS["GENEW/reporting"] = {"GENEW/data/ventanas"} | LAYERS["GENEW/data/ventanas"]

# The project areas share comun/; the operators' windows open the operators' calendar;
# otherwise no area includes another.
LAYERS["projects/comun"] = {"GENEW/data/ventanas"} | LAYERS["GENEW/data/ventanas"]
LAYERS["projects/calendario"] = {"projects/comun"} | LAYERS["projects/comun"]
LAYERS["projects/operarios"] = {"projects/calendario"} | LAYERS["projects/calendario"]
LAYERS["projects/gamas"] = {"projects/comun"} | LAYERS["projects/comun"]
LAYERS["projects/proyectos"] = {"projects/comun"} | LAYERS["projects/comun"]
PROJECT_ROOMS = {"projects/comun", "projects/calendario", "projects/operarios", "projects/gamas", "projects/proyectos"}
# The tests of the whole folder stand on every room of it.
LAYERS["projects"] = PROJECT_ROOMS | set().union(*(LAYERS[room] for room in PROJECT_ROOMS))
LAYERS["app"] = {"GENEW/reporting", "projects"} | LAYERS["GENEW/reporting"] | PROJECT_ROOMS | set().union(
    *(LAYERS[room] for room in PROJECT_ROOMS))

# Folders split into rooms: a file directly in one belongs in one of its rooms.
ROOMED = ("GENEW/data", "projects")

# Test folders test the layer they name; the tests of a whole roomed folder stand where its
# top room does.
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
    "tests/data/servicios": "GENEW/data/servicios",
    "tests/data": "GENEW/data/ventanas",
    "tests/reporting": "GENEW/reporting",
    "tests/projects": "projects",
    "tests/app": "app",
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of(path, table):
    """The layer of the longest prefix of path in table, a prefix being a folder or a file
    name without its extension; None when none matches."""
    best = None
    for prefix, layer in table.items():
        inside = path == prefix or path.startswith(prefix + "/") or path.rsplit(".", 1)[0] == prefix
        if inside and (best is None or len(prefix) > len(best[0])):
            best = (prefix, layer)
    return best[1] if best else None


def file_layer(path):
    return layer_of(path, TEST_FOLDERS) or layer_of(path, {layer: layer for layer in LAYERS})


def header_layer(header):
    """A header's layer; a test helper (tests/...) counts as the layer its folder tests."""
    return file_layer(header)


def circles(edges):
    """Each circle of the graph {node: set(nodes)} once, as the list of its nodes."""
    found, state = [], {}

    def visit(node, path):
        state[node] = "open"
        path.append(node)
        for successor in sorted(edges.get(node, ())):
            if state.get(successor) == "open":
                found.append(path[path.index(successor):] + [successor])
            elif successor not in state:
                visit(successor, path)
        path.pop()
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [])
    return found


def check(root):
    """The faults of the tree at root, one text each."""
    root = pathlib.Path(root)
    faults = []
    for circle in circles(LAYERS):
        faults.append("the layer table itself has a circle: " + " -> ".join(circle))
    folders = {prefix.split("/")[0] for prefix in list(LAYERS) + list(TEST_FOLDERS)}
    paths = sorted(path for folder in folders for path in (root / folder).rglob("*")
                   if path.suffix in (".h", ".cpp") and path.is_file())
    includes = {}
    for path in paths:
        relative = path.relative_to(root).as_posix()
        if relative.rsplit("/", 1)[0] in ROOMED:
            faults.append(f"{relative}: outside the rooms of {relative.rsplit('/', 1)[0]}")
            continue
        own = file_layer(relative)
        if own is None:
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = header_layer(match.group(1))
            if target is None or target == own:
                continue
            if not relative.startswith("tests/"):
                includes.setdefault(own, set()).add(target)
            if target in LAYERS[own]:
                continue
            faults.append(f"{relative}:{number}: {own} includes {match.group(1)} of {target}, a layer it does not stand on")
    for circle in circles(includes):
        faults.append("include circle across layers: " + " -> ".join(circle))
    return faults


def main(root):
    faults = check(root)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} fault(s)" if faults else "no upward include")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
