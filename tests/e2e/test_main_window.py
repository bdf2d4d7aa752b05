"""The main window and the frozen screen, as a user sees them under Wine.

At two screen sizes: the main window comes up centred with its controls; "切图开始" hides it
into the tray and covers the screen with the picture taken at the start (a later
change of the screen does not show through); once the overlay went to the tray ("复制退出"), a
double click on the tray icon brings the main window back, whose "切图结束" unloads the overlay;
minimising goes to the tray; "关闭退出" ends the program and leaves no icon behind.
"""

from __future__ import annotations

import os
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import REPO, Geometry, Image, Session, pelvanto_exe, process_alive, wait_until  # noqa: E402
from test_auto_cut_menu import frame_edges  # noqa: E402

MAIN = r"^Pelvanto \("   # the main window's title: "Pelvanto (credit)"
OVERLAY = r"^Pelvanto$"  # the overlay's title

# Client-area layout at 96 dpi, in pixels.
CLIENT_SIZE = (595, 354)
CAPTURE_BUTTON = Geometry(8, 16, 84, 30)     # "切图开始" / "切图结束"
COMBO1 = Geometry(192, 20, 49, 22)
EXIT_BUTTON = Geometry(496, 16, 84, 30)   # "关闭退出"
CAPTURE_BUTTON_BACK = (192, 255, 192)
EXIT_BUTTON_BACK = (255, 192, 255)
TOOLBAR_BACK = (222, 238, 255)

# The README's picture of the main window comes from this scenario at 1024 x 768;
# PELVANTO_UPDATE_DOCS=1 renews it.
DOCS = REPO / "docs" if os.environ.get("PELVANTO_UPDATE_DOCS") == "1" else None


def share_of(image: Image, box: Geometry, rgb: tuple[int, int, int]) -> float:
    part = image.crop(box.x, box.y, box.width, box.height)
    return part.count(rgb) / (box.width * box.height)


def copy_exit_button(sel: Geometry) -> tuple[int, int]:
    """Middle of the toolbar's "复制退出": the 75 x 26 toolbar sits 4 px below the selection,
    right-aligned with it; the button is 16 x 16 at (29, 5) in it."""
    return sel.x + sel.width - 75 + 29 + 8, sel.y + sel.height + 4 + 5 + 8


def click_in(s: Session, window: Geometry, control: Geometry) -> None:
    s.click(window.x + control.x + control.width // 2, window.y + control.y + control.height // 2)


class MainWindowAndFrozenScreen(unittest.TestCase):

    def test_at_common_screen_sizes(self):
        exe = pelvanto_exe()
        for size in [(1024, 768), (1920, 1080)]:
            with self.subTest(screen=size):
                self.run_scenario(exe, *size)

    def run_scenario(self, exe: Path, width: int, height: int) -> None:
        with Session(width, height, name="main-window") as s:
            before = s.show_pattern("coords")
            # The loupe and the snapping highlight follow the pointer; this scenario compares the
            # whole frozen screen.
            s.env["PELVANTO_TEST_NO_LOUPE"] = "1"
            s.env["PELVANTO_TEST_NO_SNAPPING"] = "1"
            proc = s.start(exe)

            # The main window: its size, its place at the centre, its two coloured buttons.
            main = s.wait_window(MAIN, timeout=30)
            g = s.window_geometry(main)
            self.assertEqual((g.width, g.height), CLIENT_SIZE)
            frame = s.frame_geometry(main)
            self.assertLessEqual(abs(frame.x + frame.width // 2 - width // 2), 2, f"not centred: {frame}")
            self.assertLessEqual(abs(frame.y + frame.height // 2 - height // 2), 30, f"not centred: {frame}")
            self.assertIsNone(s.tray_window(), "a tray icon before anything was started")
            shot = s.screenshot_pixels("1-main.png")
            client = shot.crop(g.x, g.y, g.width, g.height)
            self.assertGreater(share_of(client, CAPTURE_BUTTON, CAPTURE_BUTTON_BACK), 0.5, "the capture button's back colour")
            self.assertGreater(share_of(client, EXIT_BUTTON, EXIT_BUTTON_BACK), 0.5, "the exit button's back colour")
            if DOCS and width == 1024:
                s.save_crop(shot, frame, DOCS / "screenshot-main.png")

            # Start: the main window goes to the tray and the overlay covers the screen.
            click_in(s, g, CAPTURE_BUTTON)
            s.wait_window_gone(MAIN)
            self.assertIsNotNone(wait_until(s.tray_window, 10), "no tray icon after the start")
            overlay = s.wait_window(OVERLAY, timeout=15)
            self.assertEqual(s.window_geometry(overlay), Geometry(0, 0, width, height))

            # Change the real screen: the overlay must go on showing the picture of the start,
            # without the main window, which left the screen before the copy. The tray window,
            # which appeared just before the copy, is left out.
            after = s.show_pattern("stripes")
            tray = s.tray_window(frame=True)
            frozen = s.screenshot_pixels("2-overlay.png")
            differing, first = frozen.diff(before, ignore=[tray])
            self.assertEqual(differing, 0, f"the overlay is not the frozen screen; first difference at {first}")

            # The overlay covers the tray, so the way back to the main window while it stays
            # loaded is its "复制退出": it goes to the tray, and the live screen shows again.
            sel = Geometry(width // 5, height // 5, width // 3, height // 3)
            s.drag(sel.x, sel.y, sel.x + sel.width, sel.y + sel.height)
            button = copy_exit_button(sel)
            self.assertTrue(s.wait_colour(button[0] - 12, button[1], TOOLBAR_BACK), "no toolbar after the drag")
            s.click(*button)
            s.wait_window_gone(OVERLAY)
            live = s.screenshot_pixels("3-in-tray.png")
            # The frame stands 2 px outside the largest cut of the watched area now.
            differing, first = live.diff(after, ignore=[tray, *frame_edges(sel, 2)])
            self.assertEqual(differing, 0, f"the live screen does not show; first difference at {first}")

            # The main window's icon (the first) brings it back; "切图结束" unloads the overlay,
            # which takes the last icon away.
            s.double_click(*s.tray_icon_centre(0))
            main = s.wait_window(MAIN, timeout=10)
            g = s.window_geometry(main)
            self.assertEqual((g.width, g.height), CLIENT_SIZE)
            self.assertIsNotNone(s.tray_window(), "the overlay's icon went with the main window's")
            click_in(s, g, CAPTURE_BUTTON)
            self.assertTrue(wait_until(lambda: s.tray_window() is None, 10), "the overlay's icon stays after the stop")
            self.assertEqual(s.find_windows(OVERLAY), [])

            # Minimising goes to the tray too, and the icon brings the window back.
            s.minimize(main)
            s.wait_window_gone(MAIN)
            self.assertIsNotNone(wait_until(s.tray_window, 10), "no tray icon after minimising")
            s.double_click(*s.tray_icon_centre(0))
            main = s.wait_window(MAIN, timeout=10)
            g = s.window_geometry(main)

            # "关闭退出" ends the program and leaves no icon behind.
            click_in(s, g, EXIT_BUTTON)
            self.assertTrue(wait_until(lambda: not process_alive(proc), 15), "still running after 关闭退出")
            self.assertTrue(wait_until(lambda: s.tray_window() is None, 10), "tray icon left after the exit")
            self.assertEqual(s.find_windows("^Pelvanto"), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
