"""Figures, not a test: the working set (VmRSS) of the program at each stage of its use.

At 1920x1080 and 3840x2160, RUNS rounds, interleaved with the bare reference grab_and_show.exe
(benchmarks/references: the screen grabbed into a DIB section, shown in a full-screen popup,
the popup destroyed and the copy freed on a right click). One run of the program goes through
every way an overlay ends, one overlay after the other:
- the main window alone, just started (the figure the others are held against), against
  bare_main_window.exe: a bare window with the same controls, fonts and icon (goal: within
  3 MiB);
- the overlay up, against the reference with its frozen picture shown;
- 1.5 s after the overlay closed by a right click, by Esc, by "退出截屏", and by "切图结束"
  once it had gone to the tray, each against the main window alone (goal: within 1 MiB),
  next to the reference 1.5 s after its popup closed, against its own baseline;
- auto-cutting an 800x600 selection once a second, 2 s and 8 s after "复制退出", against the
  main window alone (goal: within 3 MiB, and no growth from 2 s to 8 s; the soak test follows
  300 cuts).
--baseline DIR adds a second build of the program (its build directory) to the same rounds.
--parts measures only the main window, next to the bare one with each of its parts left out
in turn: what each part costs a bare program.

    python3 benchmarks/wine/bench_memory.py [--runs 5] [--baseline DIR] [--parts] [WIDTHxHEIGHT ...]
"""

from __future__ import annotations

import argparse
import statistics
import sys
import time
from pathlib import Path
from typing import Sequence

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from bench_drag import other_build  # noqa: E402
from bench_references import (RUNS, SIZES, interleave, print_comparison, print_difference,  # noqa: E402
                              reference_exe, reference_memory, rss_mib, spread)
from harness import Geometry, Session, wait_until  # noqa: E402
from scenarios import (CAPTURE_BUTTON, COPY_AND_EXIT, EXIT_CAPTURE, OVERLAY,  # noqa: E402
                       ClipboardWatch, click_control, press_toolbar_button, restore_main, select,
                       set_interval, start_capture, start_program)

SEL = Geometry(50, 50, 800, 600)
SETTLE_S = 1.5  # after a close, before the reading: the way a user leaves it
# bare_main_window.exe's switches: every part, then each part left out in turn.
BARE_PARTS = ("", "no-fonts", "no-tooltip", "no-icons", "no-controls", "measure")
CLOSES = ("right click", "Esc", "退出截屏", "切图结束")


def program_stages(s: Session, build: Path | None) -> dict[str, float]:
    """One run of the program through every ending of an overlay; working sets in MiB."""
    def settled() -> float:
        time.sleep(SETTLE_S)
        return rss_mib(proc.pid)

    def capture_again(main: Geometry) -> None:
        # After a close the button still reads "切图结束": one click stops, the next starts.
        click_control(s, main, CAPTURE_BUTTON)
        time.sleep(0.3)
        start_capture(s, main)
        time.sleep(0.5)

    with other_build(build), ClipboardWatch(s) as clip:
        proc, main = start_program(s)
        time.sleep(1)
        figures = {"main": rss_mib(proc.pid)}
        set_interval(s, main, "1")
        start_capture(s, main)
        time.sleep(1)
        figures["overlay"] = rss_mib(proc.pid)

        s.click(s.width // 2, s.height // 2, 3)  # no selection: the right click closes
        s.wait_window_gone(OVERLAY)
        figures["right click"] = settled()

        capture_again(restore_main(s))
        # Keys reach the overlay once it was clicked (under openbox the tray window, new with the
        # icon, holds the focus): the click leaves an empty selection, the first Esc clears it.
        s.click(s.width // 2, s.height // 2)
        s.key("Escape")
        s.key("Escape")
        s.wait_window_gone(OVERLAY)
        figures["Esc"] = settled()

        capture_again(restore_main(s))
        select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
        press_toolbar_button(s, SEL, EXIT_CAPTURE)
        s.wait_window_gone(OVERLAY)
        figures["退出截屏"] = settled()

        capture_again(restore_main(s))
        select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
        press_toolbar_button(s, SEL, COPY_AND_EXIT)
        s.wait_window_gone(OVERLAY)
        started = time.monotonic()
        for seconds in (2, 8):
            time.sleep(max(0.0, started + seconds - time.monotonic()))
            figures[f"cutting {seconds} s"] = rss_mib(proc.pid) if clip.has_picture() else -1
        main = restore_main(s)
        click_control(s, main, CAPTURE_BUTTON)  # "切图结束": the overlay in the tray goes
        figures["切图结束"] = settled()
        proc.terminate()
        proc.wait(10)
        wait_until(lambda: not s.find_windows("^Pelvanto"), 10)
    return figures


def main_alone(s: Session) -> float:
    """The program's main window alone, a second after it showed, in MiB."""
    proc, _ = start_program(s)
    time.sleep(1)
    figure = rss_mib(proc.pid)
    proc.terminate()
    proc.wait(10)
    wait_until(lambda: not s.find_windows("^Pelvanto"), 10)
    return figure


def bare_idle(s: Session, exe: str, title: str, *switches: str) -> float:
    """A reference's working set a second after its window showed, in MiB."""
    proc = s.start(reference_exe(exe), *switches)
    s.wait_window(f"^{title}$", timeout=30)
    time.sleep(1)
    figure = rss_mib(proc.pid)
    proc.terminate()
    proc.wait(10)
    wait_until(lambda: not s.find_windows(f"^{title}$"), 10)
    return figure


def bare_main(s: Session, parts: str = "") -> float:
    """bare_main_window.exe with `parts` (its switches), a second after it showed, in MiB."""
    return bare_idle(s, "bare_main_window.exe", "bare main", *parts.split())


def run_parts(width: int, height: int, runs: int) -> None:
    """The main window against the bare one, and what each of the bare one's parts costs."""
    print(f"== main window alone at {width}x{height}, {runs} runs interleaved", flush=True)
    jobs: dict = {"product": lambda: main_alone(s)}
    jobs.update({parts or "reference": (lambda p=parts: bare_main(s, p)) for parts in BARE_PARTS})
    # The barest window: no common controls 6 (no manifest), no child, no font.
    jobs["bare grab"] = lambda: bare_idle(s, "grab_and_show.exe", "bare grab")
    with Session(width, height, name="bench-memory") as s:
        figures = interleave(runs, jobs)
    reference = figures["reference"]
    print_comparison("product's main window, against the bare one with the same controls and fonts", "MiB",
                     figures["product"], reference)
    print_difference("product less the bare one", "MiB", figures["product"], reference)
    for parts in BARE_PARTS[1:]:
        print_level(f"bare main window, {parts}", figures[parts])
        print_difference(f"   the bare one less the bare one {parts}", "MiB", reference, figures[parts])
    print_level("grab_and_show.exe's small window (no manifest, no child, no font)", figures["bare grab"])
    print_difference("   the bare one without children less it: common controls 6 and the theme", "MiB",
                     figures["no-controls"], figures["bare grab"])


def growth(values: Sequence[float], bases: Sequence[float]) -> list[float]:
    """Each run's figure less its own baseline; runs where either failed are left out."""
    return [v - b for v, b in zip(values, bases) if v >= 0 and b >= 0]


def print_growth(title: str, product: Sequence[float], reference: Sequence[float] | None, goal: str) -> None:
    """Working set above a baseline, which may be below it: min / median / max, in MiB."""
    def line(values: Sequence[float]) -> str:
        if not values:
            return "no figure"
        return (f"{min(values):+7.2f} / {statistics.median(values):+7.2f} / {max(values):+7.2f} MiB "
                f"(min / median / max of {len(values)})")
    print(f"   {title} (goal: {goal})", flush=True)
    print(f"      product    {line(product)}")
    if reference is not None:
        print(f"      reference  {line(reference)}", flush=True)


def print_level(title: str, values: Sequence[float]) -> None:
    print(f"   {title}", flush=True)
    print(f"      {spread(values, 'MiB')}", flush=True)


def run(width: int, height: int, runs: int, baseline: Path | None) -> None:
    print(f"== working set at {width}x{height}, {runs} runs interleaved", flush=True)
    jobs = {"product": lambda: program_stages(s, None)}
    if baseline is not None:
        jobs["baseline"] = lambda: program_stages(s, baseline)
    jobs["reference"] = lambda: reference_memory(s, SETTLE_S)
    jobs["bare main"] = lambda: bare_main(s)
    with Session(width, height, name="bench-memory") as s:
        s.show_pattern("coords")
        figures = interleave(runs, jobs, value=lambda f: f["shown"])
    reference = figures["reference"]
    ref_closed = growth([f["closed"] for f in reference], [f["baseline"] for f in reference])
    print_level("reference: its own baseline (the small window)", [f["baseline"] for f in reference])
    for name in [n for n in ("product", "baseline") if n in figures]:
        stages = figures[name]
        mains = [f["main"] for f in stages]
        print_comparison(f"{name}: main window alone, against the bare one with the same controls and fonts",
                         "MiB", mains, figures["bare main"])
        print_comparison(f"{name}: overlay up, against the bare grab-and-show shown", "MiB",
                         [f["overlay"] for f in stages], [f["shown"] for f in reference])
        for close in CLOSES:
            print_growth(f"{name}: 1.5 s after the overlay closed by {close}, above the main window alone",
                         growth([f[close] for f in stages], mains), ref_closed, "within 1 MiB")
        for seconds in (2, 8):
            print_growth(f"{name}: auto-cutting, {seconds} s after \"复制退出\", above the main window alone",
                         growth([f[f"cutting {seconds} s"] for f in stages], mains), None, "within 3 MiB")
        print_growth(f"{name}: auto-cutting, from 2 s to 8 s",
                     growth([f["cutting 8 s"] for f in stages], [f["cutting 2 s"] for f in stages]), None,
                     "flat")


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=RUNS)
    parser.add_argument("--baseline", type=Path, help="build directory of a second program to compare")
    parser.add_argument("--parts", action="store_true", help="the main window alone, and the bare one's parts")
    parser.add_argument("sizes", nargs="*")
    args = parser.parse_args(argv)
    for size in [tuple(int(v) for v in a.split("x")) for a in args.sizes] or SIZES:
        if args.parts:
            run_parts(*size, args.runs)
        else:
            run(*size, args.runs, args.baseline)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
