"""Figures, not a test: the time of one cut, from the tick to the picture on the clipboard.

Runs the console tool cut_timing.exe (built with the Windows program) under Wine on a virtual
screen of 1920x1080 and of 3840x2160. The tool times the screen copy into a bitmap and the
hand-over to the clipboard at 100x100, 1000x1000 and the full screen, next to a plain memcpy of
as many bytes. A cut is exactly that work: the overlay is in the tray while the auto-cut runs,
so nothing waits for a repaint first.

Then the full-screen cut (copy and clipboard) against bare_cut.exe
(benchmarks/references: BitBlt into a compatible bitmap, SetClipboardData(CF_BITMAP)), the two
interleaved RUNS times; each run's figure is the median of the tool's own repeats.

    python3 benchmarks/wine/bench_cut.py [--runs 5] [WIDTHxHEIGHT ...]

--frame instead: the largest cut of an area whose frame stands 10 px inside the screen's edges,
with the frame on the screen (where it stays for every cut) against the same cut with it
hidden, RUNS runs of cut_timing.exe --frame, each giving both from alternating blocks; the
frame pixels the pictures held (always 0); and the working set the frame's windows add.
"""

from __future__ import annotations

import argparse
import re
import sys
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_references import RUNS, interleave, print_comparison, reference_cut  # noqa: E402
from harness import Session, pelvanto_exe  # noqa: E402

SIZES = [(1920, 1080), (3840, 2160)]


LINE = re.compile(r"^(?P<name>.+?)\s+(?P<w>\d+) x (?P<h>\d+)\s+copy\s+(?P<copy>[\d.]+) ms\s+"
                  r"clipboard\s+(?P<clip>[\d.]+) ms\s+memcpy\s+(?P<memcpy>[\d.]+) ms")


def cut_timing(s: Session) -> str:
    """One run of cut_timing.exe on the session's screen; its whole output (the log is per run)."""
    log = s.out_dir / "cut_timing.log"
    log.unlink(missing_ok=True)
    proc = s.start(pelvanto_exe("timing/cut_timing.exe"))
    proc.wait(timeout=600)
    return log.read_text(errors="replace")


def product_cut(s: Session) -> float:
    """The program's full-screen cut, copy and clipboard, in ms (median of the tool's repeats)."""
    for match in map(LINE.match, cut_timing(s).splitlines()):
        if match and match["name"] == "full screen":
            return float(match["copy"]) + float(match["clip"])
    return -1


FRAME_LINE = re.compile(r"frame shown (?P<shown>[\d.]+) ms, frame hidden (?P<hidden>[\d.]+) ms")


def frame_figures(s: Session, runs: int) -> dict[str, list[float]]:
    """RUNS runs of cut_timing.exe --frame: the cut with the frame shown and hidden, in ms, the
    frame pixels found in the pictures, and the frame's working set in MiB."""
    figures: dict[str, list[float]] = {"shown": [], "hidden": [], "frame pixels": [], "working set": []}
    for _ in range(runs):
        log = s.out_dir / "cut_timing.log"
        log.unlink(missing_ok=True)
        s.start(pelvanto_exe("timing/cut_timing.exe"), "--frame").wait(timeout=600)
        out = log.read_text(errors="replace")
        cut = FRAME_LINE.search(out)
        figures["shown"].append(float(cut["shown"]) if cut else -1)
        figures["hidden"].append(float(cut["hidden"]) if cut else -1)
        pixels = re.search(r"^frame pixels in \d+ pictures taken with the frame shown: (-?\d+)", out, re.M)
        figures["frame pixels"].append(float(pixels[1]) if pixels else -1)
        ws = re.search(r"^frame working set (-?[\d.]+) MiB", out, re.M)
        figures["working set"].append(float(ws[1]) if ws else -1)
    return figures


def frame_main(sizes: list[tuple[int, int]], runs: int) -> int:
    for width, height in sizes:
        with Session(width, height, name="bench-cut-frame") as s:
            s.show_pattern("coords")
            figures = frame_figures(s, runs)
        print(f"== the frame 10 px inside a {width}x{height} screen, the largest cut inside it (Wine 8, Xvfb)")
        print_comparison("cut with the frame on the screen against the cut with the frame hidden", "ms",
                         figures["shown"], figures["hidden"])
        print(f"   frame pixels in the pictures, per run: {[int(v) for v in figures['frame pixels']]}")
        print_comparison("working set of the frame's windows", "MiB", None, figures["working set"])
    return 0


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=RUNS)
    parser.add_argument("--frame", action="store_true", help="the cut with and without the frame")
    parser.add_argument("sizes", nargs="*")
    args = parser.parse_args(argv)
    sizes = [tuple(int(v) for v in a.split("x")) for a in args.sizes] or SIZES
    if args.frame:
        return frame_main(sizes, args.runs)
    for width, height in sizes:
        with Session(width, height, name="bench-cut") as s:
            s.show_pattern("coords")
            out = cut_timing(s)
            figures = interleave(args.runs, {"product": lambda: product_cut(s), "reference": lambda: reference_cut(s)})
        print(f"== screen {width}x{height} (Wine 8, Xvfb)")
        print(out.rstrip())
        for match in map(LINE.match, out.splitlines()):
            if match:
                work = float(match["copy"]) + float(match["clip"])
                print(f"   one cut of {match['w']}x{match['h']}: {work:.3f} ms copy and clipboard "
                      f"(memcpy of the same bytes {float(match['memcpy']):.3f} ms)")
        print_comparison(f"full-screen cut {width}x{height}, copy and clipboard", "ms",
                         figures["product"], figures["reference"])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
