"""Runs the Win32 integration tests (build/mingw/win32-tests/pelvanto_win32_tests.exe) under
Wine on a private virtual display, the same session the end-to-end scenarios use. The exit
code is the test program's; its output is GoogleTest's. PELVANTO_WIN32_TEST_EXE names another
GoogleTest program of the Windows build (e.g. tests/pelvanto_tests.exe, the unit tests);
PELVANTO_FONTS names the font environment (tests/e2e/fonts/<name>.conf, minimal by default)."""

from __future__ import annotations

import os
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from harness import Session, WIN_BUILD_DIR  # noqa: E402


def main() -> int:
    exe = WIN_BUILD_DIR / os.environ.get("PELVANTO_WIN32_TEST_EXE",
                                         "win32-tests/pelvanto_win32_tests.exe")
    if not exe.is_file():
        print(f"{exe} is missing: build its preset first", flush=True)
        return 1
    # PELVANTO_WIN32_MONITORS="x,y,w,h[,primary]|..." runs them in a layout of several monitors.
    layout = os.environ.get("PELVANTO_WIN32_MONITORS")
    monitors = [tuple(int(v) for v in m.split(",")) for m in layout.split("|")] if layout else None
    fonts = os.environ.get("PELVANTO_FONTS", "minimal")
    session = Session(monitors=monitors, name="win32-monitors", fonts=fonts) if monitors else Session(
        1024, 768, name=f"win32-tests-{fonts}", fonts=fonts)
    with session as s:
        # The Wine process is the test program itself; its exit code comes through wine.
        res = subprocess.run(["wine", str(exe), *sys.argv[1:]], cwd=str(exe.parent), env=s.env,
                             stdin=subprocess.DEVNULL, timeout=360)
        return res.returncode


if __name__ == "__main__":
    sys.exit(main())
