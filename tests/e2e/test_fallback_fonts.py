"""The read-outs where the machine's fonts answer for 宋体 with a face that has no digits.

In the font environment that apt's recommends make (Droid Sans Fallback installed beside
WenQuanYi, tests/e2e/fonts/droid.conf), Wine's font mapper answers a request for 宋体 with
Droid Sans Fallback, which has a box for every digit and Latin letter. The selection's size
read-out and the loupe's lines still show as glyphs: a read-out of other digits looks
different, where rows of the same box would look the same.
"""

from __future__ import annotations

import sys
import unittest
from pathlib import Path
from typing import Sequence

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Image, Session, wait_until  # noqa: E402
from scenarios import (SIZE_LABEL, TOOLBAR_BACK, handle_boxes, label_box, outline_boxes,  # noqa: E402
                       select, start_capture, start_program)

WIDTH, HEIGHT = 1024, 768
SPAN, CELL, GAP = 15, 8, 20
TEXT_TOP, TEXT_H = SPAN * CELL + 2, 36  # the loupe's two lines, below its grid


def text_mask(image: Image, box: Geometry, background: Image | tuple[int, int, int],
              leave_out: Sequence[Geometry] = ()) -> frozenset[tuple[int, int]]:
    """The pixels of a box that differ from its background (a picture or one colour), relative
    to the box's corner. The text is smoothed, so few have the text's own colour; equal masks
    mean equal text."""
    def under(x: int, y: int) -> tuple[int, int, int]:
        return background.pixel(x, y) if isinstance(background, Image) else background
    return frozenset((x - box.x, y - box.y) for y in range(box.y, box.y + box.height)
                     for x in range(box.x, box.x + box.width)
                     if image.pixel(x, y) != under(x, y) and not any(g.contains(x, y) for g in leave_out))


class ReadOutsWithFallbackFonts(unittest.TestCase):

    def test_size_read_out_and_loupe_show_glyphs(self):
        with Session(WIDTH, HEIGHT, name="fallback-fonts", fonts="droid") as s:
            frozen = s.show_pattern("coords")
            _, main = start_program(s, loupe=True)
            start_capture(s, main)

            # The loupe's position line at two pixels whose coordinates are the same digits.
            lines = []
            for x, y in ((300, 200), (200, 300)):
                s.move(x, y)
                s.move(x, y)  # a second event, so the loupe has surely followed
                line = Geometry(x + GAP + 1, y + GAP + TEXT_TOP, SPAN * CELL + 1, TEXT_H // 2)
                shot = f"loupe-{x}-{y}.png"
                lines.append(self.wait_text(s, line, shot))
            self.assertTrue(lines[0] != lines[1], "the loupe shows the same boxes for other digits")

            # The size read-outs of two selections whose sizes are the same digits.
            read_outs = []
            for i, (w, h) in enumerate(((412, 300), (300, 412))):
                if i:
                    s.click(900, 700, button=3)  # clears the first selection, away from it
                sel = Geometry(100, 100, w, h)
                select(s, sel.x, sel.y, sel.x + w, sel.y + h)
                shot = f"selection-{w}x{h}.png"
                image = s.screenshot_pixels(shot)
                frame = outline_boxes(sel) + handle_boxes(sel)
                read_outs.append(text_mask(image, label_box(sel, SIZE_LABEL), frozen, frame))
                self.assertGreaterEqual(len(read_outs[-1]), 10, f"no size read-out; see {shot}")
            self.assertTrue(read_outs[0] != read_outs[1], "the size read-out shows the same boxes for other digits")

    def wait_text(self, s: Session, box: Geometry, shot: str) -> frozenset:
        found = wait_until(lambda: len(text_mask(s.screenshot_pixels(), box, TOOLBAR_BACK)) >= 10, 5)
        image = s.screenshot_pixels(shot)
        self.assertTrue(found, f"no text in the loupe at {box}; see {shot}")
        return text_mask(image, box, TOOLBAR_BACK)


if __name__ == "__main__":
    unittest.main()
