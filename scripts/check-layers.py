#!/usr/bin/env python3
"""Fails on an include that points up the program's layers or closes a circle between folders.

Every `#include "folder/..."` of the program's sources is read; a pure core (`*/core/`) counts as
the bottom layer whatever its folder. The main window's members are defined in `app/` only. Usage: check-layers.py [SOURCE_DIR]
"""
import os
import re
import sys

# Bottom to top; a folder may include its own layer's folders (without a circle) and those below.
LAYERS = [
    ["core"],                 # every */core/ folder: codecs, parsers, formatters, no sockets or widgets
    ["net"],                  # transports over POSIX sockets, the router endpoint and session
    ["ui", "history", "sim"], # the seams and widget helpers; the history store; the router stand-in
    ["windows", "update"],    # small windows and the help viewer; the update check
    ["telnet"],               # the router's command line
    ["eventlog", "monitor"],  # the event-log job and receiver; the monitors
    ["alerts"],               # desktop alerts and the tray's readings
    ["views"],                # the tab pages
    ["app"],                  # the window: menus, handler names, owns everything
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
WINDOW_MEMBER = re.compile(r'^[^/\n]*\bTMainForm::\w+\s*\(', re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/(core/)?[^"]+"', re.M)


def layer_of(folder, is_core):
    return "core:" + folder if is_core else folder


def rank_of(node):
    return 0 if node.startswith("core:") else RANK[node]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    edges = {}
    errors = []
    for folder in sorted(RANK):
        base = os.path.join(root, folder)
        for dirpath, _, files in os.walk(base):
            is_core = os.path.basename(dirpath) == "core"
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(dirpath, name)
                source = layer_of(folder, is_core)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                if folder != "app" and WINDOW_MEMBER.search(text):
                    errors.append(f"{os.path.relpath(path, root)}: defines a member of TMainForm outside app/")
                for match in INCLUDE.finditer(text):
                    target_folder, target_core = match.group(1), bool(match.group(2))
                    if target_folder not in RANK:
                        continue
                    target = layer_of(target_folder, target_core)
                    if target == source:
                        continue
                    rel = os.path.relpath(path, root)
                    if rank_of(target) > rank_of(source):
                        errors.append(f"{rel}: includes {match.group(0).split('include')[1].strip()} "
                                      f"({target} is above {source})")
                    edges.setdefault(source, {}).setdefault(target, rel)
    # Circles between folders of one layer.
    state = {}

    def visit(node, path):
        state[node] = 1
        for nxt in edges.get(node, {}):
            if state.get(nxt) == 1:
                cycle = path[path.index(nxt):] + [nxt]
                errors.append("circle: " + " -> ".join(cycle) + f" (via {edges[node][nxt]})")
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[node] = 2

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    for e in errors:
        print(e)
    if errors:
        print(f"{len(errors)} layer violation(s)")
        return 1
    print("layers: every include points down, no circle between folders")
    return 0


if __name__ == "__main__":
    sys.exit(main())
