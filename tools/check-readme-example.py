#!/usr/bin/env python3
"""check-readme-example.py [--update]: the README's example is the example program's own code.

The README quotes the lines of a source file that stand between `// README example: begin` and
`// README example: end` (each stretch without its common indentation, stretches parted by an empty line), in the
code block that follows `<!-- example: FILE -->`. The build compiles the file, so the README shows code that
compiles. Exit status 0 when the block and the file agree, 1 with the first difference otherwise; --update writes
the file's lines into the README instead. Python's standard library only."""

import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
BEGIN = "// README example: begin"
END = "// README example: end"
MARKER = re.compile(r"<!-- example: (\S+) -->\n+```cpp\n(.*?)```\n", re.S)


def quoted_lines(source_text, name):
    """The marked stretches of a source, dedented and parted by empty lines."""
    stretches, current = [], None
    for number, line in enumerate(source_text.splitlines(), 1):
        if line.strip() == BEGIN:
            if current is not None:
                raise ValueError("%s:%d: a second begin before the end" % (name, number))
            current = []
        elif line.strip() == END:
            if current is None:
                raise ValueError("%s:%d: an end without a begin" % (name, number))
            stretches.append(current)
            current = None
        elif current is not None:
            current.append(line)
    if current is not None:
        raise ValueError("%s: a begin without its end" % name)
    if not stretches:
        raise ValueError("%s has no lines marked for the README" % name)
    out = []
    for stretch in stretches:
        indent = min(len(line) - len(line.lstrip()) for line in stretch if line.strip())
        if out:
            out.append("")
        out.extend(line[indent:] for line in stretch)
    return "\n".join(out) + "\n"


def main(argv):
    update = argv[1:] == ["--update"]
    if argv[1:] and not update:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    readme_path = os.path.join(ROOT, "README.md")
    with open(readme_path, encoding="utf-8") as handle:
        readme = handle.read()
    blocks = list(MARKER.finditer(readme))
    if not blocks:
        print("check-readme-example: FAILED: README.md has no <!-- example: FILE --> block", file=sys.stderr)
        return 1
    failed = False
    for block in reversed(blocks):
        name = block.group(1)
        try:
            with open(os.path.join(ROOT, name), encoding="utf-8") as handle:
                wanted = quoted_lines(handle.read(), name)
        except (OSError, ValueError) as error:
            print("check-readme-example: FAILED: %s" % error, file=sys.stderr)
            return 1
        if update:
            readme = readme[:block.start(2)] + wanted + readme[block.end(2):]
            continue
        if block.group(2) != wanted:
            have, want = block.group(2).splitlines(), wanted.splitlines()
            for index in range(max(len(have), len(want))):
                if index >= len(have) or index >= len(want) or have[index] != want[index]:
                    print("check-readme-example: FAILED: README.md's example differs from %s at its line %d:\n"
                          "  README: %s\n  source: %s\n(tools/check-readme-example.py --update copies the source's "
                          "lines)" % (name, index + 1, have[index] if index < len(have) else "(ends)",
                                      want[index] if index < len(want) else "(ends)"), file=sys.stderr)
                    break
            failed = True
    if update:
        with open(readme_path, "w", encoding="utf-8") as handle:
            handle.write(readme)
        print("check-readme-example: README.md's example copied from the source")
        return 0
    if failed:
        return 1
    print("check-readme-example: README-EXAMPLE-MATCHES")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
