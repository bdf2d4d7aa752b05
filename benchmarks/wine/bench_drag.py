"""Figures, not a test: the CPU time one scripted drag of 1000 mouse moves costs.

On the overlay the drag draws a selection that grows from near the top-left corner to near the
bottom-right one, at 1920x1080 and at 3840x2160, once with the loupe following the pointer and
once with it turned off (the test-only PELVANTO_TEST_NO_LOUPE=1). The reference is bare_overlay.exe
(benchmarks/references): the same drag over a frozen screen, drawing a 1-px outline with only
the changed strips invalidated; it also reports how many frames it painted. With its --loupe it
also draws the leanest loupe (the enlarged pixels by StretchBlt, a border, two lines of text):
the floor for the program's drag with its loupe on. Product and
reference run interleaved, RUNS times each (a fresh program every run). Counted: user +
system CPU time of the Windows process, of wineserver and of the X server, from /proc; once per
size the same drag over the plain window of the helper notchat.exe shows what Wine itself
spends on a move that a program does nothing with, and the idle time over as long a span.

Frames: those that reached the screen during each drag, counted from outside with X DAMAGE
(benchmarks/frame_counter.c), for product and reference alike; every move drawn gives 1000
(the goal is at least 95 % of the moves: Xvfb has no refresh to count displayed frames by).
The loupe's own cost is printed apart: loupe on minus loupe off, round by round.
--baseline DIR runs a second build of the program (its build directory) as a third job in the
same rounds, for before/after figures.

With --peer, Flameshot's region capture (a general-purpose screenshot tool, run only for this
figure) takes the same drag in the same rounds.

With --hover, only the pointer moving with no button across 30 windows and 1,000 controls on
the overlay (the snapping highlight following it) against the drawing drag (bench_windows.py).

    python3 benchmarks/wine/bench_drag.py [--runs 5] [--baseline DIR] [--peer] [--hover] [WIDTHxHEIGHT ...]
"""

from __future__ import annotations

import argparse
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_references import (MOVES, RUNS, diagonal, find_pid, interleave, measure_drag, print_comparison,  # noqa: E402
                              print_difference, reference_drag, session_pids)
import harness  # noqa: E402
from harness import Session, wait_until  # noqa: E402
from scenarios import helper_exe, start_capture, start_program, wait_for_geometry  # noqa: E402

SIZES = [(1920, 1080), (3840, 2160)]


def report(title: str, busy: dict, idle: dict, wall: float) -> float:
    total = sum(busy.values())
    parts = ", ".join(f"{name} {busy[name] * 1000:.0f} ms" for name in busy)
    print(f"   {title}: {total * 1000:.0f} ms CPU ({parts}) over {wall:.1f} s; "
          f"idle over as long: {sum(idle.values()) * 1000:.0f} ms; "
          f"{total / MOVES * 1e6:.0f} us a move", flush=True)
    return total


def product_drag(s: Session, frames: list[int], build: Path | None = None, title: str = "Pelvanto",
                 loupe: bool = True) -> float:
    """One run on the overlay: CPU ms per move over the drag; the frames seen are appended."""
    with other_build(build):
        proc, main = start_program(s, loupe=loupe)
    start_capture(s, main)
    time.sleep(1)
    busy, idle, wall = measure_drag(s, session_pids(s, proc.pid), diagonal(s.width, s.height), frames)
    report(f"{title} overlay, drawing a selection ({frames[-1]} frames)", busy, idle, wall)
    proc.terminate()
    proc.wait(10)
    return sum(busy.values()) * 1000 / MOVES


class other_build:
    """Within it, the program is taken from another build directory (None: this one)."""

    def __init__(self, build: Path | None) -> None:
        self.build = build

    def __enter__(self) -> None:
        self.saved = harness.WIN_BUILD_DIR
        if self.build is not None:
            harness.WIN_BUILD_DIR = self.build.resolve()

    def __exit__(self, *exc) -> None:
        harness.WIN_BUILD_DIR = self.saved


def plain_window(s: Session) -> None:
    chat = s.start(helper_exe("notchat.exe"), "plain window")
    g = wait_for_geometry(s, s.wait_window("^plain window$", timeout=20))
    # A zigzag over the client area, as many moves.
    span_x, span_y = max(10, g.width - 20), max(10, g.height - 20)
    path = [(g.x + 10 + (i * 7) % span_x, g.y + 10 + (i * 3) % span_y) for i in range(MOVES + 1)]
    report("notchat.exe plain window (Wine's own cost)", *measure_drag(s, session_pids(s, chat.pid), path))
    chat.terminate()
    chat.wait(10)


def peer_drag(s: Session, frames: list[int]) -> float:
    """The same drag in Flameshot's region capture, a native Qt screenshot tool from Debian
    (installed by hand, only for this figure): a reference point, not a like-for-like ratio,
    since it runs without Wine. Counted: its process and the X server."""
    peer = subprocess.Popen(["dbus-run-session", "--", "flameshot", "gui"], env=s.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    try:
        shown = wait_until(lambda: s.run(["xdotool", "search", "--onlyvisible", "--class", "flameshot"],
                                         check=False).split(), 20, 0.3)
        if not shown:
            raise AssertionError("flameshot showed no capture window")
        time.sleep(1.5)
        pids = {"program": find_pid(("flameshot",), lambda pid: True), "X server": s.x_server_pid}
        busy, idle, wall = measure_drag(s, pids, diagonal(s.width, s.height), frames)
        report(f"Flameshot, drawing a selection ({frames[-1]} frames)", busy, idle, wall)
        return sum(busy.values()) * 1000 / MOVES
    finally:
        os.killpg(peer.pid, signal.SIGTERM)
        peer.wait(10)


def run(width: int, height: int, runs: int, baseline: Path | None, peer: bool) -> None:
    print(f"== {MOVES} moves at {width}x{height}, {runs} runs interleaved", flush=True)
    frames: dict[str, list[int]] = {"product": [], "product, no loupe": [], "baseline": [],
                                    "reference": [], "reference paints": [],
                                    "reference with a loupe": [], "reference with a loupe, paints": [],
                                    "Flameshot": []}

    def reference(name: str, loupe: bool) -> float:
        per_move, painted = reference_drag(s, frames[name], loupe)
        frames[f"{name}, paints" if loupe else "reference paints"].append(painted)
        return per_move

    jobs = {"product": lambda: product_drag(s, frames["product"]),
            "product, no loupe": lambda: product_drag(s, frames["product, no loupe"],
                                                      title="Pelvanto without the loupe", loupe=False)}
    if baseline is not None:
        jobs["baseline"] = lambda: product_drag(s, frames["baseline"], baseline, "baseline")
    jobs["reference"] = lambda: reference("reference", False)
    jobs["reference with a loupe"] = lambda: reference("reference with a loupe", True)
    if peer:
        jobs["Flameshot"] = lambda: peer_drag(s, frames["Flameshot"])
    with Session(width, height, name="bench-drag") as s:
        s.show_pattern("coords")
        figures = interleave(runs, jobs)
        plain_window(s)
    print_comparison("drag CPU per move (program + wineserver + X server)", "ms",
                     figures["product"], figures["reference"])
    print_comparison("the same without the loupe", "ms", figures["product, no loupe"],
                     figures["reference"])
    print_comparison("with the loupe, against the reference that draws a bare loupe too", "ms",
                     figures["product"], figures["reference with a loupe"])
    print_difference("the loupe's cost a move: loupe on minus loupe off, same rounds", "ms",
                     figures["product"], figures["product, no loupe"], figures["reference"])
    print_difference("the bare loupe's cost a move, the same way", "ms",
                     figures["reference with a loupe"], figures["reference"], figures["reference"])
    if baseline is not None:
        print_comparison("the same, baseline build against the reference", "ms",
                         figures["baseline"], figures["reference"])
    if peer:
        print_comparison("Pelvanto against Flameshot (native Qt, no Wine)", "ms",
                         figures["product"], figures["Flameshot"])
    for name, counted in frames.items():
        if counted:
            share = min(counted) / MOVES
            print(f"      frames for {MOVES} moves, {name}, every run: {counted} (fewest {share:.0%} of the moves)",
                  flush=True)


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=RUNS)
    parser.add_argument("--baseline", type=Path, help="build directory of a second program to compare")
    parser.add_argument("--peer", action="store_true",
                        help="also the same drag in Flameshot (apt-get install flameshot first)")
    parser.add_argument("--hover", action="store_true",
                        help="only hovering across 30 windows and 1,000 controls against the drag")
    parser.add_argument("sizes", nargs="*")
    args = parser.parse_args(argv)
    if args.hover:
        from bench_windows import hover
        hover(args.runs)
        return 0
    for size in [tuple(int(v) for v in a.split("x")) for a in args.sizes] or SIZES:
        run(*size, args.runs, args.baseline, args.peer)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
