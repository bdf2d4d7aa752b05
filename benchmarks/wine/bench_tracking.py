"""Figures for chat-window tracking under Wine (not a test: it prints, it never fails on a number).

1. Delay from a title change of the chat window to the emptied clipboard, over 20 changes
   that alternate two titles. Each change is preceded by a picture on the clipboard and a
   random pause, so the changes fall at every phase of the once-a-second watch. The clock
   starts when the title command is written to the stand-in's control file; the stand-in
   reads that file every 100 ms, so up to 0.1 s of each figure is the stand-in's. The
   clipboard is polled about every 20 ms.
2. Pelvanto's idle CPU over 30 s with its foreground watch (200 ms) and title watch (1 s)
   running and a chat window known: utime + stime of its Wine process from /proc/<pid>/stat.

    python3 benchmarks/wine/bench_tracking.py [changes] [idle seconds]
"""

from __future__ import annotations

import os
import random
import statistics
import subprocess
import sys
import time
from pathlib import Path

# The benchmarks beside this one, and the end-to-end harness they drive the program with.
sys.path[:0] = [str(Path(__file__).resolve().parent),
                str(Path(__file__).resolve().parents[2] / "tests" / "e2e")]

from harness import Session, pelvanto_exe, wait_until  # noqa: E402
import fake_chats  # noqa: E402
from fake_chats import FakeChat, clipboard_targets, has_picture, put_picture  # noqa: E402

MAIN = r"^Pelvanto \("
POLL_S = 0.02
TITLES = ("张三", "李四")  # the chat window starts as the second, so every change is one
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    """utime + stime of the process, in seconds."""
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()  # the name in parentheses may hold spaces
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def environ_has(pid: int, entry: str) -> bool:
    try:
        return entry.encode() in Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")
    except OSError:
        return False


def pids_on_display(pattern: str, display: str) -> list[int]:
    """Processes whose command line matches pattern (pgrep -f) and that run on this session's
    display: other test runs on the machine may run their own copies."""
    out = subprocess.run(["pgrep", "-f", pattern], stdout=subprocess.PIPE, text=True).stdout
    return [int(p) for p in out.split() if environ_has(int(p), f"DISPLAY={display}")]


def figures(values: list[float]) -> str:
    ms = sorted(v * 1000 for v in values)
    return (f"min {ms[0]:.0f} ms, median {statistics.median(ms):.0f} ms, max {ms[-1]:.0f} ms "
            f"(n={len(ms)}; mean {statistics.mean(ms):.0f} ms)")


def measure_delays(s: Session, qq: FakeChat, notchat: FakeChat, changes: int) -> tuple[list[float], list[float]]:
    delays, title_seen = [], []
    for i in range(changes):
        title = TITLES[i % 2]
        put_picture(s, notchat)
        time.sleep(random.uniform(0.0, 1.0))
        stalled = fake_chats.stalled_looks
        start = time.monotonic()
        qq.command(f"title {title}")
        seen = None
        deadline = start + 10
        while time.monotonic() < deadline:
            if seen is None and s.window_name(qq.wid) == title:
                seen = time.monotonic() - start
            if not has_picture(s):
                delays.append(time.monotonic() - start)
                break
            time.sleep(POLL_S)
        else:
            print(f"  change {i + 1} to {title}: not emptied within 10 s", flush=True)
            continue
        if fake_chats.stalled_looks != stalled:
            # A look at the clipboard went unanswered for a while: the figure says nothing.
            print(f"  change {i + 1:2} to {title}: left out, a clipboard look stalled", flush=True)
            delays.pop()
            continue
        if seen is not None:
            title_seen.append(seen)
        print(f"  change {i + 1:2} to {title}: emptied after {delays[-1] * 1000:4.0f} ms", flush=True)
    return delays, title_seen


def main() -> None:
    changes = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    idle_s = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    with Session(1024, 768, name="bench-tracking") as s:
        qq = FakeChat(s, "qq.exe", TITLES[1])
        notchat = FakeChat(s, "notchat.exe", "记事本")
        proc = s.start(pelvanto_exe())
        s.wait_window(MAIN, timeout=30)
        qq.activate()
        # The first activation empties the clipboard once; let that pass.
        put_picture(s, notchat)
        wait_until(lambda: not has_picture(s), 5, 0.05)

        # What one look at the clipboard costs the poll.
        t = time.monotonic()
        for _ in range(20):
            clipboard_targets(s)
        poll_cost = (time.monotonic() - t) / 20

        print(f"Delay from a title change to the emptied clipboard ({changes} changes):", flush=True)
        delays, title_seen = measure_delays(s, qq, notchat, changes)
        if not delays:
            raise SystemExit("no change was measured")
        print(f"  title change to emptied clipboard: {figures(delays)}")
        if title_seen:
            print(f"  of which title command to new title seen in X: {figures(title_seen)}")
        print(f"  one clipboard look (xclip TARGETS) takes {poll_cost * 1000:.1f} ms; polled every ~{POLL_S * 1000:.0f} ms; "
              f"{fake_chats.stalled_looks} look(s) went unanswered")

        pids = pids_on_display("Pelvanto.exe", s.display)
        pid = pids[0] if pids else proc.pid
        if pids and proc.pid not in pids:
            print(f"  note: pgrep found {pids}, the started process is {proc.pid}")
        servers = pids_on_display("wineserver", s.display)
        # An idle Wine program for comparison: the stand-in wakes every 100 ms to read its file.
        watched = {"Pelvanto.exe": pid, "notchat.exe (stand-in, 100 ms timer)": notchat.proc.pid}
        if servers:
            watched["wineserver (serves every program of the session)"] = servers[0]

        time.sleep(2)
        print(f"Idle CPU over {idle_s:.0f} s (chat window known, main window shown, nothing changing):", flush=True)
        before = {name: cpu_seconds(p) for name, p in watched.items()}
        t0 = time.monotonic()
        time.sleep(idle_s)
        elapsed = time.monotonic() - t0
        for name, p in watched.items():
            used = cpu_seconds(p) - before[name]
            print(f"  {name} [pid {p}]: {used * 1000:.0f} ms CPU in {elapsed:.1f} s = "
                  f"{used / elapsed * 100:.2f} % of one core ({1000 / CLOCK_TICKS:.0f} ms resolution)")


if __name__ == "__main__":
    main()
