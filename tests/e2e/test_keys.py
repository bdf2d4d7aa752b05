"""The keyboard on the frozen screen, as a user meets it under Wine.

A click outside a selection clears it, and then the keys and Enter find nothing to act on: no
handle or toolbar comes back, and no picture reaches the clipboard. Esc clears the selection,
and a second Esc closes the overlay. Arrows move the selection by one pixel (ten with Shift),
Ctrl+arrows carry its right or bottom edge; the outline on the screen follows by exactly as many
pixels. Enter on a selection sends the overlay to the tray, and the first picture on the
clipboard is the live screen's area.
"""

from __future__ import annotations

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Session, wait_until  # noqa: E402
from scenarios import (CAPTURE_BUTTON, OVERLAY, ClipboardWatch, click_control, find_box, find_outline, margin_of,  # noqa: E402
                       restore_main, select, start_capture, start_program, toolbar_place,
                       TOOLBAR_BACK, TOOLBAR_FRAME, unexplained)

WIDTH, HEIGHT = 1024, 768
MAX_MARGIN = 29


class KeysOnTheFrozenScreen(unittest.TestCase):

    def test_escape_arrows_and_enter(self):
        with Session(WIDTH, HEIGHT, name="keys") as s, ClipboardWatch(s) as clip:
            frozen = s.show_pattern("coords")
            _, main = start_program(s)
            start_capture(s, main)
            tray = wait_until(lambda: s.tray_window(frame=True), 10)

            def only_frozen(shot_name: str) -> bool:
                return unexplained(s.screenshot_pixels(shot_name), frozen, [tray])[0] == 0

            # A click outside a selection leaves the overlay empty, and nothing the keys do
            # afterwards shows or selects anything.
            select(s, 100, 100, 400, 300)
            s.click(600, 500)
            self.assertTrue(wait_until(lambda: only_frozen("click-outside.png"), 5),
                            "part of a selection is on the screen after a click outside it")
            s.key(*(["ctrl+shift+Right"] * 12 + ["ctrl+shift+Down"] * 12))
            time.sleep(1)
            self.assertTrue(only_frozen("click-outside-keys.png"),
                            "the keys brought back part of a selection nobody can see")
            s.key("Return")
            time.sleep(3)  # past the first cut, which comes a second after Enter
            self.assertTrue(s.find_windows(OVERLAY), "Enter on an empty overlay sent it away")
            self.assertFalse(clip.has_picture(), "Enter on an empty overlay started the cuts")

            # Esc clears the selection and keeps the overlay; a second Esc closes it.
            select(s, 200, 150, 500, 350)
            self.assertEqual(find_outline(s.screenshot_pixels("esc-0.png")), Geometry(200, 150, 300, 200))
            s.key("Escape")
            self.assertTrue(wait_until(lambda: unexplained(s.screenshot_pixels(), frozen, [tray])[0] == 0, 5),
                            "the selection is still on the screen after Esc")
            self.assertTrue(s.find_windows(OVERLAY), "the first Esc closed the overlay")
            s.key("Escape")
            s.wait_window_gone(OVERLAY)

            # Arrows, on a fresh overlay: (keys, the selection they leave).
            main = restore_main(s)
            click_control(s, main, CAPTURE_BUTTON)  # still reads "切图结束": the overlay closed by itself
            start_capture(s, main)
            select(s, 200, 150, 500, 350)
            steps = [
                (["Right", "Right", "Right"], Geometry(203, 150, 300, 200)),
                (["shift+Down", "Up"], Geometry(203, 159, 300, 200)),
                (["shift+Left"] * 30, Geometry(0, 159, 300, 200)),   # stops at the left edge
                (["ctrl+Right", "ctrl+shift+Down"], Geometry(0, 159, 301, 210)),
                (["ctrl+shift+Left"] * 2, Geometry(0, 159, 281, 210)),
            ]
            for i, (keys, expected) in enumerate(steps):
                with self.subTest(keys=keys):
                    s.key(*keys)
                    shot_name = f"arrows-{i}.png"
                    shown = wait_until(lambda: find_outline(s.screenshot_pixels(shot_name)) == expected, 5)
                    self.assertTrue(shown, f"outline not at {expected}; see {shot_name}")
                    bar = find_box(s.screenshot_pixels(), [TOOLBAR_BACK, TOOLBAR_FRAME], [tray])
                    self.assertEqual(bar, toolbar_place(expected, HEIGHT), "the toolbar did not follow")

            # Enter: to the tray, and the first picture is the live screen at the selection.
            sel = steps[-1][1]
            live = s.show_pattern("stripes")
            s.key("Return")
            s.wait_window_gone(OVERLAY)
            self.assertIsNotNone(clip.wait_picture(5), "no picture within 5 s of Enter")
            picture = s.clipboard_bmp()
            self.assertIsNotNone(picture, "the clipboard offers no image/bmp")
            self.assertTrue(0 <= margin_of(picture, sel) <= MAX_MARGIN)
            self.assertEqual(picture, live.crop(sel.x, sel.y, picture.width, picture.height),
                             "the picture is not the live screen's area")


if __name__ == "__main__":
    unittest.main(verbosity=2)
