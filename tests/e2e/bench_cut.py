"""Figures, not a test: the time of one cut, from the tick to the picture on the clipboard.

Runs the console tool cut_timing.exe (built with the Windows program) under Wine on a virtual
screen of 1920x1080 and of 3840x2160. The tool times the screen copy into a bitmap and the
hand-over to the clipboard at 100x100, 1000x1000 and the full screen, next to a plain memcpy of
as many bytes. A cut adds a fixed 20 ms of waiting (two 10 ms pauses that let the hidden
controls repaint before the copy), printed beside the measured work.

    python3 tests/e2e/bench_cut.py [WIDTHxHEIGHT ...]
"""

from __future__ import annotations

import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Session, pelvanto_exe  # noqa: E402

FIXED_WAIT_MS = 20.0
SIZES = [(1920, 1080), (3840, 2160)]


def run(width: int, height: int) -> str:
    tool = pelvanto_exe("tools/cut_timing.exe")
    with Session(width, height, name="bench-cut") as s:
        s.show_pattern("coords")
        proc = s.start(tool)
        proc.wait(timeout=600)
        return (s.out_dir / "cut_timing.log").read_text(errors="replace")


def main(argv: list[str]) -> int:
    sizes = [tuple(int(v) for v in a.split("x")) for a in argv] or SIZES
    line = re.compile(r"^(?P<name>.+?)\s+(?P<w>\d+) x (?P<h>\d+)\s+copy\s+(?P<copy>[\d.]+) ms\s+"
                      r"clipboard\s+(?P<clip>[\d.]+) ms\s+memcpy\s+(?P<memcpy>[\d.]+) ms")
    for width, height in sizes:
        out = run(width, height)
        print(f"== screen {width}x{height} (Wine 8, Xvfb)")
        print(out.rstrip())
        for match in map(line.match, out.splitlines()):
            if match:
                work = float(match["copy"]) + float(match["clip"])
                print(f"   one cut of {match['w']}x{match['h']}: {FIXED_WAIT_MS:.0f} ms fixed waiting + "
                      f"{work:.3f} ms copy and clipboard = {FIXED_WAIT_MS + work:.3f} ms "
                      f"(memcpy of the same bytes {float(match['memcpy']):.3f} ms)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
