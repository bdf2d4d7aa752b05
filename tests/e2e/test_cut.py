"""The cut, as a user meets it under Wine: the pictures on the clipboard and their pace.

"复制退出" sends the overlay to the tray; from then on the selected area of the live screen
(not the frozen picture) arrives on the clipboard at the chosen interval, each picture a random
0 to 29 px larger to the right and to the bottom. Another program holding the clipboard costs
a cut and nothing else. Interval 0 stops the cuts and a positive one resumes them; "切图结束"
ends them. On a fresh overlay "撤销" clears the selection and "退出截屏" closes the overlay.
"""

from __future__ import annotations

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Image, Session, process_alive, wait_until  # noqa: E402
from scenarios import (CAPTURE_BUTTON, COPY_AND_EXIT, EXIT_CAPTURE, MAIN, OVERLAY, UNDO,  # noqa: E402
                       ClipboardWatch, click_control, find_outline, helper_exe, margin_of,
                       press_toolbar_button, restore_main, select, set_interval, start_capture,
                       start_program, unexplained)

WIDTH, HEIGHT = 1024, 768
SEL = Geometry(100, 120, 300, 200)
MAX_MARGIN = 29


def select_sel(s: Session) -> None:
    select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)


def tray_cell(s: Session, index: int) -> Image:
    """The index-th icon cell of Wine's tray window, as it looks now."""
    g = s.tray_window()
    return s.screenshot_pixels().crop(g.x + g.height * index, g.y, g.height, g.height)


class CutToTheClipboard(unittest.TestCase):

    def test_cuts_pace_and_toolbar(self):
        with Session(WIDTH, HEIGHT, name="cut") as s, ClipboardWatch(s) as clip:
            self.s, self.clip = s, clip
            s.show_pattern("coords")
            self.proc, main = start_program(s)
            start_capture(s, main)
            select_sel(s)
            self.assertEqual(find_outline(s.screenshot_pixels()), SEL)
            empty_cell = tray_cell(s, 1)

            # The live screen changes under the frozen picture; the cuts must show the new one.
            live = s.show_pattern("stripes")
            press_toolbar_button(s, SEL, COPY_AND_EXIT)
            s.wait_window_gone(OVERLAY)
            first = clip.wait_picture(5)
            self.assertIsNotNone(first, "no picture within 5 s of 复制退出")
            picture = s.clipboard_bmp()
            self.assertIsNotNone(picture, "the clipboard offers no image/bmp")
            self.assertEqual((picture.width, picture.height), first[1])
            m = margin_of(picture, SEL)
            self.assertTrue(0 <= m <= MAX_MARGIN, f"margin {m}")
            self.assertEqual(picture, live.crop(SEL.x, SEL.y, picture.width, picture.height),
                             "the picture is not the live screen's area")
            self.assertIsNotNone(s.tray_window(), "no tray window while the overlay is in the tray")
            self.assertNotEqual(tray_cell(s, 1), empty_cell, "the overlay added no second tray icon")

            last = self.check_pace(first[0], interval=2.0, pictures=3)
            last = self.lose_one_cut_to_a_busy_clipboard(last)

            # Interval 0 stops the cuts; a positive one resumes them.
            main = restore_main(s)
            set_interval(s, main, "0")
            self.assertIsNone(clip.wait_picture(5), "a picture came with the interval at 0")
            set_interval(s, main, "1")
            resumed = clip.wait_picture(4)
            self.assertIsNotNone(resumed, "no picture within 4 s of setting the interval to 1")
            self.check_pace(resumed[0], interval=1.0, pictures=2)

            # "切图结束" unloads the overlay, and the cuts end with it.
            click_control(s, main, CAPTURE_BUTTON)
            self.assertIsNone(clip.wait_picture(3), "a picture came after 切图结束")

            self.undo_and_exit_on_a_new_overlay(main)
            self.assertTrue(process_alive(self.proc))

    # -- steps ----------------------------------------------------------------------------------

    def check_pace(self, since: float, interval: float, pictures: int) -> float:
        """The next pictures come one per interval (wide tolerance); each has a margin in range.
        Returns the time of the last one."""
        last = since
        for _ in range(pictures):
            got = self.clip.wait_picture(interval + 1.5)
            self.assertIsNotNone(got, f"no picture within {interval + 1.5} s of the previous one "
                                      f"(interval {interval} s)")
            when, picture = got
            print(f"cut: {picture.width}x{picture.height} (margin {margin_of(picture, SEL)}), "
                  f"{when - last:.2f} s after the previous picture, interval {interval:g} s", flush=True)
            self.assertGreaterEqual(when - last, interval * 0.6,
                                    f"pictures {when - last:.2f} s apart at interval {interval} s")
            self.assertTrue(0 <= margin_of(picture, SEL) <= MAX_MARGIN)
            last = when
        return last

    def lose_one_cut_to_a_busy_clipboard(self, last: float) -> float:
        """Another program holds the clipboard open for 2.5 s, longer than one interval of 2 s:
        the cut that falls into that time is lost, the program goes on, and the next tick cuts."""
        s, clip = self.s, self.clip
        hold_s = 2.5
        s.start(helper_exe("clipboard_holder.exe"), str(int(hold_s * 1000)))
        log = s.out_dir / "clipboard_holder.log"

        def holder_says(word: str) -> bool:
            return log.is_file() and word in log.read_text(errors="replace").split()

        self.assertTrue(wait_until(lambda: holder_says("open") or holder_says("busy"), 15, 0.02),
                        "the clipboard holder did not start")
        opened = time.monotonic()
        self.assertTrue(holder_says("open"), "the clipboard holder could not open the clipboard")
        # A picture that came while the holder was starting is the last one before the hold.
        if clip.has_picture():
            last = clip.wait_picture(0)[0]
        during = clip.wait_picture(max(0.0, hold_s - (time.monotonic() - opened) - 0.3))
        self.assertIsNone(during, "a picture arrived while another program held the clipboard")
        self.assertTrue(wait_until(lambda: holder_says("closed"), 5, 0.02), "the holder never let go")
        released = time.monotonic()
        after = clip.wait_picture(3.5)
        self.assertIsNotNone(after, "no picture after the clipboard was free again")
        self.assertTrue(process_alive(self.proc), "the program ended after a busy clipboard")
        self.assertGreaterEqual(after[0] - last, 3.0, "no cut was lost although the clipboard was held "
                                                      "over a tick")
        self.assertLess(after[0] - released, 3.5)
        print(f"cut: clipboard held {hold_s} s; pictures {after[0] - last:.2f} s apart around the hold",
              flush=True)
        return after[0]

    def undo_and_exit_on_a_new_overlay(self, main: Geometry) -> None:
        s = self.s
        start_capture(s, main)
        frozen = s.screenshot_pixels()
        tray = s.tray_window(frame=True)
        # "撤销" clears the selection and the overlay stays.
        select_sel(s)
        self.assertEqual(find_outline(s.screenshot_pixels()), SEL)
        press_toolbar_button(s, SEL, UNDO)
        self.assertTrue(wait_until(lambda: unexplained(s.screenshot_pixels(), frozen, [tray])[0] == 0, 5),
                        "撤销 left part of the selection or the toolbar on the screen")
        self.assertTrue(s.find_windows(OVERLAY), "撤销 closed the overlay")
        # "退出截屏" closes it, and cuts nothing.
        select_sel(s)
        press_toolbar_button(s, SEL, EXIT_CAPTURE)
        s.wait_window_gone(OVERLAY)
        self.assertEqual(s.find_windows(MAIN), [], "the main window came back with 退出截屏")
        self.assertIsNone(self.clip.wait_picture(2.5), "退出截屏 put a picture on the clipboard")


if __name__ == "__main__":
    unittest.main(verbosity=2)
