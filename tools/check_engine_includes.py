#!/usr/bin/env python3
"""The engine's include rules, checked on the source tree (run from anywhere).

A reading goes one way through the engine's folders, and each folder may
include only its own headers and those of the folders before it:

    text, io, errors -> container -> makernote -> walk -> reading -> context_free

Beside that: each source file's first include is its own header; the public
headers (include/tiffwalker) include only each other and the standard
library, as <tiffwalker/...>; and no front end includes an engine header that
is not public. Prints every breach and exits 1 when there is one.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
ENGINE = ROOT / "engine"
PUBLIC = ROOT / "include" / "tiffwalker"
LAYERS = ["text", "io", "errors", "container", "makernote", "walk", "reading", "context_free"]
# Public headers that belong to a later stage than the plain types: the
# reading context, and the context-free operations over it.
PUBLIC_LAYER = {"reading_context.h": "reading", "context_free.h": "context_free", "tiffwalker.h": "context_free"}
FRONT_ENDS = ["readout", "selectflow", "cli", "app", "winapp", "web", "camera"]
# Source files whose header is another's: a platform's form of the same file.
OWN_HEADER = {"disk_file_windows.cpp": "disk_file.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^">]+)[">]', re.M)


def includes(path):
    return INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace"))


def layer_of_include(kind, name):
    """The layer of an included engine header, or None for any other."""
    if kind == "<":
        if name.startswith("tiffwalker/"):
            return LAYERS.index(PUBLIC_LAYER.get(name.split("/", 1)[1], LAYERS[0]))
        return None
    folder = name.split("/", 1)[0]
    return LAYERS.index(folder) if "/" in name and folder in LAYERS else None


def main():
    breaches = []
    for path in sorted(ENGINE.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(ENGINE)
        if len(rel.parts) != 2 or rel.parts[0] not in LAYERS:
            breaches.append(f"{rel}: not in one of the engine's folders ({', '.join(LAYERS)})")
            continue
        own_layer = LAYERS.index(rel.parts[0])
        found = includes(path)
        for kind, name in found:
            if kind == '"' and "/" not in name and (ENGINE / rel.parts[0] / name).exists():
                breaches.append(f"{rel}: includes \"{name}\" without its folder")
            layer = layer_of_include(kind, name)
            if layer is not None and layer > own_layer:
                breaches.append(f"{rel}: includes {name}, of a later stage ({LAYERS[layer]})")
        if path.suffix == ".cpp":
            header = OWN_HEADER.get(path.name, path.stem + ".h")
            own = {f"{rel.parts[0]}/{header}", f"tiffwalker/{header}"}
            if not found or found[0][1] not in own:
                breaches.append(f"{rel}: its first include is not its own header {header}")
    for path in sorted(PUBLIC.glob("*.h")):
        for kind, name in includes(path):
            public = kind == "<" and name.startswith("tiffwalker/")
            standard = kind == "<" and "/" not in name and not name.endswith(".h")
            if not (public or standard):
                breaches.append(f"include/tiffwalker/{path.name}: includes {name}, not a public or standard header")
    internal = {p.name for p in ENGINE.rglob("*.h")}
    for folder in FRONT_ENDS:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for kind, name in includes(path):
                if kind == '"' and (name.split("/", 1)[0] in LAYERS or name in internal):
                    breaches.append(f"{path.relative_to(ROOT)}: includes the engine's internal {name}")
    for breach in breaches:
        print(breach)
    print(f"{len(breaches)} breaches of the engine's include rules")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
