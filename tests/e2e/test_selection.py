"""The selection on the frozen screen, as a user sees it under Wine.

Over a known picture: drawn selections show their outline, eight handles, both read-outs and
the toolbar in the right places (below the selection, inside it near the bottom, pushed to the
left edge); a moved selection stops at the screen's edges and leaves no trail; handles resize
it; a right click clears it and a second right click closes the overlay.
"""

from __future__ import annotations

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Image, Session, process_alive, wait_until  # noqa: E402
from scenarios import (INFO_LABEL, OVERLAY, SELECTION, SIZE_LABEL, TOOLBAR_BACK, TOOLBAR_FRAME,  # noqa: E402
                       count_colour, find_box, find_outline, handle_boxes, handle_centres,
                       label_box, label_mask, outline_boxes, select, start_capture, start_program,
                       toolbar_place, unexplained)

WIDTH, HEIGHT = 1024, 768
CLEAR_AT = (700, 60)  # a right click here lands on no selection, handle or toolbar of these steps


class SelectionOnTheFrozenScreen(unittest.TestCase):

    def test_draw_move_resize_and_clear(self):
        with Session(WIDTH, HEIGHT, name="selection") as s:
            self.s = s
            self.frozen = s.show_pattern("coords")
            proc, main = start_program(s)
            start_capture(s, main)
            self.tray = wait_until(lambda: s.tray_window(frame=True), 10)
            self.assertIsNotNone(self.tray, "no tray icon while capturing")

            self.draw_in_every_direction_and_place_the_toolbar()
            self.move_against_the_screen_edges()
            self.resize_by_handles()

            # A right click clears the selection and keeps the overlay; a second one closes it.
            s.click(*CLEAR_AT, button=3)
            self.assertTrue(wait_until(lambda: self.shows_only_the_frozen_screen("cleared.png"), 5),
                            "the selection is still on the screen after a right click")
            self.assertTrue(s.find_windows(OVERLAY), "a right click on a selection closed the overlay")
            s.click(*CLEAR_AT, button=3)
            s.wait_window_gone(OVERLAY)
            self.assertTrue(process_alive(proc), "the program ended with the overlay")
            self.assertEqual(s.find_windows(r"^Pelvanto \("), [], "the main window came back by itself")
            self.assertIsNotNone(s.tray_window(), "the main window's tray icon went with the overlay")

    # -- steps ----------------------------------------------------------------------------------

    def draw_in_every_direction_and_place_the_toolbar(self) -> None:
        # (press, release) -> selection; the toolbar's place follows from it.
        cases = [
            ((200, 150), (500, 350), Geometry(200, 150, 300, 200)),   # down-right; toolbar below
            ((520, 400), (220, 200), Geometry(220, 200, 300, 200)),   # up-left
            ((330, 120), (90, 300), Geometry(90, 120, 240, 180)),     # down-left
            ((10, 150), (50, 100), Geometry(10, 100, 40, 50)),        # up-right; toolbar pushed to x 0
            ((600, 500), (900, 738), Geometry(600, 500, 300, 238)),   # toolbar just fits below
            ((600, 500), (900, 739), Geometry(600, 500, 300, 239)),   # one more row: toolbar inside
        ]
        for i, (press, release, expected) in enumerate(cases):
            with self.subTest(press=press, release=release):
                select(self.s, *press, *release)
                self.check_selection(expected, f"draw-{i}.png")
                # A right click outside a selection only clears it.
                self.s.click(*CLEAR_AT, button=3)
                self.assertTrue(wait_until(lambda: self.shows_only_the_frozen_screen(), 5),
                                "a right click left part of the selection on the screen")

    def move_against_the_screen_edges(self) -> None:
        select(self.s, 200, 150, 500, 350)
        drawn = self.check_selection(Geometry(200, 150, 300, 200), "move-0.png")
        # Dragged far up and left from inside: it stops at 0, 0.
        self.s.drag(300, 250, 0, 0, steps=10)
        moved = self.check_selection(Geometry(0, 0, 300, 200), "move-1.png")
        self.assertEqual(moved, drawn, "moving changed the size read-out")
        # Far down and right: the far edges stop at the screen's edges, and the toolbar has to
        # go inside the selection.
        self.s.drag(150, 100, WIDTH - 1, HEIGHT - 1, steps=10)
        corner = Geometry(WIDTH - 300, HEIGHT - 200, 300, 200)
        self.assertEqual(toolbar_place(corner, HEIGHT).y, HEIGHT - 30)
        self.check_selection(corner, "move-2.png")
        self.s.click(*CLEAR_AT, button=3)

    def resize_by_handles(self) -> None:
        select(self.s, 200, 150, 500, 350)
        sel = Geometry(200, 150, 300, 200)
        before = self.check_selection(sel, "resize-0.png")
        # (handle, where it is dropped, resulting selection): the edges the handle carries go
        # to the pointer, the others stay.
        steps = [
            (6, (600, 420), Geometry(200, 150, 400, 270)),   # bottom-right corner
            (3, (120, 300), Geometry(120, 150, 480, 270)),   # left edge: the top stays
            (1, (380, 100), Geometry(120, 100, 480, 320)),   # top edge: left and right stay
            (0, (160, 140), Geometry(160, 140, 440, 280)),   # top-left corner, inwards
        ]
        for handle, (x, y), expected in steps:
            with self.subTest(handle=handle, to=(x, y)):
                self.s.drag(*handle_centres(sel)[handle], x, y, steps=6)
                after = self.check_selection(expected, f"resize-handle{handle}.png")
                self.assertNotEqual(after, before, "the size read-out did not change with the size")
                sel, before = expected, after

    # -- checks ---------------------------------------------------------------------------------

    def check_selection(self, sel: Geometry, shot_name: str) -> frozenset:
        """Check everything a finished selection shows; return its size read-out's pixels."""
        # The toolbar is painted after the release, which a busy machine may not have handled yet.
        toolbar = toolbar_place(sel, HEIGHT)
        wait_until(lambda: find_box(self.s.screenshot_pixels(), [TOOLBAR_BACK, TOOLBAR_FRAME],
                                    [self.tray]) == toolbar, 5)
        shot = self.s.screenshot_pixels(shot_name)
        self.assertEqual(find_outline(shot), sel, f"outline; see {shot_name}")
        for i, box in enumerate(handle_boxes(sel)):
            inside = Geometry(max(0, box.x), max(0, box.y),
                              min(WIDTH, box.x + box.width) - max(0, box.x),
                              min(HEIGHT, box.y + box.height) - max(0, box.y))
            self.assertEqual(count_colour(shot, inside, SELECTION), inside.width * inside.height,
                             f"handle {i} is not a full square at {box}; see {shot_name}")
        frame = outline_boxes(sel) + handle_boxes(sel)
        for name, label in (("size", SIZE_LABEL), ("colour", INFO_LABEL)):
            self.assertGreaterEqual(count_colour(shot, label_box(sel, label), SELECTION, frame), 10,
                                    f"no {name} read-out at {label_box(sel, label)}; see {shot_name}")
        self.assertEqual(find_box(shot, [TOOLBAR_BACK, TOOLBAR_FRAME], [self.tray]), toolbar,
                         f"toolbar; see {shot_name}")
        allowed = frame + [label_box(sel, SIZE_LABEL), label_box(sel, INFO_LABEL), toolbar, self.tray]
        count, first = unexplained(shot, self.frozen, allowed)
        self.assertEqual(count, 0, f"{count} pixels painted where nothing belongs, first at {first}; "
                                   f"see {shot_name}")
        return label_mask(shot, sel)

    def shows_only_the_frozen_screen(self, shot_name: str = "") -> bool:
        shot: Image = self.s.screenshot_pixels(shot_name or None)
        return unexplained(shot, self.frozen, [self.tray])[0] == 0


if __name__ == "__main__":
    unittest.main(verbosity=2)
