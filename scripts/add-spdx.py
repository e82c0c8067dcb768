#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the licence line at the top of every source file that lacks it, or
with --check lists those files and fails.

    scripts/add-spdx.py [--check]
"""
import os
import subprocess
import sys

LINE = "SPDX-License-Identifier: GPL-3.0-or-later"
SLASHES = (".cpp", ".h", ".c", ".in")
HASHES = (".sh", ".py", ".cmake", ".txt")


def tracked():
    """The files of the repository; outside a clone, those of the tree."""
    listed = subprocess.run(["git", "ls-files"], capture_output=True, text=True)
    if listed.returncode == 0 and listed.stdout:
        return listed.stdout.splitlines()
    names = []
    for top in ("src", "tests", "fuzz", "bench", "scripts", "cmake", "data"):
        for folder, _, files in os.walk(top):
            names += [os.path.join(folder, f) for f in files]
    return names + ["CMakeLists.txt"]


def sources():
    for name in tracked():
        base = os.path.basename(name)
        if name.startswith(("tests/fixtures/", "data/")) and not name.endswith(".sh"):
            continue
        if base == "CMakeLists.txt" or base.endswith(SLASHES + HASHES[:3]):
            yield name


def comment_for(name):
    return "//" if name.endswith(SLASHES) else "#"


def main():
    check = "--check" in sys.argv[1:]
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    lacking = []
    for name in sources():
        with open(name, encoding="utf-8") as f:
            text = f.read()
        if any(LINE in line for line in text.split("\n", 3)[:3]):
            continue
        lacking.append(name)
        if check:
            continue
        line = f"{comment_for(name)} {LINE}\n"
        if text.startswith("#!"):
            first, _, rest = text.partition("\n")
            text = f"{first}\n{line}{rest}"
        else:
            text = line + text
        with open(name, "w", encoding="utf-8") as f:
            f.write(text)
    if check and lacking:
        print("without the licence line:", *lacking, sep="\n    ")
        return 1
    if not check:
        print(f"{len(lacking)} files given the licence line")
    return 0


if __name__ == "__main__":
    sys.exit(main())
