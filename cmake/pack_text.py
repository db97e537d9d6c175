"""Packs a file of texts into a C++ table with the texts compressed.

Usage: pack_text.py TEXTS OUTPUT NAME

TEXTS holds entries: a line "@@ KEY" starts one, and the lines up to the next
"@@" line are its text (joined by line breaks, without a last one). "@#"
lines, wherever they stand, are notes for the reader. The texts' placeholders
(codegen/template_text.h: "{name}", "{@Name}" for a local variable) are the
ones that "@= name ..." lines declare ("@" for the locals); "@! A B | KEY |
KEY ..." lines require the entries "A, KEY", "B, KEY", ... . A placeholder not
declared, a required entry missing and a key given twice each fail the build.
OUTPUT (included in C++ where the type of the entries is known) gets

  constexpr NAME kNAMEs[] = {{KEY, begin, end}, ...};
  constexpr unsigned char kPackedNAMEs[] = {...};

with begin and end the entry's place in the texts unpacked one after the
other, which platform/packed_text.h's UnpackText gives back.

The packing: groups of eight items, each group after a byte whose bits (the
lowest first) say which items are copies. An item is a byte of text, or a
copy: two bytes, little-endian, holding the distance back (1..4096) less one
in the high twelve bits and the length (3..18) less three in the low four.
"""

import re
import sys

WINDOW = 4096
MIN_LENGTH = 3
MAX_LENGTH = 18


PLACEHOLDER = re.compile(r"\{(@[A-Za-z][A-Za-z0-9_]*|[a-z][a-z0-9_]*)\}")


def read_entries(path):
    """The entries as (key, text), or exits with the file's faults."""
    entries, declared, required, faults = [], set(), [], []
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file.read().split("\n"), 1):
            if line.startswith("@@ "):
                entries.append((line[3:].strip(), [], number))
            elif line.startswith("@= "):
                declared.update(line[3:].split())
            elif line.startswith("@! "):
                dialects, *keys = (part.strip() for part in line[3:].split("|"))
                required += [(f"{d}, {key}", number) for d in dialects.split() for key in keys]
            elif entries and not line.startswith("@#"):
                entries[-1][1].append(line)
                for name in PLACEHOLDER.findall(line):
                    if (name[0] == "@" and "@" not in declared) or (
                            name[0] != "@" and name not in declared):
                        faults.append(f"{number}: {{{name}}} is no placeholder of this file")
    keys = [key for key, _, _ in entries]
    for key, _, number in entries:
        if keys.count(key) > 1:
            faults.append(f"{number}: {key} is given twice")
    for key, number in required:
        if key not in keys:
            faults.append(f"{number}: the entry {key} is missing")
    if faults:
        sys.exit("\n".join(f"{path}:{fault}" for fault in faults))
    return [(key, "\n".join(lines).rstrip("\n")) for key, lines, _ in entries]


def longest_copies(data):
    """For each place, the longest copy there as (length, distance)."""
    recent = {}  # three bytes -> where they began, the latest last
    copies = []
    for i in range(len(data)):
        best, distance = 0, 0
        for start in reversed(recent.get(data[i:i + MIN_LENGTH], [])):
            if i - start > WINDOW:
                break
            length = 0
            while (length < MAX_LENGTH and i + length < len(data)
                   and data[start + length] == data[i + length]):
                length += 1
            if length > best:
                best, distance = length, i - start
        copies.append((best, distance))
        recent.setdefault(data[i:i + MIN_LENGTH], []).append(i)
    return copies


def pack(data):
    # The cheapest items from each place to the end, counted in bits (a byte
    # of text 9, a copy 17, its flag bit included), from the end backwards:
    # any start of the longest copy at a place is a copy too.
    copies = longest_copies(data)
    cost = [0] * (len(data) + 1)
    step = [1] * len(data)
    for i in reversed(range(len(data))):
        cost[i] = 9 + cost[i + 1]
        for length in range(MIN_LENGTH, copies[i][0] + 1):
            if 17 + cost[i + length] < cost[i]:
                cost[i], step[i] = 17 + cost[i + length], length
    out = bytearray()
    flags_at, item = 0, 8
    i = 0
    while i < len(data):
        if item == 8:
            flags_at, item = len(out), 0
            out.append(0)
        if step[i] > 1:
            out[flags_at] |= 1 << item
            code = ((copies[i][1] - 1) << 4) | (step[i] - MIN_LENGTH)
            out += code.to_bytes(2, "little")
        else:
            out.append(data[i])
        i += step[i]
        item += 1
    return bytes(out)


def main():
    texts_path, output_path, name = sys.argv[1:]
    entries = read_entries(texts_path)
    data, rows = bytearray(), []
    for key, text in entries:
        encoded = text.encode("utf-8")
        rows.append(f"    {{{key}, {len(data)}, {len(data) + len(encoded)}}},")
        data += encoded
    packed = pack(bytes(data))
    lines = [f"// Made by cmake/pack_text.py from {texts_path.rsplit('/', 1)[-1]}.",
             f"constexpr {name} k{name}s[] = {{", *rows, "};",
             f"constexpr unsigned char kPacked{name}s[] = {{"]
    for at in range(0, len(packed), 24):
        lines.append("    " + ", ".join(str(b) for b in packed[at:at + 24]) + ",")
    lines.append("};")
    with open(output_path, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
