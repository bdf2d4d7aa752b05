"""Figures, not a test: is the frame around the watched area on the screen all the time the
auto-cut runs, and is it in no picture?

Starts Pelvanto.exe under Wine on a 1920x1080 virtual screen, marks an 800x500 area, sets the
interval to 1 s and lets it cut CUTS times (100 unless told). Meanwhile frame_watch
(benchmarks/frame_watch.c, a native X client compiled here with cc) takes 50 screenshots a
second of the frame's four edges and counts those in which the frame is not whole: the frame
blinks if it ever leaves the screen for a cut. Every picture is read from the clipboard and its
pixels of the frame's colour are counted. Prints the counts.

    python3 benchmarks/wine/bench_frame.py [--cuts 100] [--rate 50] [--build DIR]

--build DIR runs another build of the program (its build directory), for a before figure;
--frame-margin 0 looks for the frame where builds before this one drew it, just outside the area.
"""

from __future__ import annotations

import argparse
import re
import subprocess
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_drag import other_build  # noqa: E402
from bench_references import native_tool  # noqa: E402
from harness import Geometry, Session  # noqa: E402
from scenarios import (COPY_AND_EXIT, OVERLAY, SELECTION, ClipboardWatch, margin_of,  # noqa: E402
                       press_toolbar_button, select, set_interval, start_capture, start_program)

SEL = Geometry(400, 300, 800, 500)
MAX_MARGIN = 29
THICKNESS = 2  # at 96 dpi


def frame_edges(sel: Geometry, t: int, margin: int = MAX_MARGIN) -> list[Geometry]:
    """Top, bottom, left, right: just outside the largest cut of the selection."""
    w, h = sel.width + margin, sel.height + margin
    return [Geometry(sel.x - t, sel.y - t, w + 2 * t, t), Geometry(sel.x - t, sel.y + h, w + 2 * t, t),
            Geometry(sel.x - t, sel.y, t, h), Geometry(sel.x + w, sel.y, t, h)]


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cuts", type=int, default=100)
    parser.add_argument("--rate", type=float, default=50)
    parser.add_argument("--build", type=Path, default=None, help="another build directory")
    parser.add_argument("--frame-margin", type=int, default=MAX_MARGIN,
                        help="how far past the area's right and bottom edges the frame stands")
    args = parser.parse_args(argv)
    watch_tool = native_tool("frame_watch", "X11")
    colour = "%02x%02x%02x" % SELECTION
    with Session(1920, 1080, name="bench-frame") as s, ClipboardWatch(s) as clip:
        s.show_pattern("coords")
        with other_build(args.build):
            _, main_window = start_program(s)
        set_interval(s, main_window, "1")
        start_capture(s, main_window)
        select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
        press_toolbar_button(s, SEL, COPY_AND_EXIT)
        s.wait_window_gone(OVERLAY)
        if clip.wait_picture(5) is None:
            print("no first picture")
            return 1
        time.sleep(0.3)
        rects = [f"{e.x},{e.y},{e.width},{e.height}" for e in frame_edges(SEL, THICKNESS, args.frame_margin)]
        watch = subprocess.Popen([str(watch_tool), colour, str(args.rate), str(args.cuts), *rects],
                                 env=s.env, stdout=subprocess.PIPE, text=True)
        started = time.monotonic()
        pictures = frame_pixels = unread = 0
        margins: list[int] = []
        while time.monotonic() - started < args.cuts:
            got = clip.wait_picture(max(0.1, args.cuts - (time.monotonic() - started)))
            if got is None:
                break
            pictures += 1
            margins.append(margin_of(got[1], SEL))
            picture = s.clipboard_bmp()
            if picture is None:
                unread += 1
                continue
            frame_pixels += picture.count(SELECTION)
        out, _ = watch.communicate(timeout=60)
    shots = re.search(r"shots (\d+) without (\d+)", out)
    print(f"== the frame around a {SEL.width}x{SEL.height} area, 1 s interval, screen 1920x1080 (Wine 8, Xvfb)")
    print(f"   cuts in {args.cuts} s: {pictures} (margins {min(margins, default=-1)} to {max(margins, default=-1)}); "
          f"pictures not readable: {unread}")
    print(f"   frame pixels in the pictures: {frame_pixels}")
    if shots:
        print(f"   screenshots of the frame at {args.rate:g} a second: {shots[1]}, without the whole frame: {shots[2]}")
    for line in out.splitlines():
        if line.startswith(("without at", "late")):
            print(f"      {line}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
