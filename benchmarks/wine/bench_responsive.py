"""Figures, not a test: how long the overlay goes without answering its user while snapping
records the controls of a window that holds many (desktop_filler.exe's grid), from "切图开始"
on: overlay_probe.exe sends the overlay WM_NULL every 10 ms for 8 s and keeps the longest round
trip. With --baseline DIR the same runs, interleaved, for another build's Pelvanto.exe.

    python3 benchmarks/wine/bench_responsive.py [--controls 300 5000 20000] [--runs 5] [--baseline DIR]
"""

from __future__ import annotations

import argparse
import re
import statistics
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from harness import Session, pelvanto_exe, wait_until  # noqa: E402
from scenarios import CAPTURE_BUTTON, MAIN, OVERLAY, click_control, helper_exe, wait_for_geometry  # noqa: E402

LINE = re.compile(r"longest ([\d.]+) median ([\d.]+) sends (\d+)")


def one_run(s: Session, exe: Path) -> float:
    """Start the program, press "切图开始", and return the overlay's longest silence in ms."""
    s.env.pop("PELVANTO_TEST_NO_SNAPPING", None)
    s.env["PELVANTO_TEST_NO_LOUPE"] = "1"
    proc = s.start(exe)
    main = wait_for_geometry(s, s.wait_window(MAIN, timeout=30))
    log = s.out_dir / "overlay_probe.log"
    log.unlink(missing_ok=True)
    probe = s.start(helper_exe("overlay_probe.exe"), "8")
    click_control(s, main, CAPTURE_BUTTON)
    probe.wait(timeout=120)
    found = LINE.search(log.read_text(errors="replace"))
    s.key("Escape")
    proc.kill()
    proc.wait(timeout=30)
    wait_until(lambda: not s.find_windows(OVERLAY), 10)
    if not found:
        raise AssertionError(f"overlay_probe.exe said: {log.read_text(errors='replace')}")
    return float(found[1])


def spread(values: list[float]) -> str:
    return f"min {min(values):.0f} median {statistics.median(values):.0f} max {max(values):.0f} ms"


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--controls", type=int, nargs="+", default=[300, 5000, 20000])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--baseline", type=Path)
    args = parser.parse_args()
    builds = {"this build": pelvanto_exe()}
    if args.baseline:
        builds["baseline"] = args.baseline / "Pelvanto.exe"
    for controls in args.controls:
        with Session(1024, 768, name=f"bench-responsive-{controls}") as s:
            s.start(helper_exe("desktop_filler.exe"), "1", str(controls), "grid")
            filler_log = s.out_dir / "desktop_filler.log"
            if not wait_until(lambda: filler_log.is_file() and "ready" in filler_log.read_text(), 240):
                raise AssertionError("desktop_filler.exe did not fill the desktop")
            time.sleep(1)
            found: dict[str, list[float]] = {name: [] for name in builds}
            for _ in range(args.runs):
                for name, exe in builds.items():  # interleaved
                    found[name].append(one_run(s, exe))
            print(f"{controls} controls, longest gap without an answer:", flush=True)
            for name, values in found.items():
                print(f"  {name:10} {spread(values)}", flush=True)
            if args.baseline and statistics.median(found["baseline"]) > 0:
                ratio = statistics.median(found["this build"]) / statistics.median(found["baseline"])
                print(f"  ratio (this build / baseline, medians) {ratio:.3f}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
