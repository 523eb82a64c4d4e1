#!/usr/bin/env python3
"""check-layers.py [--self-test]: refuses includes, sources and library links that go against the layer table.

The table is the README's "Layers" section, between the markers `<!-- layers: begin -->` and `<!-- layers: end -->`:
one row per folder, with the folders it stands on. A folder may include its own files, those of every folder it
stands on and, through them, of everything those stand on. A file belongs to the longest folder of the table its
path starts with; `tests/<folder>/...` follows `<folder>` unless the table has a row of its own for it, and may also
include `tests/support/` and the tests of the folders its folder stands on.

Includes: both `#include "..."` and `#include <...>` are read (the source root and `platform/` are include folders
of every target, so an angle-bracket include reaches the tree as well as a quoted one). A quoted include is looked up
beside the including file, then both kinds from the root, from `platform/` and then as any tracked file whose path
ends in it (the test programs' include folders); one that names no tracked file is left alone (a generated or a
system header) unless its path leads into a folder of the table, where it names a file that moved.

The build lists: every CMakeLists.txt and .cmake file is read as CMake reads it, with its variables (a `set`, a
`list(APPEND)` or a `foreach` anywhere in the file or in the lists of the folders above it, or in a .cmake module),
generator expressions taken apart, and calls of the tree's own functions and macros (the test programs' wrapper among
them) expanded with their arguments. A target belongs to the folder of the list that makes it (for a function, the
list that calls it). A library or program may link only targets of its own folder and of those it stands on (by
`target_link_libraries`, `link_libraries`, a link or source property, an alias or `$<TARGET_OBJECTS:...>`), and may
compile only sources of those folders (by `add_library`, `add_executable`, `target_sources` or a source property);
the links must have no cycle.

Exit status 0 when all is well, 1 with one line per violation otherwise. Python's standard library only."""

import os
import posixpath
import re
import subprocess
import sys

BEGIN = "<!-- layers: begin -->"
END = "<!-- layers: end -->"
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cxx", ".cpp", ".inl", ".rc")
# An include directive, also with comments between its words; group 1 is the opening delimiter, group 2 the name.
INCLUDE = re.compile(r'^[ \t]*#(?:[ \t]|/\*.*?\*/)*include(?:[ \t]|/\*.*?\*/)*(["<])([^">\n]+)[">]', re.M)
# What a variable that names the source root or the current list's folder stands for while the lists are read.
ROOT = "@root@"
BUILD = "@build@"


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
    """The folder prefixes a file (or a folder, given with its slash) may use, or None when the table does not
    govern it."""
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


def resolve(including, name, tracked, quoted=True):
    """The tracked files an include may name, best first. Only a quoted include is looked up beside its file."""
    candidates = []
    bases = ((os.path.dirname(including),) if quoted else ()) + ("", "platform")
    for base in bases:
        path = posixpath.normpath(posixpath.join(base, name))
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
        text = read(path).replace("\\\n", "")
        for delimiter, name in INCLUDE.findall(text):
            quoted = delimiter == '"'
            shown = '"%s"' % name if quoted else "<%s>" % name
            targets = resolve(path, name, tracked, quoted)
            if not targets:
                # A path into one of the table's folders that names nothing there is a file that moved.
                if any(("platform/" + name if name.startswith("classlib/") else name).startswith(folder)
                       for folder in table):
                    problems.append("%s includes %s, which names no file of the tree" % (path, shown))
                continue
            if not any(any(target.startswith(prefix) for prefix in allowed) for target in targets):
                problems.append("%s includes %s (%s), outside its layers" % (path, shown, targets[0]))
    return problems


# ---- Reading the build lists -----------------------------------------------------------------------------------


def lex_cmake(text):
    """[(command, [argument], line)] of a list file: comments dropped, quoted and bracket arguments unquoted (with a
    flag), parentheses inside arguments ignored."""
    commands = []
    i, n, line = 0, len(text), 1

    def skip_comment(i):
        bracket = re.match(r"#\[(=*)\[", text[i:])
        if bracket:
            close = text.find("]" + bracket.group(1) + "]", i)
            return n if close < 0 else close + len(bracket.group(1)) + 2
        close = text.find("\n", i)
        return n if close < 0 else close

    while i < n:
        c = text[i]
        if c == "#":
            end = skip_comment(i)
            line += text.count("\n", i, end)
            i = end
            continue
        if c == "\n":
            line += 1
            i += 1
            continue
        word = re.match(r"[A-Za-z_][A-Za-z0-9_]*", text[i:])
        if not word:
            i += 1
            continue
        name = word.group(0)
        start_line = line
        j = i + len(name)
        while j < n and text[j] in " \t":
            j += 1
        if j >= n or text[j] != "(":
            i = j
            continue
        j += 1
        depth = 1
        args = []
        while j < n and depth:
            c = text[j]
            if c == "\n":
                line += 1
                j += 1
            elif c in " \t\r":
                j += 1
            elif c == "#":
                end = skip_comment(j)
                line += text.count("\n", j, end)
                j = end
            elif c == "(":
                depth += 1
                j += 1
            elif c == ")":
                depth -= 1
                j += 1
            elif c == '"':
                k = j + 1
                while k < n and text[k] != '"':
                    k += 2 if text[k] == "\\" else 1
                args.append(('"', text[j + 1:k]))
                line += text.count("\n", j, k)
                j = k + 1
            elif c == "[" and re.match(r"\[(=*)\[", text[j:]):
                equals = re.match(r"\[(=*)\[", text[j:]).group(1)
                close = text.find("]" + equals + "]", j)
                close = n if close < 0 else close
                args.append(('"', text[j + len(equals) + 2:close]))
                line += text.count("\n", j, close)
                j = close + len(equals) + 2
            else:
                k = j
                nesting = 0
                while k < n:
                    ch = text[k]
                    if ch == "\\":
                        k += 2
                        continue
                    if ch == "$" and text[k + 1:k + 2] in ("{", "<"):
                        nesting += 1
                        k += 2
                        continue
                    if nesting and ch in "}>":
                        nesting -= 1
                        k += 1
                        continue
                    if ch == '"':
                        # A quoted part inside an unquoted argument (-DA="b c") belongs to it.
                        close = text.find('"', k + 1)
                        k = n if close < 0 else close + 1
                        continue
                    if not nesting and (ch in " \t\r\n()#"):
                        break
                    k += 1
                args.append(("", text[j:k]))
                j = k
        commands.append((name.lower(), args, start_line))
        i = j
    return commands


def split_list(value):
    """A CMake list's elements, with the semicolons inside generator expressions and variable references kept."""
    items, current, depth = [], [], 0
    i = 0
    while i < len(value):
        c = value[i]
        if c == "$" and value[i + 1:i + 2] in ("<", "{"):
            depth += 1
            current.append(value[i:i + 2])
            i += 2
            continue
        if depth and c in ">}":
            depth -= 1
        if c == ";" and not depth:
            items.append("".join(current))
            current = []
        else:
            current.append(c)
        i += 1
    items.append("".join(current))
    return [item for item in items if item != ""]


def genex_leaves(item):
    """The plain words a generator expression may give (conditions and operators dropped), and the targets its
    target operators name."""
    leaves, targets = [], []

    def parse(text):
        # Splits text at top-level ':' and ',' inside one generator expression's body.
        parts, current, depth, i = [], [], 0, 0
        while i < len(text):
            if text.startswith("$<", i):
                depth += 1
                current.append("$<")
                i += 2
                continue
            c = text[i]
            if c == ">" and depth:
                depth -= 1
            if c in ":," and not depth:
                parts.append(("".join(current), c))
                current = []
            else:
                current.append(c)
            i += 1
        parts.append(("".join(current), ""))
        return parts

    def walk(text):
        position = text.find("$<")
        if position < 0:
            leaves.append(text)
            return
        if position > 0:
            leaves.append(text[:position])
        depth, end = 0, position
        while end < len(text):
            if text.startswith("$<", end):
                depth += 1
                end += 2
                continue
            if text[end] == ">":
                depth -= 1
                if not depth:
                    break
            end += 1
        body = text[position + 2:end]
        parts = parse(body)
        head = parts[0][0]
        rest = [part for part, _ in parts[1:]]
        if head.startswith("TARGET_") or head in ("LINK_ONLY", "TARGET_NAME", "COMPILE_ONLY"):
            targets.extend(split_list(rest[0]) if rest else [])
            for part in rest[1:]:
                walk(part)
        elif head.startswith("$<"):
            # $<condition:value>: the value counts, the condition does not.
            for part in rest:
                walk(part)
        elif rest:
            for part in (rest if head not in ("CONFIG", "PLATFORM_ID", "COMPILE_LANGUAGE", "BOOL", "NOT", "AND",
                                              "OR", "EQUAL", "STREQUAL", "VERSION_LESS", "VERSION_GREATER",
                                              "IN_LIST", "LINK_LANGUAGE", "CXX_COMPILER_ID", "C_COMPILER_ID")
                         else []):
                walk(part)
        walk(text[end + 1:])

    walk(item)
    return [leaf for leaf in leaves if leaf], targets


class Lists:
    """What the tree's build lists define: targets with their folders, links, sources and functions."""

    KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE", "LINK_INTERFACE_LIBRARIES",
                "debug", "optimized", "general", "STATIC", "SHARED", "MODULE", "OBJECT", "UNKNOWN", "IMPORTED",
                "GLOBAL", "EXCLUDE_FROM_ALL", "WIN32", "MACOSX_BUNDLE", "ALIAS", "FILE_SET", "TYPE", "BASE_DIRS",
                "FILES", "HEADERS", "CXX_MODULES", "BEFORE", "AFTER"}

    def __init__(self, files, read):
        self.files = sorted(path for path in files
                            if os.path.basename(path) == "CMakeLists.txt" or path.endswith(".cmake"))
        self.parsed = {path: lex_cmake(read(path)) for path in self.files}
        self.functions = {}
        self.variables = {}
        self.defined = {}
        # (from, to, where) and (target, source path, where), the raw words kept until every target is known.
        self.link_words = []
        self.source_words = []
        self.folder_links = []
        # <project>_SOURCE_DIR names the root too.
        self.projects = {"%s_SOURCE_DIR" % args[0][1] for path in self.files for command, args, _ in self.parsed[path]
                         if command == "project" and args}
        for path in self.files:
            self.collect_definitions(path)
        for path in self.files:
            self.run(path, self.parsed[path], {}, path, 0)

    # -- Variables --

    def collect_definitions(self, path):
        """Functions and variables of a list, each variable with every value it is ever given (the union)."""
        depth = 0
        name = None
        body = []
        for command, args, line in self.parsed[path]:
            if command in ("function", "macro"):
                depth += 1
                if depth == 1:
                    name = args[0][1].lower() if args else None
                    params = [value for _, value in args[1:]]
                    body = []
                    continue
            elif command in ("endfunction", "endmacro"):
                depth -= 1
                if depth == 0:
                    if name:
                        self.functions[name] = (params, body, path)
                    continue
            if depth:
                body.append((command, args, line))
                continue
            self.note_variable(path, command, args)

    def note_variable(self, path, command, args, into=None):
        values = [value for _, value in args]
        target = self.variables if into is None else into
        if command == "set" and values:
            stop = len(values)
            for keyword in ("CACHE", "PARENT_SCOPE"):
                if keyword in values[1:]:
                    stop = min(stop, values.index(keyword, 1))
            target.setdefault(values[0], []).append((path, ";".join(values[1:stop])))
        elif command == "list" and len(values) >= 3 and values[0] in ("APPEND", "PREPEND", "INSERT"):
            start = 3 if values[0] == "INSERT" else 2
            target.setdefault(values[1], []).append((path, ";".join(values[start:])))
        elif command == "foreach" and len(values) >= 2:
            items = [value for value in values[1:] if value not in ("IN", "ITEMS", "LISTS", "ZIP_LISTS")]
            if "LISTS" in values[1:] or "ZIP_LISTS" in values[1:]:
                items = ["${%s}" % item for item in items]
            if values[1] != "RANGE":
                target.setdefault(values[0], []).append((path, ";".join(items)))

    def visible(self, path, name):
        """The values a variable may have in a list: those given in it, in the lists of the folders above it and in
        the .cmake modules."""
        folder = posixpath.dirname(path)
        found = []
        for where, value in self.variables.get(name, ()):
            where_folder = posixpath.dirname(where)
            if (where == path or where.endswith(".cmake") or
                    (os.path.basename(where) == "CMakeLists.txt" and
                     (where_folder == "" or folder == where_folder or folder.startswith(where_folder + "/")))):
                found.append(value)
        return found

    def expand(self, text, path, local, depth=0):
        """The text with every ${variable} replaced by all it may hold (joined as one list)."""
        if depth > 8:
            return text

        def value_of(match):
            name = match.group(1)
            if name in ("CMAKE_SOURCE_DIR", "PROJECT_SOURCE_DIR", "CMAKE_HOME_DIRECTORY") or name in self.projects:
                return ROOT
            if name == "CMAKE_CURRENT_SOURCE_DIR":
                return posixpath.join(ROOT, local.get("@call_folder@", posixpath.dirname(path)))
            if name == "CMAKE_CURRENT_LIST_DIR":
                return posixpath.join(ROOT, posixpath.dirname(path))
            if name.endswith("BINARY_DIR"):
                return BUILD
            if name in local:
                return local[name]
            values = self.visible(path, name)
            return ";".join(values) if values else "${%s}" % name

        for _ in range(8):
            expanded = re.sub(r"\$\{([A-Za-z0-9_.+-]+)\}", value_of, text)
            if expanded == text:
                break
            text = expanded
        return text

    # -- Commands --

    def run(self, path, commands, local, where_path, depth):
        """Reads the commands of a list (or of a function called from one, whose targets belong to the caller's
        folder: where_path)."""
        level = 0
        for command, args, line in commands:
            if command in ("function", "macro"):
                level += 1
                continue
            if command in ("endfunction", "endmacro"):
                level -= 1
                continue
            if level:
                continue
            where = "%s:%d" % (where_path, line)
            if depth and command in ("set", "list", "foreach"):
                before = {}
                self.note_variable(path, command, [(q, self.expand(v, path, local)) for q, v in args], before)
                for name, values in before.items():
                    local[name] = ";".join(value for _, value in values)
                continue
            words = []
            for quote, value in args:
                expanded = self.expand(value, path, local)
                words.extend([expanded] if quote else split_list(expanded))
            if command == "cmake_parse_arguments" and depth:
                self.parse_arguments(words, local)
                continue
            if command in self.functions and depth < 8:
                self.call(command, words, where_path, depth)
                continue
            self.note_command(command, words, where_path, where)

    def call(self, name, words, where_path, depth):
        params, body, defined_in = self.functions[name]
        local = {"ARGN": ";".join(words[len(params):]), "ARGV": ";".join(words), "ARGC": str(len(words)),
                 "@call_folder@": posixpath.dirname(where_path)}
        for index, param in enumerate(params):
            local[param] = words[index] if index < len(words) else ""
        for index, word in enumerate(words):
            local["ARGV%d" % index] = word
        self.run(defined_in, body, local, where_path, depth + 1)

    @staticmethod
    def parse_arguments(values, local):
        if values and values[0] == "PARSE_ARGV":
            values = values[2:5] + split_list(local.get("ARGN", ""))
            prefix, options, ones, multis, rest = values[0], values[1], values[2], values[3], values[4:]
        elif len(values) >= 4:
            prefix, options, ones, multis, rest = values[0], values[1], values[2], values[3], values[4:]
        else:
            return
        options, ones, multis = split_list(options), split_list(ones), split_list(multis)
        current = None
        found = {}
        for word in rest:
            if word in options:
                found[word] = "TRUE"
                current = None
            elif word in ones or word in multis:
                current = word
                found.setdefault(word, "")
            elif current in ones:
                found[current] = word
                current = None
            elif current in multis:
                found[current] = (found[current] + ";" + word) if found[current] else word
        for keyword in options + ones + multis:
            local["%s_%s" % (prefix, keyword)] = found.get(keyword, "")

    def note_command(self, command, words, where_path, where):
        folder = folder_of(posixpath.dirname(where_path)) if posixpath.dirname(where_path) else ""
        if command in ("add_library", "add_executable") and words:
            name = words[0]
            self.defined.setdefault(name, folder)
            rest = words[1:]
            if "ALIAS" in rest:
                self.link_words.extend((name, word, where) for word in rest[rest.index("ALIAS") + 1:])
                return
            if "IMPORTED" in rest:
                return
            self.note_sources(name, rest, folder, where)
        elif command == "target_link_libraries" and words:
            self.link_words.extend((words[0], word, where) for word in words[1:] if word not in self.KEYWORDS)
        elif command == "link_libraries":
            self.folder_links.extend((folder, word, where) for word in words)
        elif command == "target_sources" and words:
            self.note_sources(words[0], words[1:], folder, where)
        elif command in ("set_property", "set_target_properties"):
            self.note_properties(command, words, folder, where)

    def note_sources(self, target, words, folder, where):
        for word in words:
            if word in self.KEYWORDS:
                continue
            leaves, targets = genex_leaves(word)
            self.link_words.extend((target, name, where) for name in targets)
            self.source_words.extend((target, item, folder, where) for leaf in leaves for item in split_list(leaf))

    def note_properties(self, command, words, folder, where):
        if command == "set_target_properties":
            if "PROPERTIES" not in words:
                return
            targets = words[:words.index("PROPERTIES")]
            pairs = words[words.index("PROPERTIES") + 1:]
            properties = [(pairs[i], pairs[i + 1:i + 2]) for i in range(0, len(pairs), 2)]
        else:
            if len(words) < 2 or words[0] != "TARGET" or "PROPERTY" not in words:
                return
            targets = [word for word in words[1:words.index("PROPERTY")] if word not in ("APPEND", "APPEND_STRING")]
            rest = words[words.index("PROPERTY") + 1:]
            properties = [(rest[0], rest[1:])] if rest else []
        for name, values in properties:
            for target in targets:
                if name in ("LINK_LIBRARIES", "INTERFACE_LINK_LIBRARIES", "LINK_INTERFACE_LIBRARIES"):
                    self.link_words.extend((target, value, where) for value in values)
                elif name in ("SOURCES", "INTERFACE_SOURCES"):
                    self.note_sources(target, values, folder, where)

    # -- Results --

    def target_names(self, word):
        """The tree's targets a word of a link names: itself, the targets of its generator expressions, a -l flag or
        a library file named after one."""
        leaves, targets = genex_leaves(word)
        names = set(name for name in targets if name in self.defined)
        for leaf in leaves:
            for token in re.split(r"[^A-Za-z0-9_.+-]+", leaf):
                candidates = [token, re.sub(r"^-l", "", token), re.sub(r"^lib(.*?)(\.dll)?\.(a|lib|so|dll)$", r"\1",
                                                                        token)]
                names.update(name for name in candidates if name in self.defined)
        return names

    def links(self):
        """[(from, to, where)] between targets of the tree."""
        result = []
        for source, word, where in self.link_words:
            for target in self.target_names(word):
                if source in self.defined and target != source:
                    result.append((source, target, where))
        return result

    def folder_link_targets(self):
        result = []
        for folder, word, where in self.folder_links:
            result.extend((folder, target, where) for target in self.target_names(word))
        return result

    def sources(self, tracked):
        """[(target, path in the tree, where)] of the sources the lists name (generated ones left out)."""
        result = []
        for target, leaf, folder, where in self.source_words:
            if BUILD in leaf or not leaf.strip():
                continue
            if leaf.startswith(ROOT):
                path = posixpath.normpath(leaf[len(ROOT):].lstrip("/"))
            elif "${" in leaf:
                # An unknown variable before a path: the tracked file the rest of it names, if one does.
                tail = leaf.rsplit("}", 1)[-1].lstrip("/")
                matches = [path for path in tracked if tail and path.endswith("/" + tail)]
                if not matches:
                    continue
                path = matches[0]
            elif leaf.startswith("/"):
                continue
            else:
                path = posixpath.normpath(posixpath.join(folder, leaf))
            if path.startswith("../"):
                continue
            result.append((target, path, where))
        return result


def link_violations(files, read, table):
    reach = closure(table)
    lists = Lists(files, read)
    tracked = set(files)
    problems = []
    graph = {}

    def allowed(folder):
        return allowed_targets(folder, table, reach) if folder else None

    for source, target, where in lists.links():
        graph.setdefault(source, set()).add(target)
        prefixes = allowed(lists.defined[source])
        target_folder = lists.defined[target]
        if prefixes is not None and owner(target_folder, table) is not None and not any(
                target_folder.startswith(prefix) for prefix in prefixes):
            problems.append("%s (%s) links %s (%s), outside its layers (%s)" % (
                source, lists.defined[source], target, target_folder, where))
    for folder, target, where in lists.folder_link_targets():
        prefixes = allowed(folder)
        target_folder = lists.defined[target]
        if prefixes is not None and owner(target_folder, table) is not None and not any(
                target_folder.startswith(prefix) for prefix in prefixes):
            problems.append("the lists of %s link %s (%s) to every target, outside its layers (%s)" % (
                folder, target, target_folder, where))
    for target, path, where in lists.sources(tracked):
        if target not in lists.defined:
            continue
        prefixes = allowed(lists.defined[target])
        if prefixes is not None and owner(path, table) is not None and not any(
                path.startswith(prefix) for prefix in prefixes):
            problems.append("%s (%s) compiles %s, outside its layers (%s)" % (
                target, lists.defined[target], path, where))

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
    """The checker must refuse each way round the table, and pass a clean tree that uses the same constructs within
    its layers."""
    readme = "\n".join([
        "# Fixture", BEGIN,
        "| Folder | Stands on |", "|---|---|",
        "| `low/` | |", "| `mid/` | `low/` |", "| `high/` | `mid/` |", "| `tests/low/` | `mid/` |", END, ""])
    wrapper = ("function(add_test_program)\n"
               "  cmake_parse_arguments(T \"\" \"NAME\" \"SOURCES;LIBS\" ${ARGN})\n"
               "  add_executable(${T_NAME} ${T_SOURCES})\n"
               "  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest)\n"
               "endfunction()\n")
    clean = {
        "README.md": readme,
        "cmake/Testing.cmake": wrapper,
        "low/A.h": "#pragma once\n",
        "low/A.cpp": '#include "A.h"\n#include <windows.h>\n',
        "mid/B.h": '#include "low/A.h"\n#include <low/A.h>\n',
        "high/C.cpp": '#include "mid/B.h"\n#include "low/A.h"\n#include <windows.h>\n#include "generated.h"\n',
        "high/C.h": "#pragma once\n",
        "tests/mid/BTests.cpp": '#include "mid/B.h"\n#include "Helper.h"\n',
        "tests/low/Helper.h": '#include "mid/B.h"\n',
        "low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n",
        "mid/CMakeLists.txt": ("set(mid_deps low)\n"
                               "add_library(mid STATIC B.cpp ${CMAKE_SOURCE_DIR}/low/A.cpp)\n"
                               "target_link_libraries(mid PUBLIC ${mid_deps} $<BUILD_INTERFACE:low> gdi32)\n"
                               "add_library(mid_res OBJECT B.rc)\n"
                               "target_sources(mid INTERFACE $<TARGET_OBJECTS:mid_res>) # high/C.cpp\n"),
        "high/CMakeLists.txt": ("add_library(high STATIC C.cpp)\n"
                                "target_link_libraries(high\n  PRIVATE mid)\n"),
        "tests/mid/CMakeLists.txt": "add_test_program(NAME mid_tests SOURCES BTests.cpp LIBS mid low)\n",
    }
    cases = [
        ("a clean tree", {}, None),
        ("an upward include", {"low/A.h": '#include "high/C.h"\n'}, 'low/A.h includes "high/C.h"'),
        ("an upward include in angle brackets", {"low/A.h": "#include <high/C.h>\n"},
         "low/A.h includes <high/C.h> (high/C.h), outside"),
        ("an upward include with a comment in it", {"low/A.h": "# /* why */ include <high/C.h>\n"},
         "low/A.h includes <high/C.h>"),
        ("an include of a file that moved", {"high/C.cpp": '#include "mid/Gone.h"\n'},
         'high/C.cpp includes "mid/Gone.h", which names no file'),
        ("an angle-bracket include of a file that moved", {"high/C.cpp": "#include <mid/Gone.h>\n"},
         "high/C.cpp includes <mid/Gone.h>, which names no file"),
        ("a test including a higher folder's tests", {"tests/mid/BTests.cpp": '#include "tests/high/T.h"\n',
                                                       "tests/high/T.h": "#pragma once\n"},
         "tests/mid/BTests.cpp includes"),
        ("a test beyond its own row", {"tests/low/Helper.h": '#include "high/C.cpp"\n'}, "tests/low/Helper.h includes"),
        ("a link outside the layers", {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                       "target_link_libraries(low PUBLIC mid)\n"}, "low (low/) links mid (mid/)"),
        ("a link inside a generator expression",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "target_link_libraries(low PUBLIC $<BUILD_INTERFACE:mid>)\n"},
         "low (low/) links mid (mid/)"),
        ("a link under a condition of a generator expression",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "target_link_libraries(low PUBLIC \"$<$<CONFIG:Debug>:mid;high>\")\n"},
         "low (low/) links high (high/)"),
        ("a link through a variable",
         {"low/CMakeLists.txt": "set(deps gdi32)\nlist(APPEND deps mid)\nadd_library(low STATIC A.cpp)\n"
                                "target_link_libraries(low PUBLIC ${deps})\n"},
         "low (low/) links mid (mid/)"),
        ("a link through a variable set by the list above",
         {"CMakeLists.txt": "set(osm_everything mid high)\nadd_subdirectory(low)\n",
          "low/CMakeLists.txt": "add_library(low STATIC A.cpp)\ntarget_link_libraries(low PUBLIC ${osm_everything})\n"},
         "low (low/) links high (high/)"),
        ("a link through a loop variable",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\nforeach(lib gdi32 high)\n"
                                "  target_link_libraries(low PUBLIC ${lib})\nendforeach()\n"},
         "low (low/) links high (high/)"),
        ("a link by a link property",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "set_property(TARGET low APPEND PROPERTY INTERFACE_LINK_LIBRARIES mid)\n"},
         "low (low/) links mid (mid/)"),
        ("a link by a library file",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "target_link_libraries(low PUBLIC ${CMAKE_BINARY_DIR}/mid/libmid.a)\n"},
         "low (low/) links mid (mid/)"),
        ("a link of every target of a folder", {"low/CMakeLists.txt": "link_libraries(high)\n"
                                                "add_library(low STATIC A.cpp)\n"},
         "the lists of low/ link high (high/)"),
        ("an alias made low of a higher library",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\nadd_library(low_view ALIAS high)\n"},
         "low_view (low/) links high (high/)"),
        ("a higher folder's objects", {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                       "target_sources(low PRIVATE $<TARGET_OBJECTS:high>)\n"},
         "low (low/) links high (high/)"),
        ("a source of a higher folder", {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                         "target_sources(low PRIVATE ${CMAKE_SOURCE_DIR}/high/C.cpp)\n"},
         "low (low/) compiles high/C.cpp"),
        ("a source of a higher folder by a relative path",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp ../high/C.cpp)\n"}, "low (low/) compiles high/C.cpp"),
        ("a source of a higher folder in a generator expression",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "target_sources(low PRIVATE $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/../high/C.cpp>)\n"},
         "low (low/) compiles high/C.cpp"),
        ("a source of a higher folder by a source property",
         {"low/CMakeLists.txt": "add_library(low STATIC A.cpp)\n"
                                "set_target_properties(low PROPERTIES SOURCES ${PROJECT_SOURCE_DIR}/high/C.cpp)\n"},
         "low (low/) compiles high/C.cpp"),
        ("a test program's link outside its folder's layers",
         {"tests/mid/CMakeLists.txt": "add_test_program(NAME mid_tests SOURCES BTests.cpp LIBS mid high)\n"},
         "mid_tests (tests/mid/) links high (high/)"),
        ("a test program's source outside its folder's layers",
         {"tests/mid/CMakeLists.txt": "add_test_program(NAME mid_tests SOURCES BTests.cpp ../../high/C.cpp LIBS mid)\n"},
         "mid_tests (tests/mid/) compiles high/C.cpp"),
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
    print("check-layers: every include, source and library link keeps to the layer table")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
