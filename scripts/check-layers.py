#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when an include points from a lower layer of src/ to a higher one.

The folders of src/ stand in layers, lowest first; a file includes headers of
its own folder and of lower layers only. chat and catalog share a layer and
must not include each other, nor may engine and editing; of the front ends,
editor may include dialogs, and cli may not include editing.
Prints every offending file and line, and exits 1 when there is any.
"""

import pathlib
import re
import sys

LAYERS = {
    "core": 1,
    "chat": 2,
    "catalog": 2,
    "botfiles": 3,
    "pk3": 4,
    "services": 5,
    "check": 6,
    "engine": 7,
    "editing": 7,
    "cli": 8,
    "editor": 8,
    "dialogs": 8,
    "app": 9,
}

# Folders of one layer that one of them may still include.
ALLOWED_SIDEWAYS = {("editor", "dialogs")}

# Lower folders that a folder must not include all the same: the command-line
# program shares the whole-bot services, the check and the engine's runs with
# the editor, never the editor's own state and commands.
FORBIDDEN = {("cli", "editing")}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/')


def offences(source_root):
    for path in sorted(source_root.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".in") or not path.is_file():
            continue
        folder = path.relative_to(source_root).parts[0]
        if folder not in LAYERS:
            yield f"{path}: folder '{folder}' has no layer"
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            if target == folder:
                continue
            if target not in LAYERS:
                yield f"{path}:{number}: includes '{target}/', which has no layer"
            elif (folder, target) in FORBIDDEN:
                yield f"{path}:{number}: {folder} must not include {target}: {line.strip()}"
            elif LAYERS[target] > LAYERS[folder]:
                yield f"{path}:{number}: {folder} (layer {LAYERS[folder]}) includes " \
                      f"{target} (layer {LAYERS[target]}): {line.strip()}"
            elif LAYERS[target] == LAYERS[folder] and (folder, target) not in ALLOWED_SIDEWAYS:
                yield f"{path}:{number}: {folder} includes {target} of its own layer: {line.strip()}"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    found = list(offences(root))
    for offence in found:
        print(offence)
    if found:
        print(f"{len(found)} include(s) against the layers")
        return 1
    print("includes follow the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
