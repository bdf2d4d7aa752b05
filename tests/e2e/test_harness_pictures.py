"""The harness's picture reading, on which every pixel comparison of the scenarios rests:
the BMP layouts that Wine and ImageMagick hand over, and the PNG round trip."""

from __future__ import annotations

import struct
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Image, bmp_bytes, make_pattern, read_bmp, read_png, write_png  # noqa: E402

# 3 x 2 pixels, top row first; an odd width makes 24-bit rows need padding.
PIXELS = [[(255, 0, 0), (0, 255, 0), (0, 0, 255)],
          [(1, 2, 3), (250, 251, 252), (128, 64, 32)]]


def build_bmp(bpp: int, top_down: bool, bitfields: bool = False, file_header: bool = True) -> bytes:
    rows = PIXELS if top_down else PIXELS[::-1]
    data = b""
    for row in rows:
        line = b"".join(bytes([b, g, r]) + (b"\xff" if bpp == 32 else b"") for r, g, b in row)
        data += line + b"\0" * (-len(line) % 4)
    height = -len(PIXELS) if top_down else len(PIXELS)
    info = struct.pack("<IiiHHIIiiII", 40, 3, height, 1, bpp, 3 if bitfields else 0, len(data), 0, 0, 0, 0)
    masks = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF) if bitfields else b""
    if not file_header:
        return info + masks + data
    offset = 14 + len(info) + len(masks)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + masks + data


class ReadsBmpLayouts(unittest.TestCase):

    def test_layouts(self):
        cases = {
            "24-bit bottom-up, padded rows": build_bmp(24, top_down=False),
            "24-bit top-down": build_bmp(24, top_down=True),
            "32-bit bottom-up": build_bmp(32, top_down=False),
            "32-bit bit fields (Wine's clipboard)": build_bmp(32, top_down=False, bitfields=True),
            "32-bit top-down bit fields, no file header": build_bmp(32, True, bitfields=True, file_header=False),
        }
        for name, data in cases.items():
            with self.subTest(name):
                image = read_bmp(data)
                self.assertEqual((image.width, image.height), (3, 2))
                got = [[image.pixel(x, y) for x in range(3)] for y in range(2)]
                self.assertEqual(got, PIXELS)

    def test_refuses_what_it_cannot_read(self):
        paletted = bytearray(build_bmp(24, top_down=False))
        struct.pack_into("<H", paletted, 14 + 14, 8)
        truncated = build_bmp(24, top_down=False)[:-4]
        for name, data in {"8-bit": bytes(paletted), "truncated": truncated}.items():
            with self.subTest(name), self.assertRaises(ValueError):
                read_bmp(data)


class PatternsSurviveTheRoundTrip(unittest.TestCase):

    def test_png_round_trip_and_bmp_writer(self):
        with tempfile.TemporaryDirectory() as tmp:
            for kind in ("coords", "stripes"):
                with self.subTest(kind):
                    image = make_pattern(301, 257, kind)
                    self.assertEqual(read_bmp(bmp_bytes(image)), image)
                    png = Path(tmp) / f"{kind}.png"
                    write_png(png, image)
                    self.assertEqual(read_png(png), image)

    def test_the_two_patterns_differ_everywhere(self):
        a, b = make_pattern(600, 300, "coords"), make_pattern(600, 300, "stripes")
        differing, _ = a.diff(b)
        self.assertEqual(differing, 600 * 300)

    def test_coords_pattern_shows_any_shift(self):
        a = make_pattern(1024, 600, "coords")
        self.assertNotEqual(a.crop(1, 0, 1000, 500), a.crop(0, 0, 1000, 500))
        self.assertNotEqual(a.crop(0, 256, 1000, 300), a.crop(0, 0, 1000, 300))
        self.assertNotEqual(a.crop(256, 0, 700, 500), a.crop(0, 0, 700, 500))


if __name__ == "__main__":
    unittest.main(verbosity=2)
