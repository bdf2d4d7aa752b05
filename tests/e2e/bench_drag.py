"""Figures, not a test: the CPU time one scripted drag of 1000 mouse moves costs.

On the overlay the drag draws a selection that grows from near the top-left corner to near the
bottom-right one, at 1920x1080 and at 3840x2160, once with the loupe following the pointer and
once with it turned off (the test-only PELVANTO_TEST_NO_LOUPE=1). As the reference, the same number of moves,
button held, goes over the plain window of the helper notchat.exe: what Wine itself spends on
a move that the program does nothing with. Counted: user + system CPU time of the Windows
process, of wineserver and of the X server (Xvfb), from /proc; the same span of idle time is
measured too and printed beside.

    python3 tests/e2e/bench_drag.py [WIDTHxHEIGHT ...]
"""

from __future__ import annotations

import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import WINEPREFIX, Session, wait_until  # noqa: E402
from scenarios import helper_exe, start_capture, start_program, wait_for_geometry  # noqa: E402

MOVES = 1000
MOVE_PAUSE_S = 0.004
SIZES = [(1920, 1080), (3840, 2160)]
TICK = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime


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


def child_of_us(pid: int) -> bool:
    with open(f"/proc/{pid}/stat") as f:
        return int(f.read().rsplit(")", 1)[1].split()[1]) == os.getpid()


def drag_command(points: list[tuple[int, int]]) -> list[str]:
    cmd = ["xdotool", "mousemove", "--sync", *map(str, points[0]), "sleep", "0.1", "mousedown", "1"]
    for x, y in points[1:]:
        cmd += ["mousemove", str(x), str(y), "sleep", str(MOVE_PAUSE_S)]
    return cmd + ["mouseup", "1"]


def measure(s: Session, pids: dict[str, int], points: list[tuple[int, int]]) -> tuple[dict, dict, float]:
    """CPU seconds per process for the drag, and for an idle span as long; wall seconds."""
    def snapshot() -> dict:
        return {name: cpu_seconds(pid) for name, pid in pids.items()}

    def settle() -> None:
        # Until the program has worked off the queued moves: its CPU time stops rising.
        last = [-1.0]

        def quiet() -> bool:
            now = cpu_seconds(pids["program"])
            done, last[0] = now == last[0], now
            return done
        wait_until(quiet, 20, 0.3)

    settle()
    before, start = snapshot(), time.monotonic()
    s.run(drag_command(points), timeout=300)
    settle()
    after, wall = snapshot(), time.monotonic() - start
    busy = {name: after[name] - before[name] for name in pids}
    before = snapshot()
    time.sleep(wall)
    idle = {name: cpu_seconds(pid) - before[name] for name, pid in pids.items()}
    return busy, idle, wall


def report(title: str, busy: dict, idle: dict, wall: float) -> float:
    total = sum(busy.values())
    parts = ", ".join(f"{name} {busy[name] * 1000:.0f} ms" for name in busy)
    print(f"   {title}: {total * 1000:.0f} ms CPU ({parts}) over {wall:.1f} s; "
          f"idle over as long: {sum(idle.values()) * 1000:.0f} ms; "
          f"{total / MOVES * 1e6:.0f} us a move", flush=True)
    return total


def run(width: int, height: int) -> None:
    print(f"== {MOVES} moves at {width}x{height}", flush=True)
    with Session(width, height, name="bench-drag") as s:
        s.show_pattern("coords")
        x0, y0, x1, y1 = 50, 50, width - 50, height - 50
        path = [(x0 + (x1 - x0) * i // MOVES, y0 + (y1 - y0) * i // MOVES) for i in range(MOVES + 1)]
        # The same drag with the loupe following the pointer, and with the loupe turned off.
        figures = {}
        for loupe in (True, False):
            proc, main = start_program(s, loupe=loupe)
            start_capture(s, main)
            time.sleep(1)
            pids = {"program": proc.pid, "wineserver": find_pid(("wineserver", "wineserver64"), ours_by_prefix),
                    "Xvfb": find_pid(("Xvfb",), child_of_us)}
            title = f"Pelvanto overlay, drawing a selection, loupe {'on' if loupe else 'off'}"
            figures[loupe] = report(title, *measure(s, pids, path))
            s.click(width // 2, 20, button=3)  # clears the selection
            s.click(width // 2, 20, button=3)  # closes the overlay
            proc.terminate()
            proc.wait(timeout=30)
        overlay = figures[True]
        print(f"   the loupe costs {(figures[True] - figures[False]) / MOVES * 1e6:.0f} us a move", flush=True)

        chat = s.start(helper_exe("notchat.exe"), "plain window")
        g = wait_for_geometry(s, s.wait_window("^plain window$", timeout=20))
        pids["program"] = chat.pid
        # A zigzag over the client area, as many moves.
        span_x, span_y = max(10, g.width - 20), max(10, g.height - 20)
        path = [(g.x + 10 + (i * 7) % span_x, g.y + 10 + (i * 3) % span_y) for i in range(MOVES + 1)]
        plain = report("notchat.exe plain window (reference)", *measure(s, pids, path))
        print(f"   ratio overlay / reference: {overlay / plain:.2f}" if plain else "   reference used no CPU")


def main(argv: list[str]) -> int:
    for size in [tuple(int(v) for v in a.split("x")) for a in argv] or SIZES:
        run(*size)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
