#!/usr/bin/env python3
"""udevrules.py FILE...: fails, naming the line, where a udev rules file breaks
udev's syntax as far as it can be read without udevadm: keys and operators that
udev knows, values in double quotes, commas between, a LABEL for every GOTO."""
import re
import sys

MATCH = {"ACTION", "SUBSYSTEM", "SUBSYSTEMS", "KERNEL", "KERNELS", "DRIVERS", "ENV",
         "SYMLINK", "TAG", "ATTR", "ATTRS", "RESULT"}
ASSIGN = {"ENV", "TAG", "SYMLINK", "GOTO", "LABEL", "RUN", "OPTIONS", "PROGRAM", "IMPORT"}
PAIR = re.compile(r'([A-Z]+)(\{[A-Za-z0-9_.]+\})?(==|!=|\+=|-=|:=|=)"((?:[^"\\]|\\.)*)"')
problems = []
for path in sys.argv[1:]:
    labels, gotos = set(), []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        pos = 0
        while pos < len(line):
            found = PAIR.match(line, pos)
            end = found and re.compile(r",\s*|$").match(line, found.end())
            if not end:
                problems.append(f"{path}:{number}: cannot read {line[pos:]!r}")
                break
            pos = end.end() if end.end() < len(line) else len(line)
            key, attr, op, value = found.groups()
            known = MATCH if op in ("==", "!=") else ASSIGN
            if key not in known or (key in ("ENV", "ATTR", "ATTRS")) != bool(attr):
                problems.append(f"{path}:{number}: {key}{attr or ''}{op} is not a udev key")
            if key == "LABEL":
                labels.add(value)
            if key == "GOTO":
                gotos.append((number, value))
    problems += [f"{path}:{n}: GOTO {v!r} has no LABEL" for n, v in gotos if v not in labels]
print("\n".join(problems) or f"{len(sys.argv) - 1} rules file(s) read clean")
sys.exit(1 if problems else 0)
