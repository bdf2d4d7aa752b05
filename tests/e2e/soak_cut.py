"""Many cuts in a row, watching the program's memory: a picture that is not handed over or
freed would show as steady growth (an 800 x 600 bitmap is about 1.9 MB).

Cuts an 800 x 600 area once a second, PELVANTO_SOAK_CUTS times (60 unless set; 300 for a long
run), reads the resident memory (VmRSS) of the Pelvanto.exe process after every picture, prints
the series and fails when it grew by 8 MiB or more from the 20th cut to the last (the first cuts
warm up caches and heaps; each end is the median of ten readings).
"""

from __future__ import annotations

import os
import statistics
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Session, process_alive  # noqa: E402
from scenarios import (COPY_AND_EXIT, OVERLAY, ClipboardWatch, margin_of,  # noqa: E402
                       press_toolbar_button, select, set_interval, start_capture, start_program)

CUTS = int(os.environ.get("PELVANTO_SOAK_CUTS", "60"))
WARM_UP = 20
GROWTH_LIMIT_KIB = 8 * 1024
SEL = Geometry(50, 50, 800, 600)


def rss_kib(pid: int) -> int:
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise AssertionError(f"no VmRSS for process {pid}")


class MemoryOverManyCuts(unittest.TestCase):

    def test_memory_stays_flat(self):
        self.assertGreater(CUTS, WARM_UP, "PELVANTO_SOAK_CUTS must be above the warm-up of 20 cuts")
        with Session(1024, 768, name="soak-cut") as s, ClipboardWatch(s) as clip:
            s.show_pattern("coords")
            proc, main = start_program(s)
            with open(f"/proc/{proc.pid}/cmdline", "rb") as f:
                self.assertIn(b"Pelvanto.exe", f.read(), "the process watched is not Pelvanto.exe")
            set_interval(s, main, "1")
            start_capture(s, main)
            select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
            press_toolbar_button(s, SEL, COPY_AND_EXIT)
            s.wait_window_gone(OVERLAY)

            series = []
            for i in range(CUTS):
                got = clip.wait_picture(5)
                self.assertIsNotNone(got, f"cut {i + 1} of {CUTS} did not arrive")
                self.assertTrue(0 <= margin_of(got[1], SEL) <= 29)
                series.append(rss_kib(proc.pid))
            self.assertTrue(process_alive(proc))

        # Single readings swing by several MiB as Wine's heaps take and give back whole
        # pictures, so the trend is judged on the medians of ten cuts at either end.
        before = statistics.median(series[WARM_UP - 10:WARM_UP])
        after = statistics.median(series[-10:])
        growth = after - before
        print(f"soak: {CUTS} cuts of {SEL.width}x{SEL.height}; VmRSS of Pelvanto.exe in KiB:")
        for start in range(0, len(series), 10):
            print(f"soak:   cuts {start + 1:3}-{min(start + 10, len(series)):3}: "
                  + " ".join(str(kib) for kib in series[start:start + 10]))
        print(f"soak: first {series[0]} KiB, min {min(series)}, max {max(series)}, last {series[-1]}; "
              f"cut {WARM_UP} {series[WARM_UP - 1]} KiB; median of cuts {WARM_UP - 9}-{WARM_UP} {before:.0f}, "
              f"of the last 10 {after:.0f}: growth {growth:.0f} KiB "
              f"({growth / (CUTS - WARM_UP):.1f} KiB a cut)", flush=True)
        self.assertLess(growth, GROWTH_LIMIT_KIB,
                        f"resident memory grew by {growth:.0f} KiB over {CUTS - WARM_UP} cuts")


if __name__ == "__main__":
    unittest.main(verbosity=2)
