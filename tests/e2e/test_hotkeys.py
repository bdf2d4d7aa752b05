"""One program per session and the global hotkeys, as a user meets them under Wine.

Started twice, one program runs and its main window comes back from the tray, also while the
auto-cut runs. Ctrl+Alt+F7 starts a capture, Ctrl+Alt+F8 puts a picture on the clipboard
within half a second (none while paused), Ctrl+Alt+F9 pauses and resumes, Ctrl+Alt+F10 shows
the overlay with the area in place; keys pressed while an overlay is up start no second one.
With Ctrl+Alt+F8 held by another program first, the program says so and the other keys work.

Wine 8 delivers a RegisterHotKey press only while one of its own windows has the keyboard (it
makes no X grab), so the keys are pressed with the stand-in chat window (or the program's own)
in front, as a user presses them in QQ right before pasting. Xvfb's keymap turns Ctrl+Alt+F1 to
F12 into a virtual-terminal switch that no client sees; the scenario takes that action out.
"""

from __future__ import annotations

import re
import statistics
import subprocess
import sys
import time
import unittest
from pathlib import Path
from typing import Optional

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Geometry, Session, pelvanto_exe, process_alive, wait_until  # noqa: E402
from scenarios import (MAIN, OVERLAY, ClipboardWatch, find_outline, helper_exe,  # noqa: E402
                       select, set_interval, start_capture, start_program)

SEL = Geometry(300, 200, 240, 160)
BARE = Geometry(0, 0, SEL.width + 40, SEL.height + 40)
KEYS = {"start": "F7", "cut": "F8", "pause": "F9", "adjust": "F10"}
EXIT_BUTTON = Geometry(496, 16, 84, 30)


def free_function_keys(s: Session) -> None:
    """Take the virtual-terminal switch off Ctrl+Alt+F1..F12 in the display's keymap."""
    keymap = subprocess.run(["xkbcomp", s.display, "-"], env=s.env, capture_output=True, check=True).stdout
    fixed = re.sub(rb"SwitchScreen\([^)]*\)", b"NoAction()", keymap)
    subprocess.run(["xkbcomp", "-", s.display], env=s.env, input=fixed, capture_output=True, check=True)


def press(s: Session, name: str) -> float:
    """Press a hotkey; returns when the press began (time.monotonic)."""
    began = time.monotonic()
    s.run(["xdotool", "key", "ctrl+alt+" + KEYS.get(name, name)])
    return began


def focus(s: Session, wid: int) -> None:
    """Click a window so that it has the keyboard; Wine loses the first key after that, so a
    lone Shift goes first."""
    g = s.window_geometry(wid)
    s.click(g.x + g.width // 2, g.y + g.height // 2)
    time.sleep(0.3)
    s.run(["xdotool", "key", "shift"])
    time.sleep(0.2)


def copy_and_exit(s: Session, sel: Geometry) -> None:
    s.click(sel.x + sel.width - 75 + 37, sel.y + sel.height + 4 + 13)
    s.wait_window_gone(OVERLAY)


def next_of_size(clip: ClipboardWatch, bare: bool, timeout: float) -> Optional[float]:
    """When the next picture of the program (bare=False) or of the bare reference came."""
    deadline = time.monotonic() + timeout
    while (got := clip.wait_picture(max(0.0, deadline - time.monotonic()))) is not None:
        if (got[1].width == BARE.width) == bare:
            return got[0]
    return None


def log_lines(s: Session, name: str) -> list[str]:
    path = s.out_dir / name
    return path.read_text(errors="replace").splitlines() if path.is_file() else []


class OneInstanceAndHotkeys(unittest.TestCase):

    def test_a_second_start_shows_the_first(self):
        with Session(1024, 768, name="single-instance") as s:
            s.show_pattern("coords")
            first, main = start_program(s)
            s.minimize(s.wait_window(MAIN))
            s.wait_window_gone(MAIN)
            self.assertIsNotNone(wait_until(s.tray_window, 10), "no icon after minimising")

            for when in ("hidden in the tray", "while the auto-cut runs"):
                second = s.start(pelvanto_exe())
                self.assertEqual(second.wait(15), 0, f"{when}: the second start did not hand over")
                self.assertTrue(process_alive(first), f"{when}: the first program ended")
                s.wait_window(MAIN, timeout=10)
                self.assertEqual(len(s.find_windows(MAIN)), 1, f"{when}: not one main window")
                if when == "hidden in the tray":
                    self.assertIsNotNone(wait_until(lambda: s.tray_window() is None, 5),
                                         "the icon stayed after the window came back")
                    start_capture(s, s.window_geometry(s.wait_window(MAIN)))
                    select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
                    copy_and_exit(s, SEL)
                    s.wait_window_gone(MAIN)

            # "关闭退出", and a start right behind it: it runs once the first is gone.
            main = s.window_geometry(s.wait_window(MAIN))
            s.click(main.x + EXIT_BUTTON.x + 42, main.y + EXIT_BUTTON.y + 15)
            third = s.start(pelvanto_exe())
            self.assertIsNotNone(wait_until(lambda: not process_alive(first), 10), "the first did not end")
            s.wait_window(MAIN, timeout=20)
            self.assertTrue(process_alive(third), "the start after an exit did not stay")

    def test_each_hotkey_acts_as_its_menu_item(self):
        with Session(1024, 768, name="hotkeys") as s, ClipboardWatch(s) as clip:
            s.show_pattern("coords")
            free_function_keys(s)
            s.start(helper_exe("qq.exe"))
            chat = s.wait_window("^张三$", timeout=20)
            # The reference: a bare program that copies as much of the screen to the clipboard on
            # its own key, Ctrl+Alt+F11.
            # Its pictures are larger than any cut (margins stop at 29 px), so the two never mix.
            holder = s.start(helper_exe("hotkey_holder.exe"), "3", "7A", str(BARE.width), str(BARE.height))
            self.assertIsNotNone(wait_until(lambda: "held" in log_lines(s, "hotkey_holder.log"), 20))
            proc, main = start_program(s)
            focus(s, s.wait_window(MAIN))
            set_interval(s, main, "0")  # only the keys cut

            press(s, "start")
            overlay = s.wait_window(OVERLAY, timeout=15)
            time.sleep(0.5)
            select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
            # The first freeze is up: no key changes its selection or starts another overlay.
            focus(s, overlay)
            for name in ("start", "cut", "pause", "adjust"):
                press(s, name)
            time.sleep(0.5)
            self.assertEqual(find_outline(s.screenshot_pixels()), SEL, "a key changed the first freeze")
            self.assertEqual(len(s.find_windows(OVERLAY)), 1)
            copy_and_exit(s, SEL)
            self.assertIsNone(clip.wait_picture(1.5), "a picture at interval 0 without a key")

            # Cut now, in front of the chat, interleaved with the bare program's key.
            focus(s, chat)
            cut, bare = [], []
            for _ in range(7):
                began = press(s, "cut")
                got = next_of_size(clip, False, 2)
                self.assertIsNotNone(got, "no picture for Ctrl+Alt+F8")
                cut.append(got - began)
                time.sleep(0.3)
                began = press(s, "F11")
                got = next_of_size(clip, True, 2)
                if got is not None:
                    bare.append(got - began)
                time.sleep(0.3)
            while clip.wait_picture(0.3):
                pass
            ms = lambda xs: " / ".join(f"{x * 1000:.0f}" for x in (min(xs), statistics.median(xs), max(xs)))
            print(f"hotkeys: Ctrl+Alt+F8 to a picture on the clipboard {ms(cut)} ms (min / median / max, "
                  f"{len(cut)} presses); a bare program copying as much on its own key {ms(bare)} ms; "
                  f"ratio {statistics.median(cut) / statistics.median(bare):.2f}", flush=True)
            self.assertLess(statistics.median(cut), 0.5, "Ctrl+Alt+F8 took longer than 0.5 s")

            # Paused: the cut key leaves the clipboard alone; resumed, it cuts again.
            press(s, "pause")
            time.sleep(0.3)
            press(s, "cut")
            self.assertIsNone(clip.wait_picture(1.5), "a picture while paused")
            press(s, "pause")
            time.sleep(0.3)
            began = press(s, "cut")
            got = clip.wait_picture(2)
            self.assertIsNotNone(got, "no picture after resuming")
            self.assertLess(got[0] - began, 0.5 + 0.5)

            # Adjust: the overlay with the area in place; more keys start no second one.
            press(s, "adjust")
            overlay = s.wait_window(OVERLAY, timeout=10)
            time.sleep(0.5)
            self.assertEqual(find_outline(s.screenshot_pixels()), SEL, "the area is not in place")
            focus(s, overlay)
            for name in ("adjust", "start", "cut"):
                press(s, name)
            time.sleep(0.5)
            self.assertEqual(len(s.find_windows(OVERLAY)), 1)
            self.assertIsNone(clip.wait_picture(0.5), "a cut into the adjustment")
            s.key("Escape")
            s.wait_window_gone(OVERLAY)
            self.assertTrue(process_alive(proc))
            holder.terminate()

    def test_a_taken_key_is_named_and_the_others_work(self):
        with Session(1024, 768, name="hotkey-taken") as s, ClipboardWatch(s) as clip:
            s.show_pattern("coords")
            free_function_keys(s)
            s.start(helper_exe("hotkey_holder.exe"), "3", "77")  # Ctrl+Alt+F8 first
            self.assertIsNotNone(wait_until(lambda: "held" in log_lines(s, "hotkey_holder.log"), 20))
            proc, main = start_program(s)
            # The tip says so (its text is checked by the Win32 tests): hover the icon, for the record.
            s.minimize(s.wait_window(MAIN))
            s.wait_window_gone(MAIN)
            s.move(*s.tray_icon_centre(0))
            time.sleep(2)
            s.screenshot(s.out_dir / "tip.png")

            s.double_click(*s.tray_icon_centre(0))
            focus(s, s.wait_window(MAIN, timeout=10))
            press(s, "start")
            s.wait_window(OVERLAY, timeout=15)
            time.sleep(0.5)
            select(s, SEL.x, SEL.y, SEL.x + SEL.width, SEL.y + SEL.height)
            copy_and_exit(s, SEL)
            self.assertIsNotNone(clip.wait_picture(5), "no picture at the pace")
            # Ctrl+Alt+F8 goes to the program that holds it; F9 pauses.
            before = log_lines(s, "hotkey_holder.log").count("pressed")
            s.start(helper_exe("qq.exe"))
            focus(s, s.wait_window("^张三$", timeout=20))
            press(s, "pause")
            time.sleep(0.5)
            while clip.wait_picture(0.1):
                pass
            press(s, "cut")
            self.assertIsNotNone(wait_until(
                lambda: log_lines(s, "hotkey_holder.log").count("pressed") > before, 3))
            self.assertIsNone(clip.wait_picture(3), "a picture while paused")
            self.assertTrue(process_alive(proc))


if __name__ == "__main__":
    unittest.main(verbosity=2)
