#!/usr/bin/env python3
"""Draws the program icon (a note over a bridge arch) and writes src/resources/tunebridge.ico.

Run once when the artwork changes; the .ico is committed. Standard library only.
"""
import math
import pathlib
import struct

SUPERSAMPLE = 4
BACKGROUND = (32, 44, 92)
ARCH = (120, 200, 255)
NOTE = (255, 206, 64)


def coverage(size, inside):
    """Fraction of each pixel for which inside(x, y) holds, x and y in 0..1."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / size
                    hits += inside(x, y)
            row.append(hits / SUPERSAMPLE ** 2)
        rows.append(row)
    return rows


def rounded_square(x, y):
    r = 0.18
    dx = max(abs(x - 0.5) - (0.5 - r), 0.0)
    dy = max(abs(y - 0.5) - (0.5 - r), 0.0)
    return dx * dx + dy * dy <= r * r


def arch(x, y):
    # Lower half-ring: the bridge.
    d = math.hypot(x - 0.5, y - 0.95)
    return y <= 0.95 and 0.30 <= d <= 0.40


def note(x, y):
    head = ((x - 0.44) / 0.11) ** 2 + ((y - 0.62) / 0.08) ** 2 <= 1.0
    stem = 0.52 <= x <= 0.57 and 0.16 <= y <= 0.62
    flag = 0.57 <= x <= 0.72 and 0.16 <= y <= 0.26 - (x - 0.57) * 0.4
    return head or stem or flag


def render(size):
    shape = coverage(size, rounded_square)
    bridge = coverage(size, arch)
    mark = coverage(size, note)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            colour = BACKGROUND
            for layer, tint in ((bridge, ARCH), (mark, NOTE)):
                a = layer[y][x]
                colour = tuple(round(c * (1 - a) + t * a) for c, t in zip(colour, tint))
            row.append((*colour, round(255 * shape[y][x])))
        pixels.append(row)
    return pixels


def bitmap_entry(pixels):
    """A 32-bit DIB as stored in an icon: BITMAPINFOHEADER, bottom-up BGRA, AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main():
    sizes = (32, 16)
    images = [bitmap_entry(render(s)) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    target = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources" / "tunebridge.ico"
    target.write_bytes(out)
    print(f"wrote {target} ({len(out)} bytes)")


if __name__ == "__main__":
    main()
