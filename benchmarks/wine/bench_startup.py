"""Start-up and idle figures of the real Pelvanto.exe under Wine (prints a table; not a test).

    python3 benchmarks/wine/bench_startup.py [--idle-seconds 30] [--runs 3]

- start-up: from launching the program to its main window on screen (first launch on a fresh
  display, when the Wine server starts too, and the median of the following launches);
- start click to frozen overlay: from the click on "切图开始" to the full-screen overlay mapped,
  and to its frozen picture seen on the screen (an upper bound: it includes the screen grab
  that sees it, whose own cost is printed), at 1920 x 1080 and 3840 x 2160;
- idle CPU of the program's process over the idle period, with its main window shown;
- working set (VmRSS) with the main window, and with the overlay at each screen size;
- the size of Pelvanto.exe;
- the overlay's open time and working set on two 1920 x 1080 monitors against one (Xorg's
  dummy driver for both, run as root);
- click on "切图开始" -> the overlay mapped and its whole frozen frame on screen, timed from
  outside with X DAMAGE (bench_references.time_frame), against grab_and_show.exe, interleaved,
  --frame-runs times at each size: product, reference and ratio.
- with --recording, only the recording of the windows that the freeze makes, on a desktop of
  30 windows and 1,000 controls (bench_windows.py).

Figures under Wine on Xvfb on a shared machine: compare them between versions, not with Windows.
"""

from __future__ import annotations

import argparse
import os
import statistics
import sys
import time
from pathlib import Path
from typing import Optional

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_references import interleave, print_comparison, reference_frame, time_frame  # noqa: E402
from harness import Geometry, Session, pelvanto_exe, wait_until  # noqa: E402
from test_main_window import CAPTURE_BUTTON, MAIN, OVERLAY, click_in  # noqa: E402

CLK_TCK = os.sysconf("SC_CLK_TCK")
CAPTURE_BUTTON = Geometry(8, 16, 84, 30)  # "切图开始", main window client coordinates at 96 dpi


def cpu_seconds(pid: int) -> float:
    """User + system CPU time of a process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def rss_kib(pid: int) -> int:
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def launch(s: Session, exe: Path):
    """Start the program; return (process, seconds to its main window, the window's id)."""
    t0 = time.monotonic()
    proc = s.start(exe)
    wid = wait_until(lambda: s.find_windows(MAIN), 60, 0.01)
    if not wid:
        raise SystemExit("the main window did not appear")
    return proc, time.monotonic() - t0, wid[0]


def stop(s: Session, proc) -> None:
    proc.terminate()
    proc.wait(10)
    wait_until(lambda: not s.find_windows("^Pelvanto"), 10)


def overlay_figures(exe: Path, width: int, height: int,
                    monitors: Optional[list] = None) -> tuple[float, float, float, int]:
    """(seconds from the start click to the overlay mapped, to its frozen picture seen on the
    screen, the cost of the one-pixel screen grab that sees it, VmRSS KiB). With monitors, on
    that layout (width and height then come from it); the probe is on the last monitor."""
    session = Session(monitors=monitors, name="bench-monitors") if monitors else Session(width, height, name="bench")
    with session as s:
        width, height = s.width, s.height
        pattern = s.show_pattern("coords")
        proc, _, wid = launch(s, exe)
        g = s.window_geometry(wid)
        time.sleep(1)
        # A point away from the main window, whose colour the frozen picture must show.
        probe = Geometry(width - 7, height - 5, 1, 1)
        expected = pattern.pixel(probe.x, probe.y)
        grabs = []
        for _ in range(5):
            g0 = time.monotonic()
            s.screenshot_pixels(region=probe)
            grabs.append(time.monotonic() - g0)
        t0 = time.monotonic()
        click_in(s, g, CAPTURE_BUTTON)
        if not wait_until(lambda: s.find_windows(OVERLAY), 30, 0.005):
            raise SystemExit("no overlay")
        mapped = time.monotonic() - t0
        if not wait_until(lambda: s.screenshot_pixels(region=probe).pixel(0, 0) == expected, 30, 0.005):
            raise SystemExit("the overlay does not show the frozen screen")
        painted = time.monotonic() - t0
        time.sleep(1)
        rss = rss_kib(proc.pid)
        stop(s, proc)
        return mapped, painted, statistics.median(grabs), rss


def product_frame(s: Session, exe: Path) -> dict[str, float]:
    """One start of the program: its start button clicked by the frame timer, then ended."""
    proc, _, wid = launch(s, exe)
    g = s.window_geometry(wid)
    time.sleep(0.5)  # the main window drawn and idle, as a user would find it
    figures = time_frame(s, *Geometry(g.x + CAPTURE_BUTTON.x, g.y + CAPTURE_BUTTON.y,
                                      CAPTURE_BUTTON.width, CAPTURE_BUTTON.height).centre)
    stop(s, proc)
    return figures


def frame_comparison(exe: Path, width: int, height: int, runs: int, baseline: Path | None = None) -> None:
    """Click -> overlay mapped and whole frame on screen, product and reference interleaved;
    with `baseline` (another build's directory) that program too."""
    print(f"== click -> whole frozen frame on screen at {width}x{height}, {runs} runs interleaved", flush=True)
    jobs = {"product": lambda: product_frame(s, exe)}
    if baseline is not None:
        jobs["baseline"] = lambda: product_frame(s, baseline.resolve() / exe.name)
    jobs["reference"] = lambda: reference_frame(s)
    with Session(width, height, name="bench-frame") as s:
        s.show_pattern("coords")
        figures = interleave(runs, jobs, value=lambda f: f["frame"])
    for key, title in (("mapped", "click -> full-screen window mapped"),
                       ("frame", "click -> whole frozen frame on screen"),
                       ("settled", "click -> last whole-screen damage")):
        print_comparison(title, "ms", [f[key] for f in figures["product"]], [f[key] for f in figures["reference"]])
        if baseline is not None:
            print_comparison(f"{title}, baseline build", "ms", [f[key] for f in figures["baseline"]],
                             [f[key] for f in figures["reference"]])


def monitor_comparison(exe: Path, runs: int) -> None:
    """The overlay's open time and working set on two 1920 x 1080 monitors against one, both
    on the dummy Xorg server, so only the layout differs."""
    layouts = {"one 1920x1080 monitor": [(0, 0, 1920, 1080, True)],
               "two 1920x1080 monitors": [(0, 0, 1920, 1080, True), (1920, 0, 1920, 1080)]}
    print(f"== overlay on one monitor and on two, median of {runs}", flush=True)
    for name, layout in layouts.items():
        figures = [overlay_figures(exe, 0, 0, layout) for _ in range(runs)]
        mapped, painted, _, rss = (statistics.median(f[i] for f in figures) for i in range(4))
        print(f"{name:<24} click -> mapped {mapped * 1000:5.0f} ms, -> frozen picture seen "
              f"{painted * 1000:5.0f} ms, working set {rss / 1024:6.1f} MiB", flush=True)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--idle-seconds", type=float, default=30)
    parser.add_argument("--runs", type=int, default=3, help="launches for the start-up median")
    parser.add_argument("--frame-runs", type=int, default=5, help="interleaved runs of the frame timing")
    parser.add_argument("--frame-only", action="store_true", help="only the frame timing against the reference")
    parser.add_argument("--monitors-only", action="store_true", help="only one monitor against two")
    parser.add_argument("--baseline", type=Path, help="build directory of a second program for the frame timing")
    parser.add_argument("--recording", action="store_true",
                        help="only the recording of the windows at the freeze, 30 windows and 1,000 controls")
    args = parser.parse_args()
    exe = pelvanto_exe()
    if args.recording:
        from bench_windows import recording
        recording(args.frame_runs, args.baseline)
        return 0
    monitor_comparison(exe, args.runs)
    if args.monitors_only:
        return 0
    for width, height in [(1920, 1080), (3840, 2160)]:
        frame_comparison(exe, width, height, args.frame_runs, args.baseline)
    if args.frame_only:
        return 0
    rows = []

    with Session(1920, 1080, name="bench") as s:
        proc, first, _ = launch(s, exe)
        time.sleep(2)  # let start-up work settle before measuring idle
        c0, t0 = cpu_seconds(proc.pid), time.monotonic()
        time.sleep(args.idle_seconds)
        idle = (cpu_seconds(proc.pid) - c0) / (time.monotonic() - t0)
        rss_main = rss_kib(proc.pid)
        stop(s, proc)
        warm = []
        for _ in range(args.runs):
            proc, seconds, _ = launch(s, exe)
            warm.append(seconds)
            stop(s, proc)

    rows.append(("start-up to main window, first launch", f"{first * 1000:.0f} ms"))
    rows.append((f"start-up to main window, median of {args.runs}", f"{statistics.median(warm) * 1000:.0f} ms"))
    for width, height in [(1920, 1080), (3840, 2160)]:
        mapped, painted, grab, rss = overlay_figures(exe, width, height)
        rows.append((f"start click to overlay mapped, {width}x{height}", f"{mapped * 1000:.0f} ms"))
        rows.append((f"start click to frozen picture seen, {width}x{height}",
                     f"{painted * 1000:.0f} ms (a screen grab: {grab * 1000:.0f} ms)"))
        rows.append((f"working set with the overlay, {width}x{height}", f"{rss / 1024:.1f} MiB"))
    rows.append((f"idle CPU over {args.idle_seconds:.0f} s (main window)", f"{idle * 100:.2f} % of a core"))
    rows.append(("working set with the main window", f"{rss_main / 1024:.1f} MiB"))
    rows.append(("Pelvanto.exe size", f"{exe.stat().st_size / 1024:.0f} KiB"))

    width = max(len(name) for name, _ in rows)
    print(f"\n{'figure':<{width}}  value")
    print(f"{'-' * width}  {'-' * 30}")
    for name, value in rows:
        print(f"{name:<{width}}  {value}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
