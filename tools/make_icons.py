#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

The artwork is plain geometry, supersampled for smooth edges, so the build can make every
size from this one script. Usage: make_icons.py OUTPUT_DIR
"""
import math
import struct
import sys
from pathlib import Path

SUPERSAMPLE = 4


def rgba(hex_colour, alpha=255):
    v = int(hex_colour.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, alpha)


def render(size, shapes):
    """shapes: list of (inside(x, y) -> bool, colour) in unit coordinates, later on top."""
    pixels = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = (0, 0, 0, 0)
                    for inside, c in shapes:
                        if inside(x, y):
                            colour = c
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            samples = n * n
            alpha = acc[3] / samples
            if alpha > 0:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha * 255),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


# --- shape helpers, all in unit coordinates (0..1)

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def frame(x0, y0, x1, y1, t):
    outer, inner = rect(x0, y0, x1, y1), rect(x0 + t, y0 + t, x1 - t, y1 - t)
    return lambda x, y: outer(x, y) and not inner(x, y)


def dashed_frame(x0, y0, x1, y1, t, dash):
    f = frame(x0, y0, x1, y1, t)
    return lambda x, y: f(x, y) and (int((x + y) / dash) % 2 == 0)


def segment(ax, ay, bx, by, t):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        k = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - k * dx) ** 2 + (y - ay - k * dy) ** 2 <= (t / 2) ** 2
    return inside


def arc(cx, cy, r, t, start_deg, end_deg):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > t / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return start_deg <= a <= end_deg if start_deg <= end_deg else (a >= start_deg or a <= end_deg)
    return inside


def triangle(p, q, r):
    def side(ax, ay, bx, by, x, y):
        return (bx - ax) * (y - ay) - (by - ay) * (x - ax)

    def inside(x, y):
        d1 = side(*p, *q, x, y)
        d2 = side(*q, *r, x, y)
        d3 = side(*r, *p, x, y)
        neg = d1 < 0 or d2 < 0 or d3 < 0
        pos = d1 > 0 or d2 > 0 or d3 > 0
        return not (neg and pos)
    return inside


BLUE = rgba("#007AEC")
WHITE = rgba("#FFFFFF")
TEAL = rgba("#0F9D8A")
RED = rgba("#D83B3B")
GREEN = rgba("#1E9E4A")
DARK = rgba("#23405E")


def main_icon():
    # A blue tile with a dashed selection and its corner handles.
    return [
        (rounded_rect(0.04, 0.04, 0.96, 0.96, 0.18), BLUE),
        (dashed_frame(0.22, 0.26, 0.78, 0.74, 0.07, 0.09), WHITE),
        (rect(0.16, 0.20, 0.28, 0.32), WHITE),
        (rect(0.72, 0.68, 0.84, 0.80), WHITE),
    ]


def overlay_icon():
    # Crop marks on a teal tile, with a small repeat arrow: the area cut again and again.
    return [
        (rounded_rect(0.04, 0.04, 0.96, 0.96, 0.18), TEAL),
        (rect(0.18, 0.18, 0.46, 0.27), WHITE),
        (rect(0.18, 0.18, 0.27, 0.46), WHITE),
        (rect(0.54, 0.73, 0.82, 0.82), WHITE),
        (rect(0.73, 0.54, 0.82, 0.82), WHITE),
        (arc(0.5, 0.5, 0.15, 0.08, 200, 100), WHITE),
        (triangle((0.45, 0.27), (0.60, 0.36), (0.45, 0.44)), WHITE),
    ]


def undo_icon():
    return [
        (arc(0.55, 0.58, 0.26, 0.13, 180, 90), DARK),
        (triangle((0.08, 0.58), (0.42, 0.58), (0.25, 0.33)), DARK),
    ]


def copy_exit_icon():
    # A picture going onto the clipboard: a check mark over a page.
    return [
        (frame(0.14, 0.10, 0.76, 0.90, 0.09), DARK),
        (segment(0.30, 0.55, 0.46, 0.72, 0.15), GREEN),
        (segment(0.46, 0.72, 0.88, 0.26, 0.15), GREEN),
    ]


def exit_icon():
    return [
        (segment(0.2, 0.2, 0.8, 0.8, 0.16), RED),
        (segment(0.8, 0.2, 0.2, 0.8, 0.16), RED),
    ]


def ico_bytes(images):
    """images: list of (size, pixels); 32-bit BMP entries with an AND mask."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        xor = b"".join(
            struct.pack("<BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(pixels):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        bmp = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                          0, 0, 0, 0) + xor + bytes(mask)
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(bmp), offset)
        blobs += bmp
        offset += len(bmp)
    return header + entries + blobs


ICONS = {
    "pelvanto.ico": (main_icon, [16, 32, 48]),
    "overlay.ico": (overlay_icon, [16, 24, 32, 48]),
    "undo.ico": (undo_icon, [16, 24, 32]),
    "copy_exit.ico": (copy_exit_icon, [16, 24, 32]),
    "exit.ico": (exit_icon, [16, 24, 32]),
}


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, (art, sizes) in ICONS.items():
        images = [(s, render(s, art())) for s in sizes]
        (out / name).write_bytes(ico_bytes(images))


if __name__ == "__main__":
    main()
