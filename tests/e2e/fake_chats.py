"""The stand-in chat programs (qq.exe, myqq.exe, notchat.exe) driven from a test, and the
clipboard as the chat-window tracking sees it.

Each program follows the lines appended to its control file (see helpers/fake_chat.cpp). The
control files sit in the session's output folder, so after a failure they show what was asked.
"""

from __future__ import annotations

import subprocess
import time
from pathlib import Path
from typing import Optional

from harness import Session, pelvanto_exe, process_alive, wait_until


def wine_path(path: Path) -> str:
    """The path as a Windows program under Wine sees it (drive Z: is the Unix root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class FakeChat:
    """One running fake chat program with one window."""

    def __init__(self, s: Session, exe_name: str, title: str, control_name: Optional[str] = None):
        self.s = s
        self.title = title
        self.control = s.out_dir / f"{control_name or Path(exe_name).stem}.ctl"
        self.control.write_text("", encoding="utf-8")
        self.proc = s.start(pelvanto_exe(f"e2e-helpers/{exe_name}"), title, wine_path(self.control))
        self.wid = s.wait_window(f"^{title}$", timeout=30)

    def command(self, line: str) -> None:
        with open(self.control, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    def set_title(self, title: str) -> float:
        """Change the window's title and wait until X shows it; returns when the command was
        given (time.monotonic)."""
        given = time.monotonic()
        self.command(f"title {title}")
        if not wait_until(lambda: self.s.window_name(self.wid) == title, 10, 0.02):
            raise AssertionError(f"the title did not become {title!r}")
        self.title = title
        return given

    def activate(self) -> None:
        """Activate the window through the window manager, as a click on its title bar does;
        Wine's foreground window follows X's active window."""
        self.s.run(["xdotool", "windowactivate", "--sync", str(self.wid)])
        if not wait_until(lambda: active_window(self.s) == self.wid, 10, 0.05):
            raise AssertionError(f"window {self.title!r} did not become active")

    def close(self) -> None:
        self.command("close")
        if not wait_until(lambda: not process_alive(self.proc), 15, 0.05):
            raise AssertionError(f"{self.title!r} did not close")


def post_shell_activation(s: Session, code: int, title: str) -> None:
    """Post the shell's "SHELLHOOK" message with this code for the window of this title to
    Pelvanto's main window, as the shell of Windows 8 and later does."""
    helper = pelvanto_exe("e2e-helpers/shell_message.exe")
    s.run(["wine", str(helper), hex(code), title], timeout=30)


def active_window(s: Session) -> Optional[int]:
    out = s.run(["xdotool", "getactivewindow"], check=False).strip()
    return int(out) if out.isdigit() else None


# How many clipboard looks went unanswered (see clipboard_targets).
stalled_looks = 0


def clipboard_targets(s: Session, timeout: float = 2.0, tries: int = 3) -> list[str]:
    """The X targets the clipboard owner offers. Asked again when the owner does not answer:
    a request that reaches Wine just as the clipboard changes hands is sometimes never
    answered, and xclip would wait for ever."""
    global stalled_looks
    for _ in range(tries):
        try:
            out = s.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], check=False,
                        timeout=timeout)
        except subprocess.TimeoutExpired:
            stalled_looks += 1
            continue
        return [line.strip() for line in out.splitlines() if line.strip()]
    raise AssertionError(f"the clipboard owner answered none of {tries} requests for its targets")


def has_picture(s: Session) -> bool:
    """Whether the clipboard holds a picture (Wine offers a CF_BITMAP as image/bmp)."""
    return "image/bmp" in clipboard_targets(s)


def put_picture(s: Session, owner: FakeChat) -> None:
    """Have the program put its picture on the clipboard, and wait until X offers it. Asked
    again if it does not show: the clipboard may have been open in another program."""
    for _ in range(3):
        owner.command("clip")
        if wait_until(lambda: has_picture(s), 4, 0.05):
            return
    raise AssertionError("no picture on the clipboard after three tries")
