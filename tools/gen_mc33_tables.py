#!/usr/bin/env python3
"""Generates voxquad/mc33_tables.h and voxquad/mc33_tables.cpp.

Input: the lookup tables of the Marching Cubes 33 reference implementation
(Lewiner, Lopes, Vieira, Tavares 2003, tables version 0.2) in a neutral text
format: "table <name> <dims...>", data lines, "end"; '#' starts a comment.

Besides the published tables it derives the polygon rows: for every tiling
whose triangles form simple patches, the boundary of each patch as one
polygon. The oriented triangles of a row are merged along the edges they share
(a->b in one, b->a in another); every cycle of the remaining edges, in the
triangles' orientation, is one polygon. Cycles are listed in the order of the
first triangle that touches them, each starting at that triangle's first
unshared edge; a row with two cycles separates them by -1.

Usage: gen_mc33_tables.py <tables.txt> <output dir>
The output is committed; the build does not run this script.
"""
import sys
from pathlib import Path

# Published tables the polygonizer uses (casesClassic is not needed).
USED_TABLES = [
    "cases", "tiling1", "tiling2", "test3", "tiling3_1", "tiling3_2",
    "test4", "tiling4_1", "tiling4_2", "tiling5", "test6", "tiling6_1_1",
    "tiling6_1_2", "tiling6_2", "test7", "tiling7_1", "tiling7_2",
    "tiling7_3", "tiling7_4_1", "tiling7_4_2", "tiling8", "tiling9",
    "test10", "tiling10_1_1", "tiling10_1_1_", "tiling10_1_2", "tiling10_2",
    "tiling10_2_", "tiling11", "test12", "tiling12_1_1", "tiling12_1_1_",
    "tiling12_1_2", "tiling12_2", "tiling12_2_", "test13", "subconfig13",
    "tiling13_1", "tiling13_1_", "tiling13_2", "tiling13_2_", "tiling13_3",
    "tiling13_3_", "tiling13_4", "tiling13_5_1", "tiling13_5_2", "tiling14",
]

# Tiling -> (polygon table name, expected number of boundary cycles).
POLYGON_ROWS = {
    "tiling2": ("polygon2", 1),
    "tiling3_2": ("polygon3_2", 1),
    "tiling5": ("polygon5", 1),
    "tiling6_1_1": ("polygon6_1_1", 2),
    "tiling8": ("polygon8", 1),
    "tiling9": ("polygon9", 1),
    "tiling10_1_1": ("polygon10_1_1", 2),
    "tiling10_1_1_": ("polygon10_1_1_", 2),
    "tiling11": ("polygon11", 1),
    "tiling12_1_1": ("polygon12_1_1", 2),
    "tiling12_1_1_": ("polygon12_1_1_", 2),
    "tiling14": ("polygon14", 1),
}


def parse_tables(text):
    tables = {}
    lines = [l.strip() for l in text.splitlines()]
    lines = [l for l in lines if l and not l.startswith("#")]
    pos = 0
    while pos < len(lines):
        head = lines[pos].split()
        if head[0] != "table":
            raise ValueError(f"expected 'table', got: {lines[pos]}")
        name, dims = head[1], [int(d) for d in head[2:]]
        pos += 1
        values = []
        while lines[pos] != "end":
            row = [int(v) for v in lines[pos].split()]
            if len(row) != dims[-1]:
                raise ValueError(f"{name}: row of {len(row)} values, expected {dims[-1]}")
            values.extend(row)
            pos += 1
        pos += 1
        expected = 1
        for d in dims:
            expected *= d
        if len(values) != expected:
            raise ValueError(f"{name}: {len(values)} values, expected {expected}")
        tables[name] = (dims, values)
    return tables


def boundary_cycles(row):
    """Boundary cycles of the oriented triangles in row (a flat code list)."""
    triangles = [tuple(row[t:t + 3]) for t in range(0, len(row), 3)]
    directed = [(t[e], t[(e + 1) % 3]) for t in triangles for e in range(3)]
    if len(set(directed)) != len(directed):
        raise ValueError(f"row {row}: a directed edge occurs twice")
    edge_set = set(directed)
    unshared = [e for e in directed if (e[1], e[0]) not in edge_set]
    successor = {}
    for a, b in unshared:
        if a in successor:
            raise ValueError(f"row {row}: boundary is not a set of simple cycles")
        successor[a] = b
    cycles, used = [], set()
    for a, _ in unshared:  # row order: first triangle first
        if a in used:
            continue
        cycle, v = [], a
        while v not in used:
            used.add(v)
            cycle.append(v)
            v = successor[v]
        if v != a:
            raise ValueError(f"row {row}: open boundary chain")
        cycles.append(cycle)
    return cycles


def polygon_table(dims, values, cycle_count):
    width = dims[-1]
    rows = []
    for r in range(0, len(values), width):
        cycles = boundary_cycles(values[r:r + width])
        if len(cycles) != cycle_count:
            raise ValueError(f"row {values[r:r + width]}: {len(cycles)} cycles")
        flat = []
        for c in cycles:
            if flat:
                flat.append(-1)
            flat.extend(c)
        rows.append(flat)
    length = len(rows[0])
    if any(len(r) != length for r in rows):
        raise ValueError("polygon rows of one table differ in length")
    return dims[:-1] + [length], [v for r in rows for v in r]


def c_dims(dims):
    return "".join(f"[{d}]" for d in dims)


def c_initializer(dims, values):
    """Nested braces, one innermost row per line."""
    width = dims[-1]
    rows = ["{" + ", ".join(str(v) for v in values[r:r + width]) + "}"
            for r in range(0, len(values), width)]
    if len(dims) == 1:
        return rows[0]
    if len(dims) == 2:
        return "{\n    " + ",\n    ".join(rows) + "\n}"
    group = dims[1]
    blocks = ["{\n     " + ",\n     ".join(rows[g:g + group]) + "}"
              for g in range(0, len(rows), group)]
    return "{\n    " + ",\n    ".join(blocks) + "\n}"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_mc33_tables.py <tables.txt> <output dir>")
    tables = parse_tables(Path(sys.argv[1]).read_text())
    out_dir = Path(sys.argv[2])

    entries = [(name, *tables[name]) for name in USED_TABLES]
    for tiling, (poly_name, cycles) in POLYGON_ROWS.items():
        dims, values = tables[tiling]
        entries.append((poly_name, *polygon_table(dims, values, cycles)))

    note = ("// Generated by tools/gen_mc33_tables.py from the lookup tables of the\n"
            "// Marching Cubes 33 reference implementation (Lewiner et al. 2003, tables\n"
            "// version 0.2). Do not edit by hand.\n")
    header = [note, "#pragma once\n", "#include <cstdint>\n",
              "namespace voxquad::mc33 {\n",
              "// cases[lutEntry] = {case number, configuration}; tiling* rows hold triangles\n"
              "// (three edge codes each, 12 = interior vertex); test* hold face codes (+-1..6),\n"
              "// interior-test signs (+-7) and reference edges; polygon* rows hold the boundary\n"
              "// cycles of the matching tiling, -1 between two cycles.\n"]
    source = [note, '#include "mc33_tables.h"\n', "namespace voxquad::mc33 {\n"]
    for name, dims, values in entries:
        header.append(f"extern const std::int8_t {name}{c_dims(dims)};")
        source.append(f"const std::int8_t {name}{c_dims(dims)} = {c_initializer(dims, values)};\n")
    header.append("\n}  // namespace voxquad::mc33\n")
    source.append("}  // namespace voxquad::mc33\n")
    (out_dir / "mc33_tables.h").write_text("\n".join(header))
    (out_dir / "mc33_tables.cpp").write_text("\n".join(source))


if __name__ == "__main__":
    main()
