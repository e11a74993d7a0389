#!/usr/bin/env python3
"""Checks that includes between the source folders point down the floors and never in a circle.

Usage: check-includes.py [ROOT]   (ROOT: the repository, by default the one this script is in)

Floors, from the top: cli, app, the rooms (editor, print, service, dialogs, link, csv, in that order),
radio, image, widgets, config. A file may include from its own folder and from any folder below it.
emulator/ stands apart: it includes nothing of ours and nothing of ours includes it. Every include that
breaks this is printed as "file:line: ..." and the exit status is 1; tests/, bench/, fuzz/ and tools/
sit above everything and are not checked.
"""
import os
import re
import sys

FLOORS = ["cli", "app", "editor", "print", "service", "dialogs", "link", "csv",
          "radio", "image", "widgets", "config"]
APART = ["emulator"]
CHECKED = FLOORS + APART
INCLUDE = re.compile(r'^\s*#\s*include\s*(["<])([^">]+)[">]')


def included_folder(root, here, quote, included):
    """The top folder the include names: its first part, or for a path with ".." in it the folder it
    lands in: from the including file's folder when it starts with ".." ("../app/MainFrame.h"), else
    from the top ("radio/../app/MainFrame.h")."""
    parts = included.replace("\\", "/").split("/")
    if ".." in parts:
        start = here if quote == '"' and parts[0] == ".." else root
        landed = os.path.relpath(os.path.normpath(os.path.join(start, *parts)), root)
        parts = landed.replace(os.sep, "/").split("/")
    return parts[0] if len(parts) > 1 else None


def includes_of(root):
    """Yields (folder, path, line number, included folder, text) for every include into a checked folder."""
    for folder in CHECKED:
        top = os.path.join(root, folder)
        if not os.path.isdir(top):
            continue
        for here, dirs, files in os.walk(top):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                    continue
                path = os.path.join(here, name)
                with open(path, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = included_folder(root, here, match.group(1), match.group(2))
                        if target in CHECKED and target != folder:
                            shown = os.path.relpath(path, root)
                            yield folder, shown, number, target, line.strip()


def check(root):
    faults = []
    first_use = {}  # (from folder, to folder) -> "file:line"
    for folder, path, number, target, text in includes_of(root):
        where = f"{path}:{number}"
        first_use.setdefault((folder, target), where)
        if folder in APART or target in APART:
            faults.append(f"{where}: {text}: {folder}/ and {target}/ stand apart from each other")
        elif FLOORS.index(target) < FLOORS.index(folder):
            faults.append(f"{where}: {text}: {target}/ is above {folder}/")
    for (folder, target), where in sorted(first_use.items()):
        if folder < target and (target, folder) in first_use:
            faults.append(f"{where}: {folder}/ and {target}/ include each other "
                          f"(also {first_use[(target, folder)]})")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check-includes: {len(faults)} include(s) against the floors "
              f"(top to bottom: {' > '.join(FLOORS)}; {', '.join(APART)} apart)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
