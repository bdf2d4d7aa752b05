"""Figures, not a test: the bare Win32 reference programs that the benchmarks hold the program
against, and the measuring code that bench_startup, bench_drag and bench_cut share.

The references (benchmarks/references, built with the Windows program into <build>/benchmarks):
- grab_and_show.exe: a click on its small window hides it, grabs the screen with one BitBlt
  into a 32-bit DIB section and shows it in a topmost full-screen popup that blits it on
  WM_PAINT; a right click or Esc destroys the popup and frees the copy, and its working set is
  back at its own baseline;
- bare_overlay.exe: the frozen screen in such a popup, a 1-px outline following a drag that
  invalidates only the changed strips and paints straight into the paint DC;
- bare_cut.exe: BitBlt of the screen into a compatible bitmap, SetClipboardData(CF_BITMAP).
- bare_main_window.exe: the main window's floor, a window with the same controls, fonts, texts,
  icon and manifest and nothing else (bench_memory.py; switches leave its parts out).

"Click -> whole frame on screen" is timed by frame_timer (benchmarks/frame_timer.c, compiled
here with cc), a native X client that clicks through XTEST and watches X DAMAGE on the root:
"mapped" is the MapNotify of the full-screen window, "frame" the moment the damage since then
first covers the whole screen: the whole frozen frame is on it. "settled" is the last time it
does before the screen rests. Under Wine a later full-screen damage carries the frozen pixels
again: Wine flushes a window's changes as their bounding rectangle, so the loupe and the
highlight that the first pointer message draws, or a focus or stacking change that the window
manager makes (Wine's tray window taking the focus when an icon appears), damage it all.
Drag CPU is user + system time of the Windows process, wineserver and the X server over a
scripted drag of MOVES moves.

Every figure is taken RUNS (>= 5) times, product and reference interleaved, and printed as
min / median / max (and the spread, (max - min) / median) with the ratio of the medians. When
the reference's runs spread over 20 %, the benchmark says so and runs the whole set of rounds
again (PELVANTO_BENCH_ATTEMPTS sets at most, 2 unless set), keeping the set that spread least.

    python3 benchmarks/wine/bench_references.py [frame] [drag] [cut] [--sizes 1920x1080 3840x2160] [--runs 5]
runs the references alone.
"""

from __future__ import annotations

import argparse
import os
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path
from typing import Any, Callable, Optional, Sequence

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from harness import BUILD_DIR, REPO, WINEPREFIX, Geometry, Session, pelvanto_exe, wait_until  # noqa: E402

SIZES = [(1920, 1080), (3840, 2160)]
RUNS = 5
MOVES = 1000
MOVE_PAUSE_S = 0.004
TICK = os.sysconf("SC_CLK_TCK")


def reference_exe(name: str) -> Path:
    return pelvanto_exe(f"benchmarks/{name}")


# -- figures ----------------------------------------------------------------------------------

SPREAD_LIMIT = 0.20  # a reference whose runs spread wider than this is run again
ATTEMPTS = int(os.environ.get("PELVANTO_BENCH_ATTEMPTS", "2"))  # sets of rounds at most


def relative_spread(values: Sequence[float]) -> float:
    """(max - min) / median of the figures that came (negative ones failed); 0 when none."""
    good = [v for v in values if v >= 0]
    if len(good) < 2 or statistics.median(good) <= 0:
        return 0.0
    return (max(good) - min(good)) / statistics.median(good)


def interleave(runs: int, jobs: dict[str, Callable[[], Any]], check: str = "reference",
               value: Callable[[Any], float] = lambda figure: figure) -> dict[str, list]:
    """Run each job once per round, in turn, for runs rounds; their figures by job name.

    When the `check` job's figures (through `value`) spread over SPREAD_LIMIT of their median,
    that is said and the whole set of rounds is run again, up to ATTEMPTS sets; the set whose
    reference spread least is returned."""
    best: Optional[tuple[float, dict[str, list]]] = None
    for attempt in range(1, ATTEMPTS + 1):
        figures: dict[str, list] = {name: [] for name in jobs}
        for _ in range(runs):
            for name, job in jobs.items():
                figures[name].append(job())
        if check not in figures:
            return figures
        wide = relative_spread([value(f) for f in figures[check]])
        if best is None or wide < best[0]:
            best = (wide, figures)
        if wide <= SPREAD_LIMIT:
            break
        again = "running the rounds again" if attempt < ATTEMPTS else f"kept the set that spread least ({best[0]:.0%})"
        print(f"   note: the reference's {runs} runs spread {wide:.0%} of their median, over "
              f"{SPREAD_LIMIT:.0%}: {again}", flush=True)
    return best[1]


def spread(values: Sequence[float], unit: str) -> str:
    good = [v for v in values if v >= 0]
    if not good:
        return "no figure"
    missing = f", {len(values) - len(good)} failed" if len(good) < len(values) else ""
    return (f"{min(good):7.2f} / {statistics.median(good):7.2f} / {max(good):7.2f} {unit} "
            f"(min / median / max of {len(good)}{missing}; spread {relative_spread(good):.0%})")


def print_comparison(title: str, unit: str, product: Optional[Sequence[float]], reference: Sequence[float]) -> None:
    """One figure: the product's and the reference's spread and the ratio of their medians.
    Interleaved figures also get the ratio round by round: a round's two runs share the
    machine's state of the moment, so it drifts less than either job's own figures do."""
    print(f"   {title}", flush=True)
    if product is not None:
        print(f"      product    {spread(product, unit)}")
    print(f"      reference  {spread(reference, unit)}")
    good_p = [v for v in product or [] if v >= 0]
    good_r = [v for v in reference if v >= 0]
    if good_p and good_r and statistics.median(good_r) > 0:
        print(f"      ratio      {statistics.median(good_p) / statistics.median(good_r):.2f}", flush=True)
    rounds = [p / r for p, r in zip(product or [], reference) if p >= 0 and r > 0]
    if product is not None and len(product) == len(reference) and rounds:
        print(f"      round by round {min(rounds):.2f} / {statistics.median(rounds):.2f} / {max(rounds):.2f} "
              f"(min / median / max of {len(rounds)} rounds)", flush=True)


def print_difference(title: str, unit: str, minuend: Sequence[float], subtrahend: Sequence[float],
                     reference: Optional[Sequence[float]] = None) -> None:
    """The difference of two jobs round by round (same rounds, so the same conditions), with
    its share of the reference's median."""
    pairs = [a - b for a, b in zip(minuend, subtrahend) if a >= 0 and b >= 0]
    print(f"   {title}", flush=True)
    if not pairs:
        print("      no figure")
        return
    line = (f"      {min(pairs):7.3f} / {statistics.median(pairs):7.3f} / {max(pairs):7.3f} {unit} "
            f"(min / median / max of {len(pairs)} rounds)")
    good_r = [v for v in reference or [] if v >= 0]
    if good_r and statistics.median(good_r) > 0:
        line += f"; {statistics.median(pairs) / statistics.median(good_r):.2f} of the reference's median"
    print(line, flush=True)


# -- click -> whole frame on screen --------------------------------------------------------------

def native_tool(name: str, *libraries: str) -> Path:
    """A native X client of benchmarks/NAME.c, compiled when missing or older than its source."""
    source = REPO / "benchmarks" / f"{name}.c"
    binary = BUILD_DIR / "bench" / name
    if not binary.is_file() or binary.stat().st_mtime < source.stat().st_mtime:
        binary.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cc", "-std=c11", "-D_POSIX_C_SOURCE=200809L", "-O2", "-Wall", "-Wextra", "-Werror",
                        "-o", str(binary), str(source), *[f"-l{lib}" for lib in libraries]], check=True)
    return binary


def frame_timer() -> Path:
    """Clicks, then times the map and the whole frame of the full-screen window that follows."""
    return native_tool("frame_timer", "Xdamage", "Xfixes", "Xtst", "X11")


def frame_counter() -> Path:
    """Counts the frames that reach the screen until told to stop."""
    return native_tool("frame_counter", "Xdamage", "Xfixes", "X11")


def time_frame(s: Session, x: int, y: int) -> dict[str, float]:
    """Click at (x, y) and time the full-screen window that follows: ms to its map, to the whole
    frame first on screen and to the last whole-screen damage (-1 when it never came)."""
    out = s.run([str(frame_timer()), str(x), str(y)], check=False, timeout=60)
    figures = {key: float(value) for key, value in re.findall(r"^(\w+) (-?[\d.]+)$", out, re.M)}
    return {"mapped": figures.get("mapped", -1), "frame": figures.get("first_frame", -1),
            "settled": figures.get("last_frame", -1)}


def reference_frame(s: Session) -> dict[str, float]:
    """One run of grab_and_show.exe: clicked in its small window, ended afterwards."""
    proc = s.start(reference_exe("grab_and_show.exe"))
    wid = s.wait_window("^bare grab$", timeout=30)
    g = wait_until(lambda: s.window_geometry(wid), 10)
    time.sleep(0.5)  # the window drawn and idle, as a user would find it
    figures = time_frame(s, *g.centre)
    proc.terminate()
    proc.wait(10)
    s.wait_window_gone("^bare frozen$")
    return figures


def rss_mib(pid: int) -> float:
    """The working set (VmRSS) of a process, in MiB; -1 when it cannot be read."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return -1


def reference_memory(s: Session, settle: float = 1.0) -> dict[str, float]:
    """One run of grab_and_show.exe: its working set in MiB with its small window ("baseline"),
    with the frozen picture on the screen ("shown") and `settle` seconds after a right click closed
    the popup ("closed")."""
    proc = s.start(reference_exe("grab_and_show.exe"))
    wid = s.wait_window("^bare grab$", timeout=30)
    g = wait_until(lambda: s.window_geometry(wid), 10)
    time.sleep(1)
    figures = {"baseline": rss_mib(proc.pid)}
    time_frame(s, *g.centre)
    figures["shown"] = rss_mib(proc.pid)
    s.click(s.width // 2, s.height // 2, 3)
    s.wait_window_gone("^bare frozen$")
    time.sleep(settle)
    figures["closed"] = rss_mib(proc.pid)
    proc.terminate()
    proc.wait(10)
    return figures


# -- drag CPU ---------------------------------------------------------------------------------------

def cpu_seconds(pid: int) -> float:
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime


def wait_until_idle(pid: int) -> None:
    """Until a process has worked off its queued input: its CPU time stops rising (20 s at most)."""
    last = [-1.0]

    def quiet() -> bool:
        now = cpu_seconds(pid)
        done, last[0] = now == last[0], now
        return done
    wait_until(quiet, 20, 0.3)


def find_pid(names: tuple[str, ...], test) -> int:
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                if f.read().strip() not in names:
                    continue
            if test(int(entry)):
                return int(entry)
        except OSError:
            continue
    raise AssertionError(f"no {' or '.join(names)} process of this session")


def ours_by_prefix(pid: int) -> bool:
    with open(f"/proc/{pid}/environ", "rb") as f:
        return f"WINEPREFIX={WINEPREFIX}".encode() in f.read().split(b"\0")


def session_pids(s: Session, program: int) -> dict[str, int]:
    """The processes whose CPU a drag costs: the program, this prefix's wineserver, the X server."""
    return {"program": program, "wineserver": find_pid(("wineserver", "wineserver64"), ours_by_prefix),
            "X server": s.x_server_pid}


def diagonal(width: int, height: int) -> list[tuple[int, int]]:
    """MOVES + 1 points from near the top-left corner to near the bottom-right one."""
    x0, y0, x1, y1 = 50, 50, width - 50, height - 50
    return [(x0 + (x1 - x0) * i // MOVES, y0 + (y1 - y0) * i // MOVES) for i in range(MOVES + 1)]


def drag_command(points: list[tuple[int, int]]) -> list[str]:
    cmd = ["xdotool", "mousemove", "--sync", *map(str, points[0]), "sleep", "0.1", "mousedown", "1"]
    for x, y in points[1:]:
        cmd += ["mousemove", str(x), str(y), "sleep", str(MOVE_PAUSE_S)]
    return cmd + ["mouseup", "1"]


def measure_drag(s: Session, pids: dict[str, int], points: list[tuple[int, int]],
                 frames: Optional[list[int]] = None) -> tuple[dict, dict, float]:
    """CPU seconds per process for the drag, and for an idle span as long; wall seconds. With
    `frames`, the frames that reached the screen over the drag (frame_counter) are appended."""
    def snapshot() -> dict:
        return {name: cpu_seconds(pid) for name, pid in pids.items()}

    def settle() -> None:
        wait_until_idle(pids["program"])

    settle()
    counter = None
    if frames is not None:
        counter = subprocess.Popen([str(frame_counter())], env=s.env, stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, text=True)
        counter.stdout.readline()  # "ready"
    before, start = snapshot(), time.monotonic()
    s.run(drag_command(points), timeout=300)
    settle()
    after, wall = snapshot(), time.monotonic() - start
    if counter is not None:
        out, _ = counter.communicate(timeout=30)
        found = re.findall(r"^frames (\d+)$", out, re.M)
        frames.append(int(found[-1]) if found else -1)
    busy = {name: after[name] - before[name] for name in pids}
    before = snapshot()
    time.sleep(wall)
    idle = {name: cpu_seconds(pid) - before[name] for name, pid in pids.items()}
    return busy, idle, wall


def reference_drag(s: Session, frames: Optional[list[int]] = None, loupe: bool = False) -> tuple[float, int]:
    """One run of bare_overlay.exe: (CPU ms per move over the drag, frames it painted); with
    `frames`, the frames seen on the screen are appended to it; with `loupe`, it draws its bare
    loupe too."""
    proc = s.start(reference_exe("bare_overlay.exe"), *(["--loupe"] if loupe else []))
    s.wait_window("^bare overlay$", timeout=30)
    time.sleep(0.5)
    busy, _, _ = measure_drag(s, session_pids(s, proc.pid), diagonal(s.width, s.height), frames)
    s.key("Escape")
    proc.wait(20)
    log = (s.out_dir / "bare_overlay.log").read_text(errors="replace")
    paints = re.findall(r"^moves \d+ paints (\d+)$", log, re.M)
    return sum(busy.values()) * 1000 / MOVES, int(paints[-1]) if paints else -1


# -- the cut ------------------------------------------------------------------------------------------

def reference_cut(s: Session, cuts: int = 10) -> float:
    """One run of bare_cut.exe: the median of its full-screen cuts (copy + clipboard), in ms."""
    log = s.out_dir / "bare_cut.log"
    log.unlink(missing_ok=True)
    proc = s.start(reference_exe("bare_cut.exe"), str(cuts))
    proc.wait(timeout=300)
    found = re.findall(r"^cut \d+ x \d+ copy ([\d.]+) ms clipboard ([\d.]+) ms$", log.read_text(errors="replace"),
                       re.M)
    return statistics.median(float(c) + float(b) for c, b in found) if found else -1


# -- the references alone ------------------------------------------------------------------------------

def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("jobs", nargs="*", choices=["frame", "drag", "cut", []], default=[])
    parser.add_argument("--sizes", nargs="*", default=[f"{w}x{h}" for w, h in SIZES])
    parser.add_argument("--runs", type=int, default=RUNS)
    args = parser.parse_args(argv)
    jobs = args.jobs or ["frame", "drag", "cut"]
    for width, height in (tuple(int(v) for v in size.split("x")) for size in args.sizes):
        print(f"== references at {width}x{height}, {args.runs} runs", flush=True)
        with Session(width, height, name="bench-references") as s:
            s.show_pattern("coords")
            if "frame" in jobs:
                runs = [reference_frame(s) for _ in range(args.runs)]
                print_comparison("click -> full-screen window mapped", "ms", None, [r["mapped"] for r in runs])
                print_comparison("click -> whole frozen frame on screen", "ms", None, [r["frame"] for r in runs])
            if "drag" in jobs:
                runs = [reference_drag(s) for _ in range(args.runs)]
                print_comparison(f"drag CPU per move ({MOVES} moves)", "ms", None, [r[0] for r in runs])
                print(f"      frames painted: {[r[1] for r in runs]}")
            if "cut" in jobs:
                print_comparison("full-screen cut", "ms", None, [reference_cut(s) for _ in range(args.runs)])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
