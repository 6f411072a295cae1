#!/usr/bin/env python3
"""Builds src/shell/toolbar.bmp from the pixel art in art/toolbar_pictures.txt.

The text file starts with palette lines of the form

    palette <char> <red> <green> <blue>   [optional comment]

followed by 28 pictures.  Each picture is introduced by a line "# NN Name"
(NN = 1..28) and followed by exactly 16 rows of exactly 16 palette characters.
Blank lines and lines starting with ";" are ignored.

The result is one 448x16, 24-bit, uncompressed, bottom-up BMP; picture N is
placed in the cell starting at x = (N - 1) * 16.  Any malformed input stops the
script with a message naming the file and line.

Usage: make-toolbar-bitmap.py [input.txt [output.bmp]]
"""
import os
import re
import struct
import sys

COUNT = 28
SIZE = 16

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DEFAULT_INPUT = os.path.join(ROOT, "art", "toolbar_pictures.txt")
DEFAULT_OUTPUT = os.path.join(ROOT, "src", "shell", "toolbar.bmp")

PALETTE_RE = re.compile(r"^palette\s+(\S)\s+(\d{1,3})\s+(\d{1,3})\s+(\d{1,3})(\s.*)?$")
HEADER_RE = re.compile(r"^#\s*(\d{1,2})\s+(\S.*)$")


class ArtError(Exception):
    pass


def parse(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()

    palette = {}
    pictures = {}  # number -> (name, rows, line number of header)
    current = None  # [number, name, rows, header line]

    def finish(at_line):
        if current is None:
            return
        number, name, rows, header_line = current
        if len(rows) != SIZE:
            raise ArtError(f"{path}:{header_line}: picture {number:02d} '{name}' has "
                           f"{len(rows)} rows, expected {SIZE} (ends before line {at_line})")
        pictures[number] = (name, rows, header_line)

    for index, raw in enumerate(lines, start=1):
        line = raw.rstrip()
        if not line or line.startswith(";"):
            continue
        m = PALETTE_RE.match(line)
        if m:
            if current is not None or pictures:
                raise ArtError(f"{path}:{index}: palette line after the first picture")
            char = m.group(1)
            if char == "#" or char == ";":
                raise ArtError(f"{path}:{index}: '{char}' cannot be a palette character")
            if char in palette:
                raise ArtError(f"{path}:{index}: palette character '{char}' defined twice")
            rgb = tuple(int(m.group(i)) for i in (2, 3, 4))
            if any(v > 255 for v in rgb):
                raise ArtError(f"{path}:{index}: colour component above 255")
            palette[char] = rgb
            continue
        if line.startswith("palette"):
            raise ArtError(f"{path}:{index}: malformed palette line: {line!r}")
        if line.startswith("#"):
            m = HEADER_RE.match(line)
            if not m:
                raise ArtError(f"{path}:{index}: malformed picture header: {line!r}")
            finish(index)
            number = int(m.group(1))
            if not 1 <= number <= COUNT:
                raise ArtError(f"{path}:{index}: picture number {number} outside 1..{COUNT}")
            if number in pictures or (current is not None and current[0] == number):
                raise ArtError(f"{path}:{index}: picture number {number:02d} appears twice")
            current = [number, m.group(2).strip(), [], index]
            continue
        if current is None:
            raise ArtError(f"{path}:{index}: pixel row before the first picture header")
        if len(line) != SIZE:
            raise ArtError(f"{path}:{index}: row of picture {current[0]:02d} has "
                           f"{len(line)} characters, expected {SIZE}: {line!r}")
        for column, char in enumerate(line):
            if char not in palette:
                raise ArtError(f"{path}:{index}:{column + 1}: unknown palette character "
                               f"'{char}' in picture {current[0]:02d}")
        current[2].append(line)
        if len(current[2]) > SIZE:
            raise ArtError(f"{path}:{index}: picture {current[0]:02d} has more than {SIZE} rows")
    finish(len(lines) + 1)

    if not palette:
        raise ArtError(f"{path}: no palette lines")
    missing = [n for n in range(1, COUNT + 1) if n not in pictures]
    if missing:
        raise ArtError(f"{path}: missing picture number(s): "
                       + ", ".join(f"{n:02d}" for n in missing))
    return palette, pictures


def write_bmp(path, palette, pictures):
    width, height = COUNT * SIZE, SIZE
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for n in range(1, COUNT + 1):
            for char in pictures[n][1][y]:
                r, g, b = palette[char]
                row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(file_header + info_header + pixels)


def main(argv):
    if len(argv) > 3:
        print(__doc__, file=sys.stderr)
        return 2
    source = argv[1] if len(argv) > 1 else DEFAULT_INPUT
    target = argv[2] if len(argv) > 2 else DEFAULT_OUTPUT
    try:
        palette, pictures = parse(source)
    except (ArtError, OSError) as e:
        print(f"make-toolbar-bitmap: error: {e}", file=sys.stderr)
        return 1
    write_bmp(target, palette, pictures)
    print(f"make-toolbar-bitmap: wrote {target} ({COUNT} pictures, {COUNT * SIZE}x{SIZE})")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
