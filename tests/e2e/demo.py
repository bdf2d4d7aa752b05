"""A short demonstration of Pelvanto.exe on a virtual display, for machines without a screen
(`make run` with no $DISPLAY): start, mark an area on the frozen screen, go to the tray, come
back to the main window, stop and exit. Screenshots of each step go to build/demo/.
"""

from __future__ import annotations

import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import BUILD_DIR, Geometry, Session, pelvanto_exe, process_alive, wait_until  # noqa: E402
from test_main_window import (CAPTURE_BUTTON, EXIT_BUTTON, MAIN, OVERLAY, TOOLBAR_BACK,  # noqa: E402
                              click_in, copy_exit_button)

OUT = BUILD_DIR / "demo"
WIDTH, HEIGHT = 1280, 800


def main() -> int:
    exe = pelvanto_exe()
    shutil.rmtree(OUT, ignore_errors=True)
    OUT.mkdir(parents=True)
    shots = []

    def shot(s: Session, name: str, what: str) -> None:
        path = s.screenshot(OUT / name)
        shots.append((path, what))
        print(f"  {what}")

    print(f"Running {exe} under Wine on a virtual {WIDTH}x{HEIGHT} screen...")
    with Session(WIDTH, HEIGHT, name="demo") as s:
        s.show_pattern("coords")
        proc = s.start(exe)
        main_wid = s.wait_window(MAIN, timeout=60)
        g = s.window_geometry(main_wid)
        shot(s, "1-main-window.png", "the main window")

        click_in(s, g, CAPTURE_BUTTON)
        s.wait_window(OVERLAY, timeout=15)
        s.wait_window_gone(MAIN)
        s.show_pattern("stripes")  # the real screen changes; the overlay keeps the frozen picture
        shot(s, "2-frozen-overlay.png", "切图开始: the frozen screen (the real one has changed meanwhile)")

        sel = Geometry(WIDTH // 4, HEIGHT // 4, WIDTH // 3, HEIGHT // 3)
        s.drag(sel.x, sel.y, sel.x + sel.width, sel.y + sel.height)
        button = copy_exit_button(sel)
        s.wait_colour(button[0] - 12, button[1], TOOLBAR_BACK)
        s.move(*button)
        shot(s, "3-selection.png", "an area marked on the frozen screen, with the toolbar")

        s.click(*button)
        s.wait_window_gone(OVERLAY)
        wait_until(s.tray_window, 10)
        shot(s, "4-in-tray.png", "复制退出: the live screen, both windows in the tray (top left)")

        s.double_click(*s.tray_icon_centre(0))
        main_wid = s.wait_window(MAIN, timeout=10)
        g = s.window_geometry(main_wid)
        shot(s, "5-back-to-main-window.png", "a double click on the tray icon: the main window is back")

        click_in(s, g, CAPTURE_BUTTON)
        wait_until(lambda: s.tray_window() is None, 10)
        click_in(s, g, EXIT_BUTTON)
        if not wait_until(lambda: not process_alive(proc), 15):
            print("Pelvanto.exe did not end after 关闭退出", file=sys.stderr)
            return 1
    print(f"Screenshots are in {OUT}/:")
    for path, what in shots:
        print(f"  {path.name:28} {what}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
