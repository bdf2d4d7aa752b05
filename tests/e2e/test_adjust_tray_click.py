"""A right click on a tray icon during an adjustment, as a user meets it under Wine.

After "调整选区" from the icon's menu the overlay covers Wine's tray window, whose icons show in
the frozen picture. A right click on the icon there is meant for the icon: the adjustment stays
on the screen, and Enter (after a click inside the selection, which gives the overlay the
keyboard under openbox) still ends it with the area kept.
"""

from __future__ import annotations

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Session  # noqa: E402
from scenarios import OVERLAY, find_outline, select, start_capture, start_program  # noqa: E402
from test_auto_cut_menu import SEL, choose  # noqa: E402


class RightClickOnTheTrayDuringAnAdjustment(unittest.TestCase):

    def test_the_adjustment_stays(self):
        with Session(1024, 768, name="adjust-tray-click") as s:
            s.show_pattern("coords")
            _, main = start_program(s)
            start_capture(s, main)
            select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
            s.click(SEL.x + SEL.width - 75 + 37, SEL.y + SEL.height + 4 + 13)  # "复制退出"
            s.wait_window_gone(OVERLAY)

            choose(s, "调整选区")
            s.wait_window(OVERLAY, timeout=10)
            time.sleep(1)
            s.click(*s.tray_icon_centre(0), button=3)
            time.sleep(1.5)
            self.assertTrue(s.find_windows(OVERLAY), "a right click on the tray icon cancelled the adjustment")
            self.assertEqual(find_outline(s.screenshot_pixels("after-right-click.png")), SEL,
                             "the adjustment no longer shows the area")
            s.key("Escape")  # a menu the icon may have opened goes; the overlay has no keyboard yet
            s.click(*SEL.centre)
            s.key("Return")
            s.wait_window_gone(OVERLAY)


if __name__ == "__main__":
    unittest.main(verbosity=2)
