"""Snapping to windows on the frozen screen, as a user meets it under Wine.

The helper snap_windows.exe opens two overlapping windows of known size, the upper one holding
a striped child control, and prints their rectangles as Wine reports them. On the overlay: a
drag still draws a free selection; with no selection, hovering shows a dashed outline with its
size read-out at each window's rectangle (the upper one where they overlap) and at the control;
Tab steps outwards to the window and the monitor, Shift+Tab back; a click selects the control
exactly, with handles and toolbar; Enter puts the live pixels of the control on the clipboard.
"""

from __future__ import annotations

import os
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import REPO, Geometry, Image, Session, wait_until  # noqa: E402
from scenarios import (SELECTION, SIZE_LABEL, TOOLBAR_BACK, TOOLBAR_FRAME, ClipboardWatch,  # noqa: E402
                       count_colour, find_box, find_outline, helper_exe, label_box, label_mask,
                       margin_of, outline_boxes, select, start_capture, start_program,
                       toolbar_place, unexplained)

WIDTH, HEIGHT = 1024, 768
MAX_MARGIN = 29
SCREEN = Geometry(0, 0, WIDTH, HEIGHT)
# PELVANTO_UPDATE_DOCS=1 renews the README's picture of a hovered window.
DOCS = REPO / "docs" if os.environ.get("PELVANTO_UPDATE_DOCS") == "1" else None


def stripe_colour(stripe: int) -> tuple[int, int, int]:
    """The control's stripes, as snap_windows.exe paints them (3 px wide)."""
    i = stripe % 7
    return 40 + i * 30, 230 - i * 25, (i * 97) % 256


def open_windows(s: Session) -> dict[str, Geometry]:
    """Start snap_windows.exe; its windows' rectangles by name, as Wine reports them."""
    s.start(helper_exe("snap_windows.exe"))
    log = s.out_dir / "snap_windows.log"
    if not wait_until(lambda: log.is_file() and "ready" in log.read_text(), 30):
        raise AssertionError("snap_windows.exe did not open its windows")
    rects = {}
    for line in log.read_text().splitlines():
        words = line.split()
        if len(words) == 5:
            left, top, right, bottom = map(int, words[1:])
            rects[words[0]] = Geometry(left, top, right - left, bottom - top)
    return rects


def edge_share(shot: Image, box: Geometry) -> float:
    """The share of the pixels on the one-pixel border inside box that have the selection's colour."""
    edges = outline_boxes(box)
    on = sum(count_colour(shot, edge, SELECTION) for edge in edges)
    return on / sum(edge.width * edge.height for edge in edges)


class SnappingOnTheFrozenScreen(unittest.TestCase):

    def test_hover_tab_click_and_cut(self):
        with Session(WIDTH, HEIGHT, name="snapping") as s, ClipboardWatch(s) as clip:
            self.s = s
            s.show_pattern("coords")
            rects = open_windows(s)
            lower, upper, control = rects["lower"], rects["upper"], rects["control"]
            self.frozen = s.screenshot_pixels("before.png")
            _, main = start_program(s, snapping=True)
            start_capture(s, main)
            self.tray = wait_until(lambda: s.tray_window(frame=True), 10)

            # A drag draws a free selection over the windows, as it always has; Esc clears it.
            select(s, 150, 150, 600, 450)
            self.assertEqual(find_outline(s.screenshot_pixels("drag.png")), Geometry(150, 150, 450, 300))
            s.key("Escape")

            # Hover: (where the pointer is, what is highlighted).
            hovered = {}
            for name, point, expected in [("lower", (400, 300), lower),
                                          ("upper over lower", (560, 380), upper),
                                          ("control", (650, 470), control),
                                          ("desktop", (100, 700), SCREEN)]:
                with self.subTest(hover=name):
                    s.move(*point)
                    hovered[name] = self.check_highlight(expected, f"hover-{name.replace(' ', '-')}.png")
            if DOCS:
                s.move(560, 380)
                self.check_highlight(upper, "docs.png")
                s.save_crop(s.screenshot_pixels(), Geometry(290, 220, 680, 480), DOCS / "screenshot-snapping.png")

            # Tab steps outwards from the control to its window and the monitor; Shift+Tab back.
            s.move(650, 470)
            for i, (keys, expected) in enumerate([(["Tab"], upper), (["Tab"], SCREEN), (["Tab"], SCREEN),
                                                  (["shift+Tab"], upper), (["shift+Tab"], control)]):
                with self.subTest(keys=keys, step=i):
                    s.key(*keys)
                    self.check_highlight(expected, f"tab-{i}.png")

            # A click selects the control exactly, as if it had been drawn.
            s.click(650, 470)
            shot = s.screenshot_pixels("clicked.png")
            self.assertEqual(find_outline(shot), control, "the click did not select the control")
            self.assertEqual(find_box(shot, [TOOLBAR_BACK, TOOLBAR_FRAME], [self.tray]),
                             toolbar_place(control, HEIGHT), "no toolbar beside the clicked selection")
            self.assertEqual(label_mask(shot, control), hovered["control"],
                             "the selection's size read-out differs from the highlight's")

            # Enter: the first picture is the control's live pixels.
            s.key("Return")
            s.wait_window_gone(r"^Pelvanto$")
            self.assertIsNotNone(clip.wait_picture(5), "no picture within 5 s of Enter")
            picture = s.clipboard_bmp()
            self.assertIsNotNone(picture, "the clipboard offers no image/bmp")
            self.assertTrue(0 <= margin_of(picture, control) <= MAX_MARGIN)
            self.assertEqual([picture.pixel(x, 0) for x in (0, 3, 6)], [stripe_colour(i) for i in range(3)],
                             "the picture does not start at the control's first stripe")
            after = s.screenshot_pixels("after.png")
            # On the live screen the watched area's frame stands 2 px outside it, within the
            # margin; the picture holds what is behind the frame.
            frame = [Geometry(control.width, 0, 2, control.height + 2),
                     Geometry(0, control.height, control.width + 2, 2)]
            differing, first = picture.diff(after.crop(control.x, control.y, picture.width, picture.height),
                                            ignore=frame)
            self.assertEqual(differing, 0, f"the picture is not the live screen's area; first difference at {first}")
            self.assertEqual(after.crop(control.x, control.y, control.width, control.height),
                             self.frozen.crop(control.x, control.y, control.width, control.height),
                             "the control changed on the screen during the test")

    def check_highlight(self, box: Geometry, shot_name: str) -> frozenset:
        """The highlight shows at box, dashed, with its size read-out, and nothing else is
        painted; return the read-out's pixels."""
        shown = wait_until(lambda: 0.3 <= edge_share(self.s.screenshot_pixels(shot_name), box) < 0.9, 5)
        shot = self.s.screenshot_pixels(shot_name)
        self.assertTrue(shown, f"no dashed outline at {box} ({edge_share(shot, box):.2f} of its border); "
                               f"see {shot_name}")
        label = label_box(box, SIZE_LABEL)
        # Wine's tray window stays above the overlay, over the monitor's read-out.
        if box != SCREEN:
            self.assertGreaterEqual(count_colour(shot, label, SELECTION, outline_boxes(box)), 10,
                                    f"no size read-out at {label}; see {shot_name}")
        count, first = unexplained(shot, self.frozen, outline_boxes(box) + [label, self.tray])
        self.assertEqual(count, 0, f"{count} pixels painted where nothing belongs, first at {first}; "
                                   f"see {shot_name}")
        return label_mask(shot, box)


if __name__ == "__main__":
    unittest.main(verbosity=2)
