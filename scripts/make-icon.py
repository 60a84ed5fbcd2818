#!/usr/bin/env python3
"""Draws the installer's icon (brand gradient tile, white ring, red recording
dot) and writes it as a Windows .ico: DIB entries up to 48 px, PNG at 256 px.
Deterministic, so the build can make it every time."""
import struct
import sys
import zlib

TOP_LEFT = (0x2F, 0x5B, 0xEA)
BOTTOM_RIGHT = (0x6A, 0x46, 0xE5)
DOT = (0xFF, 0x4D, 0x4F)
SIZES = (16, 24, 32, 48, 256)
SAMPLES = 4  # per axis, for anti-aliased edges


def coverage_tile(x, y):
    """Rounded square covering the unit square, corner radius 0.22."""
    r = 0.22
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and 0 <= x <= 1 and 0 <= y <= 1


def shade(x, y):
    """Colour and alpha of one sample point in unit coordinates."""
    if not coverage_tile(x, y):
        return None
    t = (x + y) / 2
    colour = tuple(round(a + (b - a) * t) for a, b in zip(TOP_LEFT, BOTTOM_RIGHT))
    d = ((x - 0.5) ** 2 + (y - 0.5) ** 2) ** 0.5
    if d <= 0.15:
        return DOT
    if 0.25 <= d <= 0.33:
        return (255, 255, 255)
    return colour


def render(size):
    """Rows of (r, g, b, a) pixels, top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // n, acc[1] // n, acc[2] // n, 255 * n // (SAMPLES * SAMPLES)))
        rows.append(row)
    return rows


def dib(size, rows):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha decides; the AND mask stays clear
    return header + pixels + mask


def png(size, rows):
    raw = b''.join(b'\x00' + b''.join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main(path):
    images = [(s, png(s, render(s)) if s >= 256 else dib(s, render(s))) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1])
