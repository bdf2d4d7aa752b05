"""Marking and cutting on two monitors, as a user with a second screen meets it under Wine.

In two layouts (a taller monitor right of the primary; a smaller one left of it, at negative
Windows coordinates): the frozen picture shows both monitors, black where neither is; a
selection is drawn, moved and resized on the second monitor, its toolbar on that monitor's
edges; the first picture after "复制退出" is the live screen at the selection, a selection
across both monitors included, black where no monitor is.

Everything here is in root coordinates (screenshots, xdotool); the program's own coordinates
are Windows ones, shifted by the session's virtual origin.
"""

from __future__ import annotations

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Image, Session, wait_until  # noqa: E402
from scenarios import (COPY_AND_EXIT, OVERLAY, TOOLBAR_BACK, TOOLBAR_FRAME, TOOLBAR_GAP,  # noqa: E402
                       TOOLBAR_H, TOOLBAR_W, UNDO, ClipboardWatch, button_centre, find_box, find_outline,
                       margin_of, select, start_capture, start_program)

# Per layout: the monitors; a selection drawn on the second monitor, moved by a drag from its
# centre and resized by its bottom-right handle (the toolbar is checked after each step); the
# selection that results; and in the second layout one drawn anew across both monitors. The
# last selection is cut.
LAYOUTS = {
    "taller monitor right of the primary": dict(
        monitors=[(0, 0, 1024, 768, True), (1024, 0, 800, 1000)],
        draw=(1200, 500, 1500, 850),  # its bottom lies below the primary's height
        move=(100, -50),
        resize=(40, 30),
        resized=Geometry(1300, 450, 340, 380)),
    "monitor left of the primary": dict(
        monitors=[(0, 0, 800, 600), (800, 0, 1024, 768, True)],
        draw=(100, 100, 400, 300),
        move=(50, 290),               # to the second monitor's bottom: the toolbar goes inside
        resize=(20, -10),
        resized=Geometry(150, 390, 320, 190),
        across=(600, 400, 1100, 650)),  # over the gap below the second monitor too
}


def blacked_out(image: Image, monitors: list[Geometry]) -> Image:
    """The picture with every pixel that no monitor shows black."""
    rows = []
    for y in range(image.height):
        row = bytearray(image.width * 3)
        for m in monitors:
            if m.y <= y < m.y + m.height:
                row[m.x * 3:(m.x + m.width) * 3] = image.row(y, m.x, m.x + m.width)
        rows.append(bytes(row))
    return Image(image.width, image.height, b"".join(rows))


def toolbar_on(sel: Geometry, monitor: Geometry) -> Geometry:
    """The toolbar's place on the monitor that shows the selection's bottom-right corner."""
    left = max(monitor.x, min(sel.x + sel.width - TOOLBAR_W, monitor.x + monitor.width - TOOLBAR_W))
    bottom = sel.y + sel.height
    top = bottom + TOOLBAR_GAP
    if top + TOOLBAR_H > monitor.y + monitor.height:
        top = bottom - TOOLBAR_H - TOOLBAR_GAP
    return Geometry(left, top, TOOLBAR_W, TOOLBAR_H)


class TwoMonitors(unittest.TestCase):

    def test_mark_and_cut_on_both_monitors(self):
        for name, case in LAYOUTS.items():
            with self.subTest(name), Session(monitors=case["monitors"], name="monitors") as s, \
                    ClipboardWatch(s) as clip:
                self.s = s
                self.monitors = [m.geometry for m in s.monitors]
                self.second = next(m.geometry for m in s.monitors if not m.primary)

                frozen = blacked_out(s.show_pattern("coords"), self.monitors)
                _, main = start_program(s)
                start_capture(s, main)
                # Wine's tray window, with the main window's icon, shows above the overlay; the
                # icon is added once the overlay is up.
                self.tray = wait_until(lambda: s.tray_window(frame=True), 10)
                self.assertIsNotNone(self.tray, "the main window's tray icon never showed")
                shot = s.screenshot_pixels("frozen.png")
                differing, first = shot.diff(frozen, ignore=[self.tray])
                self.assertEqual(differing, 0, f"the frozen picture differs first at {first}")

                sel = self.draw_move_and_resize(case)
                if "across" in case:
                    s.click(*button_centre(self.toolbar_for(sel), UNDO))
                    sel = self.draw(*case["across"], "across")

                live = s.show_pattern("stripes")
                s.click(*button_centre(self.toolbar_for(sel), COPY_AND_EXIT))
                s.wait_window_gone(OVERLAY)
                self.assertIsNotNone(clip.wait_picture(5), "no picture within 5 s of 复制退出")
                picture = s.clipboard_bmp()
                self.assertIsNotNone(picture, "the clipboard offers no image/bmp")
                m = margin_of(picture, sel)
                expected = blacked_out(live, self.monitors).crop(sel.x, sel.y, sel.width + m, sel.height + m)
                differing, first = picture.diff(expected)
                self.assertEqual(differing, 0, f"the cut differs from the live screen first at {first}")

    # -- steps ----------------------------------------------------------------------------------

    def toolbar_for(self, sel: Geometry) -> Geometry:
        corner = (sel.x + sel.width - 1, sel.y + sel.height - 1)
        monitor = next(m for m in self.monitors if m.contains(*corner))
        return toolbar_on(sel, monitor)

    def check(self, sel: Geometry, step: str) -> Geometry:
        # The release's toolbar may reach the screen a little after the release on a busy
        # machine: wait for it before judging the screenshot.
        toolbar = self.toolbar_for(sel)
        shots = []

        def toolbar_shown() -> bool:
            shots.append(self.s.screenshot_pixels(f"{step}.png"))
            return find_box(shots[-1], (TOOLBAR_BACK, TOOLBAR_FRAME), [self.tray]) == toolbar

        wait_until(toolbar_shown, 5)
        shot = shots[-1]
        self.assertEqual(find_outline(shot), sel, f"the selection after {step}")
        self.assertEqual(find_box(shot, (TOOLBAR_BACK, TOOLBAR_FRAME), [self.tray]), toolbar,
                         f"the toolbar after {step}")
        return sel

    def draw(self, x0: int, y0: int, x1: int, y1: int, step: str) -> Geometry:
        select(self.s, x0, y0, x1, y1)
        return self.check(Geometry(x0, y0, x1 - x0, y1 - y0), step)

    def draw_move_and_resize(self, case: dict) -> Geometry:
        x0, y0, x1, y1 = case["draw"]
        self.assertTrue(self.second.contains(x0, y0) and self.second.contains(x1 - 1, y1 - 1))
        sel = self.draw(x0, y0, x1, y1, "draw")

        dx, dy = case["move"]
        cx, cy = sel.centre
        self.s.drag(cx, cy, cx + dx, cy + dy, steps=8)
        sel = self.check(Geometry(sel.x + dx, sel.y + dy, sel.width, sel.height), "move")

        rx, ry = case["resize"]
        corner = (sel.x + sel.width, sel.y + sel.height)
        self.s.drag(*corner, corner[0] + rx, corner[1] + ry, steps=8)
        sel = self.check(Geometry(sel.x, sel.y, sel.width + rx, sel.height + ry), "resize")
        self.assertEqual(sel, case["resized"])
        return sel


if __name__ == "__main__":
    unittest.main()
