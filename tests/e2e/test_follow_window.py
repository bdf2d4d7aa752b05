"""Following the window an area was taken from, as a user meets it under Wine.

follow_window.exe opens a borderless window painted with a pattern whose every pixel names its
place in the window, and moves, resizes, minimises and closes it on command. A snapping click
on it and Enter start the auto-cut (every second). Each picture is the window's pattern,
pixel-exact, wherever the window went: moved, and resized larger; the frame stands around the
window's new place. While the window is minimised no picture comes and the tip says why; back,
the pictures come again by themselves. Once it has closed no picture comes, and the clipboard
still holds the last one. Under Wine the system reports no move of another program's window,
so the frame catches up at the pace's next tick: the time from a move to the frame at the new
place is printed.
"""

from __future__ import annotations

import os
import sys
import time
import unittest
from pathlib import Path
from typing import Optional

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import REPO, Geometry, Image, Session, wait_until, write_bmp  # noqa: E402
from scenarios import ClipboardWatch, helper_exe, set_interval, start_capture, start_program  # noqa: E402
from test_auto_cut_menu import frame_pixels  # noqa: E402

WIDTH, HEIGHT = 1024, 768
MAX_MARGIN = 29
# PELVANTO_UPDATE_DOCS=1 renews the README's picture of a followed window.
DOCS = REPO / "docs" if os.environ.get("PELVANTO_UPDATE_DOCS") == "1" else None


def pattern_at(x: int, y: int) -> tuple[int, int, int]:
    """The colour follow_window.exe paints at (x, y) of its window."""
    return x & 255, y & 255, 40 + 60 * ((x >> 8) & 1) + 120 * ((y >> 8) & 1)


def window_pattern(w: int, h: int) -> Image:
    return Image(w, h, b"".join(bytes(c for x in range(w) for c in pattern_at(x, y)) for y in range(h)))


class FollowedWindow:
    """follow_window.exe and its command file."""

    def __init__(self, s: Session):
        self.s = s
        self.commands = s.out_dir / "follow_commands.txt"
        self.commands.write_text("")
        self.log = s.out_dir / "follow_window.log"
        self.sent = 0
        # Wine maps the whole Linux file system to drive Z:.
        s.start(helper_exe("follow_window.exe"), "Z:" + str(self.commands).replace("/", "\\"))
        self.rect = self.wait_report(0)

    def wait_report(self, n: int) -> Geometry:
        def report() -> Optional[Geometry]:
            if not self.log.is_file():
                return None
            for line in self.log.read_text().splitlines():
                words = line.split()
                if words[:2] == ["at", str(n)]:
                    left, top, right, bottom = map(int, words[2:])
                    return Geometry(left, top, right - left, bottom - top)
                if words[:2] == ["closed", str(n)]:
                    return Geometry(0, 0, 0, 0)
            return None
        rect = wait_until(report, 20, 0.02)
        if rect is None:
            raise AssertionError(f"follow_window.exe did not report after command {n}")
        return rect

    def choose(self) -> None:
        """In the capture overlay: a snapping click on the window, then Enter."""
        x, y = self.rect.centre
        self.s.move(x - 5, y - 5)
        time.sleep(0.3)
        self.s.move(x, y)
        time.sleep(0.5)
        self.s.click(x, y)
        time.sleep(0.3)
        self.s.key("Return")
        self.s.wait_window_gone(r"^Pelvanto$")

    def send(self, command: str) -> None:
        with self.commands.open("a") as f:
            f.write(command + "\n")
        self.sent += 1

    def do(self, command: str) -> Geometry:
        self.send(command)
        self.rect = self.wait_report(self.sent)
        return self.rect


class FollowTheWindow(unittest.TestCase):

    def test_pictures_and_frame_follow_the_window(self):
        with Session(WIDTH, HEIGHT, name="follow-window") as s, ClipboardWatch(s) as clip:
            self.s, self.clip = s, clip
            s.env["PELVANTO_TRACE"] = "1"
            s.show_pattern("coords")
            target = FollowedWindow(s)
            self.trace = s.out_dir / "Pelvanto.log"
            _, main = start_program(s, snapping=True)
            set_interval(s, main, "1")
            start_capture(s, main)
            target.choose()
            self.assertIsNotNone(self.wait_trace("跟随“follow target”"), "the window is not followed")
            self.check_picture(target.rect, "first")

            # Moved: the frame goes with it, and the pictures are of the new place.
            figures = []
            for place in [(520, 330), (80, 420), (600, 90)]:
                rect = target.do(f"move {place[0]} {place[1]}")
                moved = time.monotonic()
                seen = wait_until(lambda: self.frame_at(rect), 5, 0.02)
                self.assertTrue(seen, f"the frame did not follow the window to {rect}")
                figures.append(time.monotonic() - moved)
                self.check_picture(rect, f"moved-{place[0]}")
            print("move -> frame at the new place: " + " / ".join(f"{1000 * t:.0f}" for t in
                  sorted(figures)) + " ms (min / median / max; the pace's tick is each 1000 ms)",
                  flush=True)
            if DOCS:
                shot = s.screenshot_pixels("docs.png")
                r = target.rect
                s.save_crop(shot, Geometry(r.x - 40, r.y - 30, r.width + 80, r.height + 60),
                            DOCS / "screenshot-follow.png")

            # Resized: still the whole window.
            rect = target.do("size 400 300")
            self.assertTrue(wait_until(lambda: self.frame_at(rect), 5, 0.02), "the frame did not grow")
            self.check_picture(rect, "resized")

            # A window that stops answering holds nothing up: the pictures come on time.
            target.send("hang 3500")
            time.sleep(0.3)
            self.check_picture(rect, "hung", within=2.0)
            target.wait_report(target.sent)

            # Minimised: no picture, and the tip says why; back, the pictures come by themselves.
            target.do("minimise")
            self.assertIsNotNone(self.wait_trace("窗口已最小化，暂停切图"), "the tip does not say why")
            self.no_picture_for(3.0, "while the window is minimised")
            rect = target.do("restore")
            self.check_picture(rect, "restored")

            # Closed: no picture, and the clipboard keeps the last one.
            last = s.clipboard_bmp()
            target.do("close")
            self.assertIsNotNone(self.wait_trace("跟随的窗口已关闭，暂停切图"), "the tip does not say it closed")
            self.no_picture_for(3.0, "after the window closed")
            self.assertEqual(s.clipboard_bmp(), last, "the clipboard lost the last picture")

    def wait_trace(self, text: str) -> Optional[bool]:
        return wait_until(lambda: self.trace.is_file() and text in self.trace.read_text(errors="replace"),
                          5, 0.05)

    def frame_at(self, rect: Geometry) -> bool:
        found, total = frame_pixels(self.s.screenshot_pixels(), rect, 2)
        return found > 0.9 * total

    def check_picture(self, rect: Geometry, name: str, within: float = 4.0) -> None:
        """The next picture from now holds the window's pattern, pixel-exact, at its size."""
        while self.clip.has_picture():
            self.clip.wait_picture(0)
        self.assertIsNotNone(self.clip.wait_picture(within), f"{name}: no picture within {within} s")
        picture = self.s.clipboard_bmp()
        self.assertIsNotNone(picture, f"{name}: the clipboard offers no image/bmp")
        margin = picture.width - rect.width
        self.assertTrue(0 <= margin <= MAX_MARGIN and picture.height - rect.height == margin,
                        f"{name}: a {picture.width}x{picture.height} picture of a {rect.width}x{rect.height} window")
        count, first = picture.crop(0, 0, rect.width, rect.height).diff(window_pattern(rect.width, rect.height))
        if count:
            write_bmp(self.s.out_dir / f"picture-{name}.bmp", picture)
        self.assertEqual(count, 0, f"{name}: {count} pixels are not the window's, first at {first}")

    def no_picture_for(self, seconds: float, when: str) -> None:
        while self.clip.has_picture():
            self.clip.wait_picture(0)
        self.assertIsNone(self.clip.wait_picture(seconds), f"a picture came {when}")


if __name__ == "__main__":
    unittest.main(verbosity=2)
