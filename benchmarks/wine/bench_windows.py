"""Figures, not a test: what snapping to windows costs, on a desktop of 30 windows and 1,000
controls (the helper desktop_filler.exe). bench_startup.py --recording and bench_drag.py --hover
run these; alone:

    python3 benchmarks/wine/bench_windows.py [recording] [hover] [--runs 5] [--baseline DIR]

- recording: the walk over the top-level windows that the freeze records, and the walk over
  their controls that follows once the frozen picture is on the screen (each with its clipping
  into snap targets), and the copy with the top-level walk on its own thread as the freeze
  does it, against the freeze's own copy of the screen, all timed by
  snapshot_timing.exe at 1920 x 1080, interleaved in each run; each run's figure is the median
  of the tool's repeats.
  Then click -> whole frozen frame on screen with that desktop behind, the program against
  grab_and_show.exe (and a --baseline build), interleaved.
- hover: CPU per move while the pointer moves with no button across the windows on the overlay
  (the highlight following), against today's drag of a selection, interleaved, at 1920 x 1080.
"""

from __future__ import annotations

import argparse
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_references import (MOVE_PAUSE_S, MOVES, RUNS, cpu_seconds, diagonal, interleave, wait_until_idle,  # noqa: E402
                              print_comparison, reference_frame, session_pids)
from harness import Session, pelvanto_exe, wait_until  # noqa: E402
from scenarios import helper_exe, start_capture, start_program  # noqa: E402

WINDOWS, CONTROLS = 30, 1000
TOOL_LINE = re.compile(r"^(freeze|record|controls|beside) ([\d.]+) ([\d.]+) ([\d.]+) ms$", re.M)


def fill_desktop(s: Session, windows: int = WINDOWS, controls: int = CONTROLS) -> subprocess.Popen:
    """Start desktop_filler.exe and wait until all its windows are on the screen."""
    proc = s.start(helper_exe("desktop_filler.exe"), str(windows), str(controls))
    log = s.out_dir / "desktop_filler.log"
    if not wait_until(lambda: log.is_file() and "ready" in log.read_text(), 60):
        raise AssertionError("desktop_filler.exe did not fill the desktop")
    time.sleep(1)  # every window painted
    return proc


def snapshot_timing(s: Session) -> dict[str, float]:
    """One run of snapshot_timing.exe: the medians of its freeze and record repeats, in ms."""
    log = s.out_dir / "snapshot_timing.log"
    log.unlink(missing_ok=True)
    s.start(pelvanto_exe("timing/snapshot_timing.exe"), "15").wait(timeout=300)
    text = log.read_text(errors="replace")
    found = {name: float(median) for name, _, median, _ in TOOL_LINE.findall(text)}
    counted = re.search(r"^windows (\d+) top-level (\d+) kept (\d+)$", text, re.M)
    if counted:
        print(f"      recorded {counted[1]} windows ({counted[2]} top-level), {counted[3]} kept as targets",
              flush=True)
    return found


def recording(runs: int, baseline: Path | None = None) -> None:
    from bench_startup import product_frame  # the start-up benchmark's own click -> frame
    print(f"== recording the windows at the freeze, {WINDOWS} windows and {CONTROLS} controls, "
          f"1920x1080, {runs} runs", flush=True)
    with Session(1920, 1080, name="bench-recording") as s:
        s.show_pattern("coords")
        fill_desktop(s)
        timings = [snapshot_timing(s) for _ in range(runs)]
        exe = pelvanto_exe()
        jobs = {"product": lambda: product_frame(s, exe)}
        if baseline is not None:
            jobs["baseline"] = lambda: product_frame(s, baseline.resolve() / exe.name)
        jobs["reference"] = lambda: reference_frame(s)
        frames = interleave(runs, jobs, value=lambda f: f["frame"])
    record = [t.get("record", -1) for t in timings]
    copy = [t.get("freeze", -1) for t in timings]
    print_comparison("at the freeze: the top-level windows (product) against the screen copy (reference)",
                     "ms", record, copy)
    print_comparison("the screen copy with the walk on its own thread, as the freeze does it (product) "
                     "against the copy alone (reference)", "ms", [t.get("beside", -1) for t in timings], copy)
    print_comparison("once the picture shows: their controls (product) against the screen copy (reference)",
                     "ms", [t.get("controls", -1) for t in timings], copy)
    frame = [f["frame"] for f in frames["product"]]
    print_comparison("click -> whole frozen frame on screen, this desktop behind", "ms", frame,
                     [f["frame"] for f in frames["reference"]])
    if baseline is not None:
        print_comparison("the same, baseline build", "ms", [f["frame"] for f in frames["baseline"]],
                         [f["frame"] for f in frames["reference"]])
    good = [v for v in frame if v > 0]
    if good:
        print(f"      the walk's median as a share of the click -> frame median: "
              f"{statistics.median(record) / statistics.median(good) * 100:.1f} % (the program runs it "
              f"beside the screen copy: compare the baseline's frame for what it saves)", flush=True)


def hover_points(width: int, height: int) -> list[tuple[int, int]]:
    """MOVES + 1 points in a zigzag over the filled part of the screen, across many windows."""
    points = []
    for i in range(MOVES + 1):
        x = 60 + (i * 37) % (width - 120)
        y = 60 + (i * 4) % (height - 120)
        points.append((x, y))
    return points


def measure_moves(s: Session, pids: dict[str, int], points: list[tuple[int, int]], button: bool) -> float:
    """CPU ms a move, over the processes, for one pass over points with or without the left button."""
    def settle() -> None:
        wait_until_idle(pids["program"])

    cmd = ["xdotool", "mousemove", "--sync", *map(str, points[0]), "sleep", "0.1"]
    if button:
        cmd += ["mousedown", "1"]
    for x, y in points[1:]:
        cmd += ["mousemove", str(x), str(y), "sleep", str(MOVE_PAUSE_S)]
    if button:
        cmd += ["mouseup", "1"]
    settle()
    before = {name: cpu_seconds(pid) for name, pid in pids.items()}
    s.run(cmd, timeout=300)
    settle()
    busy = sum(cpu_seconds(pid) - before[name] for name, pid in pids.items())
    return busy * 1000 / MOVES


def overlay_moves(s: Session, hover: bool) -> float:
    """One fresh program: CPU ms a move over its overlay, hovering across the windows or drawing
    today's selection along the diagonal."""
    proc, main = start_program(s, loupe=True, snapping=True)
    start_capture(s, main)
    time.sleep(1)
    pids = session_pids(s, proc.pid)
    points = hover_points(s.width, s.height) if hover else diagonal(s.width, s.height)
    figure = measure_moves(s, pids, points, button=not hover)
    proc.terminate()
    proc.wait(10)
    return figure


def hover(runs: int) -> None:
    print(f"== {MOVES} moves hovering across {WINDOWS} windows and {CONTROLS} controls against "
          f"a drawing drag, 1920x1080, {runs} runs interleaved", flush=True)
    with Session(1920, 1080, name="bench-hover") as s:
        s.show_pattern("coords")
        fill_desktop(s)
        figures = interleave(runs, {"hover": lambda: overlay_moves(s, True),
                                    "drag": lambda: overlay_moves(s, False)})
    print_comparison("CPU per move (program + wineserver + X server): hovering (product) against "
                     "drawing (reference)", "ms", figures["hover"], figures["drag"])


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("jobs", nargs="*", choices=["recording", "hover", []], default=[])
    parser.add_argument("--runs", type=int, default=RUNS)
    parser.add_argument("--baseline", type=Path, help="build directory of a second program (recording)")
    args = parser.parse_args(argv)
    jobs = args.jobs or ["recording", "hover"]
    if "recording" in jobs:
        recording(args.runs, args.baseline)
    if "hover" in jobs:
        hover(args.runs)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
