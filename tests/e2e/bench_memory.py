"""Figures, not a test: the working set (VmRSS) of the program at each stage of its use.

At 1920x1080 and 3840x2160, RUNS rounds, interleaved with the bare reference grab_and_show.exe
(benchmarks/references: the screen grabbed into a DIB section, shown in a full-screen popup):
- the main window alone, just started;
- the overlay up, against the reference with its frozen picture shown;
- auto-cutting: after "复制退出" on an 800x600 selection, once three cuts have reached the
  clipboard, against the main window alone of the same run.
--baseline DIR adds a second build of the program (its build directory) to the same rounds.

    python3 tests/e2e/bench_memory.py [--runs 5] [--baseline DIR] [WIDTHxHEIGHT ...]
"""

from __future__ import annotations

import argparse
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from bench_drag import other_build  # noqa: E402
from bench_references import RUNS, SIZES, interleave, print_comparison, reference_exe, time_frame  # noqa: E402
from harness import Geometry, Session, wait_until  # noqa: E402
from scenarios import (COPY_AND_EXIT, OVERLAY, ClipboardWatch, press_toolbar_button, select,  # noqa: E402
                       set_interval, start_capture, start_program)

SEL = Geometry(50, 50, 800, 600)
CUTS = 3


def rss_mib(pid: int) -> float:
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return -1


def program_stages(s: Session, build: Path | None) -> dict[str, float]:
    """One run of the program: its working set with the main window, the overlay, auto-cutting."""
    with other_build(build), ClipboardWatch(s) as clip:
        proc, main = start_program(s)
        time.sleep(1)
        figures = {"main": rss_mib(proc.pid)}
        set_interval(s, main, "1")
        start_capture(s, main)
        time.sleep(1)
        figures["overlay"] = rss_mib(proc.pid)
        select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
        press_toolbar_button(s, SEL, COPY_AND_EXIT)
        s.wait_window_gone(OVERLAY)
        cuts = sum(clip.wait_picture(5) is not None for _ in range(CUTS))
        figures["cutting"] = rss_mib(proc.pid) if cuts == CUTS else -1
        proc.terminate()
        proc.wait(10)
        wait_until(lambda: not s.find_windows("^Pelvanto"), 10)
    return figures


def reference_shown(s: Session) -> float:
    """One run of grab_and_show.exe: its working set with the frozen picture on the screen."""
    proc = s.start(reference_exe("grab_and_show.exe"))
    wid = s.wait_window("^bare grab$", timeout=30)
    g = wait_until(lambda: s.window_geometry(wid), 10)
    time.sleep(0.5)
    time_frame(s, *g.centre)
    rss = rss_mib(proc.pid)
    proc.terminate()
    proc.wait(10)
    s.wait_window_gone("^bare frozen$")
    return rss


def run(width: int, height: int, runs: int, baseline: Path | None) -> None:
    print(f"== working set at {width}x{height}, {runs} runs interleaved", flush=True)
    jobs = {"product": lambda: program_stages(s, None)}
    if baseline is not None:
        jobs["baseline"] = lambda: program_stages(s, baseline)
    jobs["reference"] = lambda: reference_shown(s)
    with Session(width, height, name="bench-memory") as s:
        s.show_pattern("coords")
        figures = interleave(runs, jobs)
    for name in [n for n in ("product", "baseline") if n in figures]:
        stages = figures[name]
        print(f"   {name}: main window alone {[round(f['main'], 1) for f in stages]} MiB")
        print_comparison(f"{name}: overlay up, against the bare grab-and-show", "MiB",
                         [f["overlay"] for f in stages], figures["reference"])
        print_comparison(f"{name}: auto-cutting, against its main window alone", "MiB",
                         [f["cutting"] for f in stages], [f["main"] for f in stages])


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=RUNS)
    parser.add_argument("--baseline", type=Path, help="build directory of a second program to compare")
    parser.add_argument("sizes", nargs="*")
    args = parser.parse_args(argv)
    for size in [tuple(int(v) for v in a.split("x")) for a in args.sizes] or SIZES:
        run(*size, args.runs, args.baseline)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
