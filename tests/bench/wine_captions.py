#!/usr/bin/env python3
"""Prints the English captions of the Button and Static controls in the dialog
resources of the Wine libraries and programs given (or found under the folder
given), one a line, each once. Only for measuring the dictionary engine's
coverage: its output is never a source of table entries."""
import os
import struct
import sys

RT_DIALOG = 5
BUTTON, STATIC = 0x80, 0x82


def sections(data):
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    count = struct.unpack_from('<H', data, pe + 6)[0]
    optional = struct.unpack_from('<H', data, pe + 20)[0]
    table = pe + 24 + optional
    for i in range(count):
        name, vsize, va, rsize, raw = struct.unpack_from('<8sIIII', data, table + 40 * i)
        yield va, max(vsize, rsize), raw
    

def resource_root(data):
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    magic = struct.unpack_from('<H', data, pe + 24)[0]
    directories = pe + 24 + (96 if magic == 0x10B else 112)
    rva = struct.unpack_from('<I', data, directories + 2 * 8)[0]
    for va, size, raw in sections(data):
        if va <= rva < va + size:
            return raw + rva - va, va - raw
    return None, None


def entries(data, base, offset):
    named, ids = struct.unpack_from('<HH', data, offset + 12)
    for i in range(named + ids):
        ident, target = struct.unpack_from('<II', data, offset + 16 + 8 * i)
        yield ident, target & 0x7FFFFFFF, bool(target & 0x80000000)


def dialogs(data):
    root, delta = resource_root(data)
    if root is None:
        return
    for kind, types, _ in entries(data, root, root):
        if kind != RT_DIALOG:
            continue
        for _, langs, _ in entries(data, root, root + types):
            for lang, leaf, _ in entries(data, root, root + langs):
                if lang & 0x3FF not in (0x09, 0x00):
                    continue
                rva, size = struct.unpack_from('<II', data, root + leaf)
                yield data[rva - delta: rva - delta + size]


def text(block, at):
    end = at
    while block[end:end + 2] != b'\0\0':
        end += 2
    return block[at:end].decode('utf-16-le', 'replace'), end + 2


def ident_or_text(block, at):
    first = struct.unpack_from('<H', block, at)[0]
    if first == 0xFFFF:
        return struct.unpack_from('<H', block, at + 2)[0], at + 4
    if first == 0:
        return '', at + 2
    return text(block, at)


def align(at):
    return (at + 3) & ~3


def captions(block):
    extended = struct.unpack_from('<HH', block, 0) == (1, 0xFFFF)
    if extended:
        style = struct.unpack_from('<I', block, 12)[0]
        count = struct.unpack_from('<H', block, 16)[0]
        at = 26
    else:
        style = struct.unpack_from('<I', block, 0)[0]
        count = struct.unpack_from('<H', block, 8)[0]
        at = 18
    _, at = ident_or_text(block, at)  # menu
    _, at = ident_or_text(block, at)  # class
    _, at = text(block, at)  # title
    if style & 0x40:  # DS_SETFONT
        at += 6 if extended else 2
        _, at = text(block, at)
    for _ in range(count):
        at = align(at)
        at += 24 if extended else 18
        kind, at = ident_or_text(block, at)
        caption, at = ident_or_text(block, at)
        extra = struct.unpack_from('<H', block, at)[0]
        at += 2 + extra
        if kind in (BUTTON, STATIC) and isinstance(caption, str) and caption.strip():
            yield caption


def main():
    seen = set()
    paths = []
    for arg in sys.argv[1:]:
        if os.path.isdir(arg):
            paths += [os.path.join(arg, n) for n in sorted(os.listdir(arg)) if n.endswith(('.dll', '.exe'))]
        else:
            paths.append(arg)
    for path in paths:
        try:
            data = open(path, 'rb').read()
            for block in dialogs(data):
                for caption in captions(block):
                    line = caption.replace('\r', ' ').replace('\n', ' ').replace('\t', ' ')
                    if line not in seen and line.isascii():
                        seen.add(line)
                        print(line)
        except (struct.error, IndexError, UnicodeDecodeError):
            continue


if __name__ == '__main__':
    main()
