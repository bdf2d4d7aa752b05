"""The loupe, as a user sees it under Wine.

Over a picture whose every pixel is different, the loupe below-right of the pointer shows the
15 x 15 pixels around it, each as an 8 x 8 cell of a grid; near the screen's bottom-right corner
it flips above-left of the pointer; at the left edge the pixels past it are black; where it was before, the frozen picture shows again; over
the toolbar it goes away.
"""

from __future__ import annotations

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Image, Session, wait_until  # noqa: E402
from scenarios import (select, start_capture, start_program, toolbar_place,  # noqa: E402
                       unexplained)

WIDTH, HEIGHT = 1024, 768
SPAN, CELL, GAP = 15, 8, 20
LOUPE_W, LOUPE_H = SPAN * CELL + 3, SPAN * CELL + 3 + 36


def loupe_box(x: int, y: int) -> Geometry:
    """Below-right of the pointer; on the other side along an axis where it would not fit."""
    left = x + GAP if x + GAP + LOUPE_W <= WIDTH else x - GAP - LOUPE_W
    top = y + GAP if y + GAP + LOUPE_H <= HEIGHT else y - GAP - LOUPE_H
    return Geometry(left, top, LOUPE_W, LOUPE_H)


class LoupeOnTheFrozenScreen(unittest.TestCase):

    def test_enlarges_the_pixels_under_the_pointer(self):
        with Session(WIDTH, HEIGHT, name="loupe") as s:
            self.s = s
            frozen = s.show_pattern("coords")
            _, main = start_program(s, loupe=True)
            start_capture(s, main)
            tray = wait_until(lambda: s.tray_window(frame=True), 10)

            for i, (x, y) in enumerate([(300, 200), (1000, 750), (5, 400)]):
                with self.subTest(pointer=(x, y)):
                    s.move(x, y)
                    box = loupe_box(x, y)
                    shot_name = f"loupe-{i}.png"
                    shown = wait_until(lambda: self.cells_wrong(s.screenshot_pixels(shot_name), frozen, box, x, y) == [], 5)
                    wrong = self.cells_wrong(s.screenshot_pixels(), frozen, box, x, y)
                    self.assertTrue(shown, f"cells not enlarged right at {wrong[:5]}; see {shot_name}")
                    # Nothing else on the screen: the loupe left no trail where it was before.
                    count, first = unexplained(s.screenshot_pixels(), frozen, [box, tray])
                    self.assertEqual(count, 0, f"{count} stray pixels, first at {first}; see {shot_name}")

            # Over the toolbar the loupe goes.
            select(s, 200, 150, 500, 350)
            bar = toolbar_place(Geometry(200, 150, 300, 200), HEIGHT)
            s.move(bar.x + 2, bar.y + bar.height - 3)
            box = loupe_box(bar.x + 2, bar.y + bar.height - 3)
            gone = wait_until(lambda: unexplained(s.screenshot_pixels(region=box), frozen.crop(box.x, box.y, box.width, box.height), [])[0] == 0, 5)
            self.assertTrue(gone, "the loupe stays over the toolbar")

    @staticmethod
    def cells_wrong(shot: Image, frozen: Image, box: Geometry, x: int, y: int) -> list:
        """Cells whose inside (grid line and centre frame left out) is not the frozen pixel."""
        wrong = []
        for j in range(SPAN):
            for i in range(SPAN):
                px, py = x - SPAN // 2 + i, y - SPAN // 2 + j
                want = frozen.pixel(px, py) if 0 <= px < WIDTH and 0 <= py < HEIGHT else (0, 0, 0)
                left, top = box.x + 1 + i * CELL, box.y + 1 + j * CELL
                if any(shot.pixel(left + u, top + v) != want for u in range(2, CELL - 1) for v in range(2, CELL - 1)):
                    wrong.append((i, j))
        return wrong


if __name__ == "__main__":
    unittest.main(verbosity=2)
