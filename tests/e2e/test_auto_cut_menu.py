"""Seeing and steering the auto-cut from the tray, as a user meets it under Wine.

A right click on the main window's icon in Wine's tray opens the menu. "暂停切图" stops the
pictures for three intervals and dashes the frame, "继续切图" brings them back, "立即切图" gives
one within half a second. "调整选区" shows the overlay with the old selection in place; arrows
move it, Enter confirms, and the next picture is of the new area; a second adjustment ended
with Esc leaves the area as it was. A 2 px frame stands just outside the largest picture a cut
can take (the selection's top and left edges, 29 px past its right and bottom ones), and no
picture ever holds a pixel of it: at 96 dpi, at 144 dpi (a 3 px frame), and on the second of
two monitors.
"""

from __future__ import annotations

import re
import shutil
import sys
import time
import unittest
from pathlib import Path
from typing import Optional

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import REPO, Geometry, Image, Session, process_alive, wait_until  # noqa: E402
from scenarios import (COPY_AND_EXIT, OVERLAY, SELECTION, ClipboardWatch, colour_xs,  # noqa: E402
                       find_outline, margin_of, select, start_capture, start_program)

SEL = Geometry(100, 120, 300, 200)
INTERVAL = 2.0  # the interval box's first value
MAX_MARGIN = 29
WHITE = (255, 255, 255)

# The menu's items by group (separators between groups), as the program lists them.
GROUPS = [["显示主窗口"], ["立即切图", "暂停切图", "调整选区"], ["跟随窗口", "显示选区边框"], ["切图结束", "关闭退出"]]


def frame_edges(sel: Geometry, t: int) -> list[Geometry]:
    """Top, bottom, left and right edge of a frame t px thick just outside the largest cut of
    the selection."""
    w, h = sel.width + MAX_MARGIN, sel.height + MAX_MARGIN
    return [Geometry(sel.x - t, sel.y - t, w + 2 * t, t),
            Geometry(sel.x - t, sel.y + h, w + 2 * t, t),
            Geometry(sel.x - t, sel.y, t, h),
            Geometry(sel.x + w, sel.y, t, h)]


def frame_pixels(image: Image, sel: Geometry, t: int, rgb=SELECTION) -> tuple[int, int]:
    """(pixels of the colour on the frame's edges, pixels of the edges on the screen): an edge
    past the screen's side is clipped there, as the program clips it."""
    found = total = 0
    for e in frame_edges(sel, t):
        left, right = max(0, e.x), min(image.width, e.x + e.width)
        for y in range(max(0, e.y), min(image.height, e.y + e.height)):
            found += len(colour_xs(image, y, rgb, left, right))
            total += max(0, right - left)
    return found, total


def mapped_windows(s: Session) -> dict[int, Geometry]:
    """The root's viewable children by id, with their geometry (popup menus are among them)."""
    out = s.run(["xwininfo", "-root", "-children"], check=False)
    ids = [int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)]
    found = {}
    for wid in ids:
        g = s.window_geometry(wid)
        if g is not None and g.width > 1 and g.height > 1:
            found[wid] = g
    return found


class Menu:
    """The icons' menu on the screen: where each item's middle is."""

    def __init__(self, s: Session, box: Geometry):
        self.s, self.box = s, box
        shot = s.screenshot_pixels(region=box)
        self.image = shot
        # Separators are the rows (inside the border) that one colour other than the menu's
        # background fills almost from side to side.
        back = shot.pixel(box.width // 2, 4)
        inner = range(6, box.width - 6)
        seps: list[int] = []
        for y in range(3, box.height - 3):
            row = [shot.pixel(x, y) for x in inner]
            first = row[0]
            if first != back and row.count(first) > 0.9 * len(row):
                if not seps or y > seps[-1] + 1:
                    seps.append(y)
        if len(seps) != len(GROUPS) - 1:
            raise AssertionError(f"the menu at {box} shows {len(seps)} separators, not {len(GROUPS) - 1}")
        bounds = [2, *seps, box.height - 2]
        self.items: dict[str, tuple[int, int]] = {}
        for g, names in enumerate(GROUPS):
            top = bounds[g] + (3 if g else 0)
            bottom = bounds[g + 1] - (1 if g + 1 < len(GROUPS) else 0)
            step = (bottom - top) / len(names)
            for i, name in enumerate(names):
                self.items[name] = (box.x + box.width // 2, box.y + round(top + (i + 0.5) * step))

    def pick(self, name: str) -> None:
        # One item is "暂停切图" or "继续切图", by the state.
        self.s.click(*self.items["暂停切图" if name == "继续切图" else name])


def open_menu(s: Session, icon: int = 0) -> Menu:
    """Right-click an icon in Wine's tray and return the menu that opens."""
    before = set(mapped_windows(s))
    s.click(*s.tray_icon_centre(icon), button=3)

    def menu_window() -> Optional[Geometry]:
        new = [g for wid, g in mapped_windows(s).items() if wid not in before]
        menus = [g for g in new if 60 <= g.width <= 400 and 100 <= g.height <= 400]
        return menus[0] if menus else None

    box = wait_until(menu_window, 5, 0.05)
    if box is None:
        raise AssertionError("no menu opened on a right click of the tray icon")
    time.sleep(0.2)  # drawn
    return Menu(s, box)


def choose(s: Session, item: str, icon: int = 0) -> float:
    """Pick an item from the icon's menu; returns when the click on it began (time.monotonic)."""
    menu = open_menu(s, icon)
    clicked = time.monotonic()
    menu.pick(item)
    return clicked


class SteerTheAutoCut(unittest.TestCase):

    def test_menu_frame_and_adjusting(self):
        with Session(1024, 768, name="auto-cut-menu") as s, ClipboardWatch(s) as clip:
            self.s, self.clip = s, clip
            s.show_pattern("coords")
            self.proc, main = start_program(s)
            start_capture(s, main)
            select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
            self.live = s.show_pattern("stripes")
            s.click(SEL.x + SEL.width - 75 + 37, SEL.y + SEL.height + 4 + 13)  # "复制退出"
            s.wait_window_gone(OVERLAY)
            self.next_picture(SEL, 5, "the first picture")

            # The frame between cuts, at the selection's edges; the picture for the README, over
            # a calmer screen than the stripes.
            self.live = s.show_pattern("coords")
            self.next_picture(SEL, INTERVAL + 1.5, "no picture of the changed screen")
            shot = self.frame_shot(SEL, 2, "frame.png")
            docs = REPO / "docs" / "screenshot-frame.png"
            s.save_crop(shot, Geometry(SEL.x - 45, SEL.y - 40, SEL.width + MAX_MARGIN + 90,
                                       SEL.height + MAX_MARGIN + 80), docs)

            # Paused: no picture for three intervals, and the frame is dashed.
            choose(s, "暂停切图")
            # A cut of the pace may have landed just before the click.
            time.sleep(0.3)
            while clip.has_picture():
                clip.wait_picture(0)
            dashed = wait_until(lambda: self.dashed(s.screenshot_pixels()), 3)
            self.assertTrue(dashed, "the frame is not dashed while paused")
            self.assertIsNone(clip.wait_picture(3 * INTERVAL + 0.5), "a picture came while paused")

            # Resumed: pictures again at the pace.
            choose(s, "继续切图")
            self.next_picture(SEL, INTERVAL + 1.5, "no picture after 继续切图")
            last = self.next_picture(SEL, INTERVAL + 1.5, "no second picture after 继续切图")

            # One cut now, well before the next tick would bring one. On a busy machine the menu
            # can take longer than an interval to open: a picture of the pace that came meanwhile
            # is the last one.
            menu = open_menu(s)
            while clip.has_picture():
                last = self.next_picture(SEL, 0, "the pace's picture")
            clicked = time.monotonic()
            menu.pick("立即切图")
            when = self.next_picture(SEL, 0.5, "no picture within 0.5 s of 立即切图")
            print(f"auto-cut-menu: 立即切图 landed {when - clicked:.3f} s after the click", flush=True)
            self.assertLess(when - last, INTERVAL - 0.2, "the picture was the pace's, not 立即切图's")

            # Adjusting: the old selection is in place; moved with arrows and confirmed.
            moved = Geometry(SEL.x + 10, SEL.y + 1, SEL.width, SEL.height)
            self.adjust(SEL, ["shift+Right", "Down"], moved, "Return")
            self.next_picture(moved, INTERVAL + 1.5, "no picture of the adjusted area")
            self.frame_shot(moved, 2, "frame-moved.png")
            # A second adjustment, ended with Esc before any change: the area stays.
            self.adjust(moved, [], moved, "Escape")
            self.next_picture(moved, INTERVAL + 1.5, "no picture after an adjustment was cancelled")
            self.assertTrue(process_alive(self.proc))

    def test_no_frame_pixel_at_144_dpi_and_on_a_second_monitor(self):
        cases = [("144 dpi", dict(width=1024, height=768, dpi=144), Geometry(300, 200, 240, 160), 3),
                 ("two monitors", dict(monitors=[(0, 0, 800, 600, True), (800, 0, 1024, 768)]),
                  Geometry(1000, 300, 300, 200), 2)]
        for name, session, sel, thickness in cases:
            with self.subTest(name), Session(name="auto-cut-frame", **session) as s, ClipboardWatch(s) as clip:
                self.s, self.clip = s, clip
                s.show_pattern("coords")
                _, main = start_program(s)
                start_capture(s, main)
                select(s, sel.x, sel.y, sel.x + sel.width, sel.y + sel.height)
                self.live = s.show_pattern("stripes")
                s.key("Return")
                s.wait_window_gone(OVERLAY)
                for _ in range(3):
                    self.next_picture(sel, 5, f"no picture ({name})")
                self.frame_shot(sel, thickness, f"frame-{thickness}px.png")

    # -- steps ----------------------------------------------------------------------------------

    def next_picture(self, sel: Geometry, timeout: float, message: str) -> float:
        """The next picture: the live screen at the selection (so without a frame pixel)."""
        got = self.clip.wait_picture(timeout)
        self.assertIsNotNone(got, message)
        picture = self.s.clipboard_bmp()
        self.assertIsNotNone(picture, "the clipboard offers no image/bmp")
        m = margin_of(picture, sel)
        self.assertTrue(0 <= m <= MAX_MARGIN, f"margin {m}")
        x, y = sel.x, sel.y
        if self.s.monitors:
            expected = self.live.crop(x, y, picture.width, picture.height)
        else:
            expected = self.live.crop(x, y, min(picture.width, self.live.width - x),
                                      min(picture.height, self.live.height - y))
        differing, first = picture.diff(expected) if (picture.width, picture.height) == \
            (expected.width, expected.height) else (-1, None)
        self.assertEqual(differing, 0, f"the picture of {sel} is not the live screen there (first at {first})")
        self.assertEqual(picture.count(SELECTION), 0, "a frame pixel in the picture")
        return got[0]

    def frame_shot(self, sel: Geometry, thickness: int, name: str) -> Image:
        """A screenshot that shows the whole frame (right after an adjustment it may not yet)."""
        def shot():
            image = self.s.screenshot_pixels()
            found, total = frame_pixels(image, sel, thickness)
            return image if found == total else None
        image = wait_until(shot, 6, 0.2)
        self.assertIsNotNone(image, f"no {thickness} px frame around {sel} on the screen")
        outside = frame_pixels(image, Geometry(sel.x - 1, sel.y - 1, sel.width + 2, sel.height + 2), thickness)
        self.assertLess(outside[0], outside[1], f"the frame is thicker than {thickness} px")
        self.s.save_crop(image, Geometry(0, 0, image.width, image.height), self.s.out_dir / name)
        return image

    def dashed(self, image: Image) -> bool:
        blue, total = frame_pixels(image, SEL, 2)
        white, _ = frame_pixels(image, SEL, 2, WHITE)
        return 0 < blue < total and blue + white == total

    def adjust(self, sel: Geometry, keys: list[str], expected: Geometry, ending: str) -> None:
        s = self.s
        choose(s, "调整选区")
        s.wait_window(OVERLAY, timeout=10)
        shown = wait_until(lambda: find_outline(s.screenshot_pixels()) == sel, 5)
        self.assertTrue(shown, f"the overlay does not show the old selection {sel}")
        # No cut while adjusting: a picture still unread came before, while the menu opened.
        while self.clip.has_picture():
            self.clip.wait_picture(0)
        s.click(*sel.centre)  # the keyboard's focus; a click inside changes nothing
        if keys:
            s.key(*keys)
            moved = wait_until(lambda: find_outline(s.screenshot_pixels()) == expected, 5)
            self.assertTrue(moved, f"the selection did not move to {expected}")
        s.key(ending)
        s.wait_window_gone(OVERLAY)


if __name__ == "__main__":
    unittest.main(verbosity=2)
