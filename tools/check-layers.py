#!/usr/bin/env python3
"""check-layers.py [--self-test]: refuses includes and library links that go against the layer table.

The table is the README's "Layers" section, between the markers `<!-- layers: begin -->` and `<!-- layers: end -->`:
one row per folder, with the folders it stands on. A folder may include its own files, those of every folder it
stands on and, through them, of everything those stand on. A file belongs to the longest folder of the table its
path starts with; `tests/<folder>/...` follows `<folder>` unless the table has a row of its own for it, and may also
include `tests/support/` and the tests of the folders its folder stands on. A quoted include is looked up beside the
including file, from the root, from `platform/` and then as any tracked file whose path ends in it (the test
programs' include folders); one that names no tracked file is left alone (a generated or a system header) unless
its path leads into a folder of the table, where it names a file that moved.

The libraries' links are read from every CMakeLists.txt and .cmake file (target_link_libraries between targets the
tree defines): there must be no cycle, and a library in a folder of the table may link only libraries of its own
folder and of those it stands on.

Exit status 0 when all is well, 1 with one line per violation otherwise. Python's standard library only."""

import os
import re
import subprocess
import sys

BEGIN = "<!-- layers: begin -->"
END = "<!-- layers: end -->"
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cpp", ".inl", ".rc")
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.M)


def folder_of(path):
    return path if path.endswith("/") else path + "/"


def parse_table(readme_text):
    """{folder: [folders it stands on]} from the delimited markdown table."""
    if BEGIN not in readme_text or END not in readme_text:
        raise ValueError("README.md has no layer table between %s and %s" % (BEGIN, END))
    section = readme_text.split(BEGIN, 1)[1].split(END, 1)[0]
    table = {}
    for line in section.splitlines():
        line = line.strip()
        if not line.startswith("|"):
            continue
        cells = [cell.strip() for cell in line.strip("|").split("|")]
        if len(cells) < 2 or set(cells[0]) <= set("-: ") or cells[0].lower() == "folder":
            continue
        names = re.findall(r"`([^`]+)`", cells[0])
        if len(names) != 1:
            raise ValueError("layer table row names no single `folder/`: " + line)
        table[folder_of(names[0])] = [folder_of(name) for name in re.findall(r"`([^`]+)`", cells[1])]
    if not table:
        raise ValueError("the layer table has no rows")
    for folder, below in table.items():
        for name in below:
            if name not in table:
                raise ValueError("%s stands on %s, which has no row" % (folder, name))
    return table


def closure(table):
    """{folder: every folder it may include, itself too}; a cycle in the table itself is refused."""
    result = {}

    def visit(folder, trail):
        if folder in result:
            return result[folder]
        if folder in trail:
            raise ValueError("the layer table has a cycle: " + " -> ".join(trail + [folder]))
        allowed = {folder}
        for below in table[folder]:
            allowed |= visit(below, trail + [folder])
        result[folder] = allowed
        return allowed

    for folder in table:
        visit(folder, [])
    return result


def owner(path, table):
    """The table folder a path belongs to (longest prefix), or None."""
    best = None
    for folder in table:
        if path.startswith(folder) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def allowed_targets(path, table, reach):
    """The folder prefixes a file may include from, or None when the table does not govern it."""
    folder = owner(path, table)
    if folder is not None and not folder.startswith("tests/"):
        return set(reach[folder])
    if not path.startswith("tests/"):
        return None
    # Tests follow the folder they test, unless the table gives their folder a row of its own (then they may reach
    # what that row stands on as well).
    tested = owner(path[len("tests/"):], table)
    below = set(reach[tested]) if tested else set()
    if folder is not None:
        below |= reach[folder] - {folder}
        below.add(folder[len("tests/"):])
    if not below:
        return None
    return below | {"tests/" + name for name in below} | {"tests/support/"} | ({folder} if folder else set())


def resolve(including, name, tracked):
    """The tracked files a quoted include may name, best first."""
    candidates = []
    for base in (os.path.dirname(including), "", "platform"):
        path = os.path.normpath(os.path.join(base, name)).replace(os.sep, "/")
        if path in tracked:
            return [path]
    suffix = "/" + name.lstrip("./")
    for path in tracked:
        if path.endswith(suffix):
            candidates.append(path)
    return candidates


def include_violations(files, read, table):
    reach = closure(table)
    tracked = set(files)
    problems = []
    for path in sorted(files):
        if not path.endswith(SOURCE_SUFFIXES):
            continue
        allowed = allowed_targets(path, table, reach)
        if allowed is None:
            continue
        for name in INCLUDE.findall(read(path)):
            targets = resolve(path, name, tracked)
            if not targets:
                # A path into one of the table's folders that names nothing there is a file that moved.
                if any(("platform/" + name if name.startswith("classlib/") else name).startswith(folder)
                       for folder in table):
                    problems.append('%s includes "%s", which names no file of the tree' % (path, name))
                continue
            if not any(any(target.startswith(prefix) for prefix in allowed) for target in targets):
                problems.append('%s includes "%s" (%s), outside its layers' % (path, name, targets[0]))
    return problems


def cmake_links(files, read):
    """({target: folder}, [(from, to)]) for the targets the tree defines and the links between them."""
    defined = {}
    links = []
    define = re.compile(r"\b(?:add_library|add_executable)\s*\(\s*([A-Za-z0-9_.+-]+)", re.I)
    link = re.compile(r"\btarget_link_libraries\s*\(([^)]*)\)", re.I | re.S)
    for path in sorted(files):
        if not (os.path.basename(path) == "CMakeLists.txt" or path.endswith(".cmake")):
            continue
        text = re.sub(r"#[^\n]*", "", read(path))
        folder = folder_of(os.path.dirname(path)) if os.path.dirname(path) else ""
        for name in define.findall(text):
            defined.setdefault(name, folder)
        for body in link.findall(text):
            words = [word for word in body.split() if not word.startswith("$<")]
            if not words:
                continue
            source = words[0]
            for word in words[1:]:
                if word.upper() not in ("PUBLIC", "PRIVATE", "INTERFACE"):
                    links.append((source, word))
    return defined, [(a, b) for a, b in links if a in defined and b in defined]


def link_violations(files, read, table):
    reach = closure(table)
    defined, links = cmake_links(files, read)
    problems = []
    graph = {}
    for source, target in links:
        graph.setdefault(source, set()).add(target)
        source_folder = owner(defined[source], table)
        target_folder = owner(defined[target], table)
        if source_folder and target_folder and target_folder not in reach[source_folder]:
            problems.append("library %s (%s) links %s (%s), outside its layers"
                            % (source, source_folder, target, target_folder))
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                cycle = trail[trail.index(nxt):] + [nxt] if nxt in trail else [node, nxt]
                problems.append("library cycle: " + " -> ".join(cycle))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])
    return problems


def check(files, read):
    table = parse_table(read("README.md"))
    return include_violations(files, read, table) + link_violations(files, read, table)


def self_test():
    """The checker must refuse an upward include, a link outside the layers and a link cycle, and pass a clean tree."""
    readme = "\n".join([
        "# Fixture", BEGIN,
        "| Folder | Stands on |", "|---|---|",
        "| `low/` | |", "| `mid/` | `low/` |", "| `high/` | `mid/` |", "| `tests/low/` | `mid/` |", END, ""])
    clean = {
        "README.md": readme,
        "low/A.h": "#pragma once\n",
        "mid/B.h": '#include "low/A.h"\n',
        "high/C.cpp": '#include "mid/B.h"\n#include "low/A.h"\n#include <windows.h>\n#include "generated.h"\n',
        "tests/mid/BTests.cpp": '#include "mid/B.h"\n#include "Helper.h"\n',
        "tests/low/Helper.h": '#include "mid/B.h"\n',
        "low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n",
        "mid/CMakeLists.txt": "add_library(mid STATIC B.cpp)\ntarget_link_libraries(mid PUBLIC low gdi32)\n",
        "high/CMakeLists.txt": "add_library(high STATIC C.cpp)\ntarget_link_libraries(high\n  PRIVATE mid)\n",
    }
    cases = [
        ("a clean tree", {}, None),
        ("an upward include", {"low/A.h": '#include "high/C.cpp"\n'}, "low/A.h includes"),
        ("an include of a file that moved", {"high/C.cpp": '#include "mid/Gone.h"\n'},
         'high/C.cpp includes "mid/Gone.h", which names no file'),
        ("a test including a higher folder's tests", {"tests/mid/BTests.cpp": '#include "tests/high/T.h"\n',
                                                       "tests/high/T.h": "#pragma once\n"},
         "tests/mid/BTests.cpp includes"),
        ("a test beyond its own row", {"tests/low/Helper.h": '#include "high/C.cpp"\n'}, "tests/low/Helper.h includes"),
        ("a link outside the layers", {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                       "target_link_libraries(low PUBLIC mid)\n"}, "library low (low/) links mid"),
        ("a link cycle", {"mid/CMakeLists.txt": "add_library(mid STATIC B.cpp)\nadd_library(mid2 STATIC D.cpp)\n"
                          "target_link_libraries(mid PUBLIC low mid2)\ntarget_link_libraries(mid2 PUBLIC mid)\n"},
         "library cycle: mid -> mid2 -> mid"),
    ]
    failed = 0
    for title, change, expected in cases:
        tree = dict(clean, **change)
        problems = check(sorted(tree), tree.__getitem__)
        found = any(expected in problem for problem in problems) if expected else not problems
        print("%s: %s%s" % ("ok" if found else "FAILED", title, "" if found else " -> %r" % problems))
        failed += not found
    if failed:
        return 1
    print("LAYERS-SELF-TEST-PASSED")
    return 0


def main(argv):
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    if argv[1:] == ["--self-test"]:
        return self_test()
    if argv[1:]:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    files = subprocess.run(["git", "-C", root, "ls-files"], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    files = [path for path in files if os.path.isfile(os.path.join(root, path))]

    def read(path):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as handle:
            return handle.read()

    try:
        problems = check(files, read)
    except ValueError as error:
        print("check-layers: " + str(error), file=sys.stderr)
        return 1
    for problem in problems:
        print("check-layers: " + problem, file=sys.stderr)
    if problems:
        return 1
    print("check-layers: every include and library link keeps to the layer table")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
