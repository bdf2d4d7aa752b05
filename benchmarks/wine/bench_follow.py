"""Figures, not a test: what following a window costs while that window is dragged around.

follow_window.exe (the helper of test_follow_window.py) moves its window in steps of 2 px, 200
moves a run, each shown before the next, as a drag does. Pelvanto follows it (a snapping click,
Enter; interval 0, so no cut adds its own cost), and the CPU time of Pelvanto's process over
the moves is taken from /proc, per move. The same runs with "跟随窗口" turned off from the
icons' menu are the reference: the program idle beside a moving window. The two are
interleaved RUNS times. Then the time from a move to the frame at the window's new place, as
seen on the screen, at an interval of 1 s.

    python3 benchmarks/wine/bench_follow.py [--runs 5]

Under Wine the system reports no move of another program's window, so following costs one
reading of the window at each tick of the pace, not one per move; on Windows the hook's
report of each move adds one reading of the window (no message to it) and, when the area
moved, the frame's four edges placed anew.
"""

from __future__ import annotations

import argparse
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_references import RUNS, cpu_seconds, interleave, print_comparison, spread, wait_until_idle  # noqa: E402
from harness import Session, wait_until  # noqa: E402
from scenarios import ClipboardWatch, set_interval, start_capture, start_program  # noqa: E402
from test_auto_cut_menu import choose, frame_pixels  # noqa: E402
from test_follow_window import FollowedWindow  # noqa: E402

MOVES = 1000  # the kernel counts CPU time in 10 ms ticks: 10 us a move


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=RUNS)
    args = parser.parse_args()
    with Session(1024, 768, name="bench-follow") as s, ClipboardWatch(s):
        s.show_pattern("coords")
        target = FollowedWindow(s)
        proc, main_window = start_program(s, snapping=True)
        set_interval(s, main_window, "1")
        start_capture(s, main_window)
        target.choose()
        following = [True]
        direction = [1]

        def toggle() -> None:
            # A right click on Wine's tray right after a burst of moves is sometimes lost.
            for _ in range(3):
                try:
                    choose(s, "跟随窗口")
                    following[0] = not following[0]
                    time.sleep(0.3)
                    return
                except AssertionError:
                    s.key("Escape")
                    time.sleep(1)
            raise AssertionError("the icons' menu would not open")

        # From a move to the frame at the new place, at an interval of 1 s.
        delays = []
        for i in range(args.runs):
            rect = target.do(f"move {120 + 60 * i} {140 + 30 * (i % 3)}")
            moved = time.monotonic()

            def framed() -> bool:
                found, total = frame_pixels(s.screenshot_pixels(), rect, 2)
                return found > 0.9 * total
            if wait_until(framed, 5, 0.01):
                delays.append((time.monotonic() - moved) * 1000)
        shot = time.monotonic()
        s.screenshot_pixels()
        print("   move -> frame at the new place (interval 1 s)")
        print(f"      {spread(delays, 'ms')}" if delays else "      the frame never followed")
        print(f"      (one screenshot, which the figure includes, takes {1000 * (time.monotonic() - shot):.0f} ms)",
              flush=True)

        # The CPU, at interval 0: no cut adds its own.
        set_interval_in_tray(s, "0")
        seconds = {True: [], False: []}

        def moves(follow: bool) -> float:
            if following[0] != follow:
                toggle()
            wait_until_idle(proc.pid)
            before, began = cpu_seconds(proc.pid), time.monotonic()
            target.do(f"steps {MOVES} {2 * direction[0]}")
            direction[0] = -direction[0]
            seconds[follow].append(time.monotonic() - began)
            wait_until_idle(proc.pid)
            return (cpu_seconds(proc.pid) - before) / MOVES * 1e6

        # The reference is near nothing, so its spread says little: the product's is checked.
        figures = interleave(args.runs, {"following": lambda: moves(True),
                                         "reference": lambda: moves(False)}, check="following")
        print(f"Pelvanto's CPU a move of the followed window ({MOVES} moves a run, 1024 x 768)")
        print_comparison("following against not following", "us", figures["following"],
                         figures["reference"])
        print(f"   a run of {MOVES} moves took {spread(seconds[True], 's')} (following)", flush=True)
    return 0


def set_interval_in_tray(s: Session, text: str) -> None:
    """The main window back from the tray, its interval set, and into the tray again."""
    from scenarios import restore_main
    main_window = restore_main(s)
    set_interval(s, main_window, text)
    s.minimize(s.wait_window(r"^Pelvanto \("))
    time.sleep(0.5)


if __name__ == "__main__":
    sys.exit(main())
