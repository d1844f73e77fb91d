#!/usr/bin/env python3
"""Draws the application icon (a database with a green check badge, the motif
of the welcome picture) at 16, 24, 32, 48 and 256 pixels and writes it as a
Windows .ico file: 32-bit bitmaps for the small sizes (Windows XP reads
those), PNG for 256.  Usage: make-icon.py OUT.ico"""
import struct
import sys
import zlib

SAMPLES = 4  # per axis, per pixel


def shapes(s):
    """The icon as a list of (test, colour) layers in unit coordinates."""
    navy, body, rim, top = (0, 70, 160), (0, 92, 190), (120, 180, 240), (170, 210, 250)
    green, white = (34, 150, 60), (255, 255, 255)
    x0, x1, y0, y1 = 0.10, 0.72, 0.08, 0.88
    cx, rx = (x0 + x1) / 2, (x1 - x0) / 2
    lid = 0.16

    def ellipse(cy, ry, grow=0.0):
        return lambda x, y: ((x - cx) / (rx + grow)) ** 2 + ((y - cy) / (ry + grow)) ** 2 <= 1

    def cylinder(grow):
        return lambda x, y: (x0 - grow <= x <= x1 + grow and y0 + lid / 2 <= y <= y1 - lid / 2) or \
            ellipse(y1 - lid / 2, lid / 2, grow)(x, y) or ellipse(y0 + lid / 2, lid / 2, grow)(x, y)

    bands = [ellipse(y0 + lid / 2 + (y1 - y0 - lid) * k / 3, lid / 2) for k in (1, 2)]
    bx, by, br = 0.72, 0.72, 0.25

    def badge(grow):
        return lambda x, y: (x - bx) ** 2 + (y - by) ** 2 <= (br + grow) ** 2

    def check(x, y):
        pts = [(bx - 0.13, by + 0.0), (bx - 0.03, by + 0.1), (bx + 0.14, by - 0.1)]
        w = 0.055
        for (ax, ay), (cx2, cy2) in zip(pts, pts[1:]):
            dx, dy = cx2 - ax, cy2 - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= w * w:
                return True
        return False

    return [(cylinder(0.03), navy), (cylinder(0.0), body)] + \
        [(b, rim) for b in bands] + \
        [(ellipse(y0 + lid / 2, lid / 2), rim), (ellipse(y0 + lid / 2, lid / 2 - 0.03, -0.04), top),
         (badge(0.04), white), (badge(0.0), green), (check, white)]


def render(size):
    layers = shapes(size)
    pixels = []
    n = SAMPLES * SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for test, c in layers:
                        if test(x, y):
                            colour = c
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 255
            if a:
                k = a // 255
                row.append((r // k, g // k, b // k, a // n))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def bmp_entry(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def png_entry(pixels):
    size = len(pixels)
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) + \
        chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def main(out):
    sizes = [16, 24, 32, 48, 256]
    images = [(s, png_entry(render(s)) if s == 256 else bmp_entry(render(s))) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, blob in images:
        data += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    data += b''.join(blob for _, blob in images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1])
