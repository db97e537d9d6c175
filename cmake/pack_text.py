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

The packing: DEFLATE (RFC 1951), a raw stream without zlib's header and
check, as zopfli writes it: some 4% smaller than zlib at its best, for a
second of the build.
"""

import os
import re
import subprocess
import sys
import tempfile

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


def pack(data):
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "texts")
        with open(path, "wb") as file:
            file.write(data)
        return subprocess.run(["zopfli", "--deflate", "--i100", "-c", path],
                              check=True, capture_output=True).stdout


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
