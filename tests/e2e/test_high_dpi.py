"""At 144 dpi the program scales its design sizes by 1.5 and still freezes, covers and lets
the user select on the whole screen (a fixed 15 twips per pixel would stop at two thirds)."""

import unittest

from harness import Geometry, Session, wait_until
from scenarios import MAIN, OVERLAY, SELECTION, TOOLBAR_BACK, TOOLBAR_FRAME, count_colour, find_box, select
from scenarios import start_program, wait_for_geometry

CLIENT = (893, 531)                 # 595 x 354 design pixels; MulDiv rounds 892.5 up
CAPTURE_BUTTON = Geometry(12, 24, 126, 45)
HANDLE = 6
TOOLBAR_HEIGHT = 39


class HighDpi(unittest.TestCase):

    def test_design_sizes_scale_and_the_whole_screen_is_frozen(self):
        with Session(1280, 960, name="high-dpi", dpi=144) as s:
            before = s.show_pattern("coords")
            _, main = start_program(s)
            self.assertEqual((main.width, main.height), CLIENT, "the main window is not scaled")

            s.click(main.x + CAPTURE_BUTTON.x + CAPTURE_BUTTON.width // 2, main.y + CAPTURE_BUTTON.y + CAPTURE_BUTTON.height // 2)
            s.wait_window_gone(MAIN)
            overlay = s.wait_window(OVERLAY, timeout=15)
            self.assertEqual(wait_for_geometry(s, overlay), Geometry(0, 0, s.width, s.height))

            # The frozen picture reaches the right and bottom edges.
            s.show_pattern("stripes")
            tray = s.tray_window(frame=True)
            frozen = s.screenshot_pixels("1-overlay.png")
            differing, first = frozen.diff(before, ignore=[tray] if tray else [])
            self.assertEqual(differing, 0, f"the overlay is not the whole frozen screen; first difference at {first}")

            # A selection down to the bottom-right corner: handles and toolbar at 1.5 times
            # their design size; the toolbar goes inside, as there is no room below.
            select(s, 800, 600, s.width - 1, s.height - 1)
            self.assertIsNotNone(wait_until(lambda: find_box(s.screenshot_pixels(), [TOOLBAR_BACK]), 10),
                                 "no toolbar after the drag")
            shot = s.screenshot_pixels("2-selection.png")
            corner = Geometry(800 - HANDLE // 2, 600 - HANDLE // 2, HANDLE, HANDLE)
            self.assertEqual(count_colour(shot, corner, SELECTION), HANDLE * HANDLE, "top-left handle")
            bar = find_box(shot, [TOOLBAR_BACK, TOOLBAR_FRAME])
            self.assertIsNotNone(bar)
            self.assertIn(bar.width, (112, 113), f"toolbar {bar}")
            self.assertEqual(bar.height, TOOLBAR_HEIGHT, f"toolbar {bar}")
            self.assertLessEqual(bar.y + bar.height, s.height - 1 - 6, f"toolbar not inside the selection: {bar}")


if __name__ == "__main__":
    unittest.main()
