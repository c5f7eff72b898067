#!/usr/bin/env python3
"""Sums a GNU ld map file's kept input sections per object whose name matches a pattern.
Usage: map_sizes.py MAP PATTERN  ->  "text=N rodata=N progmem=N data=N bss=N" for those objects
(progmem: AVR constants kept in flash only; AVR copies rodata into RAM as well)."""
import re
import sys

def sizes(map_path, pattern):
    lines = open(map_path, encoding="utf-8", errors="replace").read().split("\n")
    start = next(i for i, l in enumerate(lines) if l.startswith("Linker script and memory map"))
    totals = {"text": 0, "rodata": 0, "progmem": 0, "data": 0, "bss": 0}
    pending = None  # a section name whose address and size follow on the next line
    for line in lines[start:]:
        whole = re.match(r"^ (\.[\w.$]+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S+)", line)
        if pending and not whole:
            rest = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S+)", line)
            if rest:
                whole = (pending, rest.group(2), rest.group(3))
            pending = None
        elif whole:
            whole = (whole.group(1), whole.group(3), whole.group(4))
        else:
            alone = re.match(r"^ (\.[\w.$]+)\s*$", line)
            pending = alone.group(1) if alone else None
            continue
        section, size, obj = whole
        if not re.search(pattern, obj):
            continue
        kind = section.split(".")[1]
        if kind in totals:
            totals[kind] += int(size, 16)
    return totals

if __name__ == "__main__":
    t = sizes(sys.argv[1], sys.argv[2])
    print(" ".join(f"{k}={v}" for k, v in t.items()))
