#!/usr/bin/env python3
"""Draws the tray icons (running and stopped) as 16-colour .ico files with a
32x32 and a 16x16 image each. Run it after changing a picture; the .ico files
are committed."""
import struct
import sys

# The standard 16-colour palette, as the system uses it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
COLOURS = {'.': None, 'k': 0, 'b': 4, 'B': 12, 'w': 15, 'y': 11, 'g': 8, 'G': 7, 'r': 9, 'R': 1}

# A caption box with a capital A turning into a Japanese kana through an arrow.
RUNNING = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kBBBBBBBBBBBBk.",
    ".kBwwBBBBBBwBBk.",
    ".kwBBwBBBBwwwBk.",
    ".kwBBwByBBBwBBk.",
    ".kwwwwByyBwwwwk.",
    ".kwBBwyyyywBwBk.",
    ".kwBBwByyBwwBwk.",
    ".kwBBwByBwBwBwk.",
    ".kBBBBBBBBwwBBk.",
    ".kBBBBBBBBBBBBk.",
    ".kkkkkkkkkkkkkk.",
    "......kBBk......",
    ".......kBk......",
    "........kk......",
]
STOPPED = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kgwwggrrggwggk.",
    ".kwggwgrrgwwwgk.",
    ".kwggwgrrggwggk.",
    ".kwwwwgrrgwwwwk.",
    ".kwggwgrrgwgwgk.",
    ".kwggwgrrwwwgwk.",
    ".kwggwgrrwgwgwk.",
    ".kggggggggwwggk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "......kggk......",
    ".......kgk......",
    "........kk......",
]


def scaled(rows, factor):
    return ["".join(ch * factor for ch in row) for row in rows for _ in range(factor)]


def image(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    mask = b''
    for row in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [COLOURS[ch] or 0 for ch in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line + b'\0' * (-len(line) % 4)
        bits = 0
        line = b''
        for i, ch in enumerate(row):
            bits = (bits << 1) | (1 if COLOURS[ch] is None else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line + b'\0' * (-len(line) % 4)
    return header + palette + xor + mask


def icon(rows):
    images = [image(scaled(rows, 2)), image(rows)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for data, size in zip(images, (32, 16)):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else 'ui/icons'
    for name, rows in (('running', RUNNING), ('stopped', STOPPED)):
        assert all(len(r) == 16 for r in rows) and len(rows) == 16, name
        with open(f'{folder}/{name}.ico', 'wb') as f:
            f.write(icon(rows))
