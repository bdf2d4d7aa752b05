"""What the overlay and cut scenarios share: the program's windows and controls, driving the
selection and the toolbar, reading the outline, handles and toolbar back from a screenshot,
and watching the clipboard for each new picture.

Geometry at 96 dpi, in pixels. The outline is drawn 1 px inside the selection; handles are
4 x 4 squares centred on the corners and edge midpoints; the toolbar (75 x 26) sits 4 px below
the selection, right-aligned with it, or inside it when there is no room below.
"""

from __future__ import annotations

import math
import subprocess
import time
from pathlib import Path
from typing import Iterable, NamedTuple, Optional, Sequence

from harness import Geometry, Image, Session, pelvanto_exe, wait_until

MAIN = r"^Pelvanto \("   # the main window: "Pelvanto (credit)"
OVERLAY = r"^Pelvanto$"  # the capture overlay

# Main window controls, client coordinates.
CAPTURE_BUTTON = Geometry(8, 16, 84, 30)     # "切图开始" / "切图结束"
COMBO1_EDIT = Geometry(192, 20, 30, 22)  # the text field of the interval list, left of its arrow

SELECTION = (0, 122, 236)       # outline, handles and both read-outs
TOOLBAR_BACK = (222, 238, 255)
TOOLBAR_FRAME = (128, 128, 255)
TOOLBAR_W, TOOLBAR_H = 75, 26
TOOLBAR_GAP = 4
BUTTON_LEFT = (70 / 15, 440 / 15, 800 / 15)  # toolbar-relative; the buttons are 16 x 16
BUTTON_TOP = 5
UNDO, COPY_AND_EXIT, EXIT_CAPTURE = 0, 1, 2
HANDLE = 4
# Size read-out and colour read-out, relative to the selection's top-left corner.
SIZE_LABEL = Geometry(2, 2, 185, 17)
INFO_LABEL = Geometry(2, 21, 175, 17)


# -- the program ------------------------------------------------------------------------------

def click_control(s: Session, window: Geometry, control: Geometry) -> None:
    s.click(window.x + control.x + control.width // 2, window.y + control.y + control.height // 2)


def start_program(s: Session, loupe: bool = False, snapping: bool = False) -> tuple[subprocess.Popen, Geometry]:
    """Start Pelvanto.exe; return its process and the main window's client geometry.

    The loupe and the snapping highlight follow the pointer, so scenarios that compare whole
    screenshots with what they expect run without them (switches only tests use); test_loupe.py
    and the drag benchmark show the loupe, test_snapping.py and bench_windows.py the snapping."""
    for wanted, switch in ((loupe, "PELVANTO_TEST_NO_LOUPE"), (snapping, "PELVANTO_TEST_NO_SNAPPING")):
        if wanted:
            s.env.pop(switch, None)
        else:
            s.env[switch] = "1"
    proc = s.start(pelvanto_exe())
    main = s.wait_window(MAIN, timeout=30)
    return proc, wait_for_geometry(s, main)


def wait_for_geometry(s: Session, wid: int) -> Geometry:
    g = wait_until(lambda: s.window_geometry(wid), 10)
    if g is None:
        raise AssertionError(f"window {wid} never became viewable")
    return g


def start_capture(s: Session, main: Geometry) -> int:
    """Press "切图开始"; return the overlay's window once it covers the screen."""
    click_control(s, main, CAPTURE_BUTTON)
    s.wait_window_gone(MAIN)
    overlay = s.wait_window(OVERLAY, timeout=15)
    if wait_until(lambda: s.window_geometry(overlay) == Geometry(0, 0, s.width, s.height), 10) is None:
        raise AssertionError(f"the overlay does not cover the screen: {s.window_geometry(overlay)}")
    # The main window's icon comes right after the overlay. Wine makes its tray window for it,
    # and openbox gives that window the keyboard: a press on the overlay before it is there could
    # lose the keyboard to it a moment later.
    if wait_until(s.tray_window, 10) is None:
        raise AssertionError("no tray icon while capturing")
    return overlay


def restore_main(s: Session) -> Geometry:
    """Double-click the main window's tray icon (the first one); return its client geometry."""
    s.double_click(*s.tray_icon_centre(0))
    return wait_for_geometry(s, s.wait_window(MAIN, timeout=10))


def set_interval(s: Session, main: Geometry, text: str) -> None:
    """Replace the text of the interval list's field with text, as a user types it."""
    click_control(s, main, COMBO1_EDIT)
    s.key("End", "shift+Home")
    s.type_text(text)


# -- the selection and the toolbar ------------------------------------------------------------

def select(s: Session, x0: int, y0: int, x1: int, y1: int, steps: int = 8) -> None:
    s.drag(x0, y0, x1, y1, steps=steps)


def toolbar_place(sel: Geometry, screen_h: int) -> Geometry:
    """Where the toolbar belongs next to a finished selection."""
    left = max(0, sel.x + sel.width - TOOLBAR_W)
    bottom = sel.y + sel.height
    if bottom + TOOLBAR_GAP + TOOLBAR_H > screen_h:
        return Geometry(left, bottom - TOOLBAR_H - TOOLBAR_GAP, TOOLBAR_W, TOOLBAR_H)
    return Geometry(left, bottom + TOOLBAR_GAP, TOOLBAR_W, TOOLBAR_H)


def button_centre(toolbar: Geometry, index: int) -> tuple[int, int]:
    return round(toolbar.x + BUTTON_LEFT[index] + 8), toolbar.y + BUTTON_TOP + 8


def press_toolbar_button(s: Session, sel: Geometry, index: int) -> None:
    s.click(*button_centre(toolbar_place(sel, s.height), index))


def handle_centres(sel: Geometry) -> list[tuple[int, int]]:
    """Corner and edge-midpoint points the eight handles are centred on, in handle order:
    top-left, top, top-right, left, bottom-left, bottom, bottom-right, right."""
    left, mid_x, right = sel.x, sel.x + sel.width // 2, sel.x + sel.width
    top, mid_y, bottom = sel.y, sel.y + sel.height // 2, sel.y + sel.height
    return [(left, top), (mid_x, top), (right, top), (left, mid_y),
            (left, bottom), (mid_x, bottom), (right, bottom), (right, mid_y)]


def handle_boxes(sel: Geometry) -> list[Geometry]:
    """The device pixels of the eight handles; a midpoint of an odd edge rounds half up."""
    xs = (sel.x, sel.x + sel.width / 2, sel.x + sel.width)
    ys = (sel.y, sel.y + sel.height / 2, sel.y + sel.height)
    order = [(0, 0), (1, 0), (2, 0), (0, 1), (0, 2), (1, 2), (2, 2), (2, 1)]
    return [Geometry(math.floor(xs[i] - HANDLE / 2 + 0.5), math.floor(ys[j] - HANDLE / 2 + 0.5), HANDLE, HANDLE)
            for i, j in order]


def outline_boxes(sel: Geometry) -> list[Geometry]:
    """The four 1-pixel edges of the outline."""
    right, bottom = sel.x + sel.width - 1, sel.y + sel.height - 1
    return [Geometry(sel.x, sel.y, sel.width, 1), Geometry(sel.x, bottom, sel.width, 1),
            Geometry(sel.x, sel.y, 1, sel.height), Geometry(right, sel.y, 1, sel.height)]


def label_box(sel: Geometry, label: Geometry) -> Geometry:
    return Geometry(sel.x + label.x, sel.y + label.y, label.width, label.height)


# -- reading a screenshot ---------------------------------------------------------------------

def colour_xs(image: Image, y: int, rgb: tuple[int, int, int], x0: int = 0, x1: Optional[int] = None) -> list[int]:
    """Columns of row y (from x0 up to x1) whose pixel is exactly rgb."""
    row = image.row(y, x0, x1)
    needle = bytes(rgb)
    found, i = [], row.find(needle)
    while i != -1:
        if i % 3 == 0:
            found.append(x0 + i // 3)
            i = row.find(needle, i + 3)
        else:
            i = row.find(needle, i + 1)
    return found


def longest_run(xs: Sequence[int]) -> int:
    best = run = 0
    for i, x in enumerate(xs):
        run = run + 1 if i and x == xs[i - 1] + 1 else 1
        best = max(best, run)
    return best


def find_outline(image: Image, rgb: tuple[int, int, int] = SELECTION) -> Optional[Geometry]:
    """The selection as its outline shows it, or None when no outline is on the screen.

    The top and bottom edges are the only rows with long runs of the colour (handles are 4 px,
    the read-outs are text); the left and right edges are the only columns that have the colour
    in every row between them, once the rows of the corner handles and of a toolbar inside the
    selection (which covers the right edge) are left out."""
    rows = [y for y in range(image.height) if longest_run(colour_xs(image, y, rgb)) >= 16]
    if len(rows) < 2:
        return None
    top, bottom = rows[0], rows[-1]
    common: Optional[set[int]] = None
    for y in range(top + 3, bottom - 2):
        if any(colour_xs(image, y, toolbar) for toolbar in (TOOLBAR_BACK, TOOLBAR_FRAME)):
            continue
        xs = set(colour_xs(image, y, rgb))
        common = xs if common is None else common & xs
    if not common:
        return None
    left, right = min(common), max(common)
    return Geometry(left, top, right - left + 1, bottom - top + 1)


def count_colour(image: Image, box: Geometry, rgb: tuple[int, int, int], leave_out: Iterable[Geometry] = ()) -> int:
    """Pixels of exactly rgb inside box (clipped to the picture), not counting those in leave_out."""
    leave_out = list(leave_out)
    x0, y0 = max(0, box.x), max(0, box.y)
    x1, y1 = min(image.width, box.x + box.width), min(image.height, box.y + box.height)
    n = 0
    for y in range(y0, y1):
        n += sum(1 for x in colour_xs(image, y, rgb, x0, x1) if not any(b.contains(x, y) for b in leave_out))
    return n


def find_box(image: Image, colours: Sequence[tuple[int, int, int]], leave_out: Iterable[Geometry] = ()) -> Optional[Geometry]:
    """Bounding box of the pixels that have one of the colours, outside the leave_out boxes."""
    leave_out = list(leave_out)
    x0 = y0 = None
    x1 = y1 = -1
    for y in range(image.height):
        xs = [x for rgb in colours for x in colour_xs(image, y, rgb)
              if not any(b.contains(x, y) for b in leave_out)]
        if not xs:
            continue
        y0 = y if y0 is None else y0
        y1 = y
        x0 = min(xs) if x0 is None else min(x0, min(xs))
        x1 = max(x1, max(xs))
    if x0 is None:
        return None
    return Geometry(x0, y0, x1 - x0 + 1, y1 - y0 + 1)


def unexplained(image: Image, expected: Image, allowed: Sequence[Geometry]) -> tuple[int, Optional[tuple[int, int]]]:
    """Pixels that differ from expected outside the allowed boxes: (count, first (x, y)).
    Catches what is painted where nothing belongs, such as the trail of a moved outline."""
    return image.diff(expected, ignore=allowed)


def label_mask(image: Image, sel: Geometry) -> frozenset[tuple[int, int]]:
    """The size read-out's pixels, relative to its own corner: equal masks mean equal text."""
    box = label_box(sel, SIZE_LABEL)
    frame = outline_boxes(sel) + handle_boxes(sel)
    mask = set()
    for y in range(max(0, box.y), min(image.height, box.y + box.height)):
        for x in colour_xs(image, y, SELECTION, max(0, box.x), min(image.width, box.x + box.width)):
            if not any(g.contains(x, y) for g in frame):
                mask.add((x - box.x, y - box.y))
    return frozenset(mask)


# -- the clipboard ----------------------------------------------------------------------------

class Size(NamedTuple):
    width: int
    height: int


class ClipboardWatch:
    """Counts the pictures the program puts on the clipboard, also when two in a row are equal.

    The helper clipboard_watch.exe reports every change of the Windows clipboard with the size
    of the bitmap on it; the X side of the clipboard (what xclip reads) is left alone."""

    def __init__(self, s: Session):
        self.s = s
        self._log = s.out_dir / "clipboard_watch.log"
        self._proc: Optional[subprocess.Popen] = None
        self._used = 0

    def __enter__(self) -> "ClipboardWatch":
        self._proc = self.s.start(helper_exe("clipboard_watch.exe"))
        if wait_until(lambda: "ready" in self._lines(), 20, 0.05) is None:
            raise AssertionError("clipboard_watch.exe did not start")
        self._used = len(self._lines())
        return self

    def __exit__(self, *exc) -> None:
        if self._proc is not None and self._proc.poll() is None:
            self._proc.terminate()

    def _lines(self) -> list[str]:
        if not self._log.is_file():
            return []
        text = self._log.read_text(errors="replace")
        return text[: text.rfind("\n") + 1].splitlines()  # whole lines only

    def _pending(self) -> list[str]:
        return self._lines()[self._used:]

    def has_picture(self) -> bool:
        """Whether a picture came that wait_picture has not returned yet."""
        return any(line.startswith("picture") for line in self._pending())

    def wait_picture(self, timeout: float) -> Optional[tuple[float, Size]]:
        """The next picture's size and the time (time.monotonic) it was seen, or None when none
        comes within timeout s. Changes that leave no picture on the clipboard are skipped."""
        deadline = time.monotonic() + timeout
        while True:
            for line in self._pending():
                self._used += 1
                words = line.split()
                if words[:1] == ["picture"]:
                    return time.monotonic(), Size(int(words[1]), int(words[2]))
            if time.monotonic() >= deadline:
                return None
            time.sleep(0.02)


def margin_of(picture: Image | Size, sel: Geometry) -> int:
    """The cut's random margin, checked to be the same to the right and to the bottom."""
    m = picture.width - sel.width
    if picture.height - sel.height != m:
        raise AssertionError(f"picture {picture.width}x{picture.height} of a {sel.width}x{sel.height} "
                             "selection: the margins to the right and to the bottom differ")
    return m


def helper_exe(name: str) -> Path:
    return pelvanto_exe(f"e2e-helpers/{name}")
