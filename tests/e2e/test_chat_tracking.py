"""Chat-window tracking under Wine: Pelvanto empties the clipboard when the cleaned title of the
last activated QQ window changes, and leaves it alone otherwise.

Stand-in programs run beside it: qq.exe ("张三"), myqq.exe ("李四群", whose name merely ends
in "qq.exe"), notchat.exe ("记事本"), and a second qq.exe ("孙七") that is never in the
foreground: a helper posts the shell's activation message with code 0x8004 for it, as the
shell of Windows 8 and later reports most activations. Before each step a picture is put on the
clipboard; the step either empties it (within a few seconds: the watch runs once a second) or
keeps it for longer than two ticks of the watch.
"""

from __future__ import annotations

import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import Session, pelvanto_exe, wait_until  # noqa: E402
import fake_chats  # noqa: E402
from fake_chats import FakeChat, active_window, has_picture, post_shell_activation, put_picture  # noqa: E402

MAIN = r"^Pelvanto \("

EMPTIED, KEPT = "emptied", "kept"
# Three ticks of the once-a-second watch, and many of the 200 ms foreground poll.
KEEP_S = 3.0
# Generous: Wine under load can be slow; the figures come from bench_tracking.py.
EMPTY_TIMEOUT_S = 8.0


class ChatTracking(unittest.TestCase):

    def test_clipboard_follows_the_cleaned_title_of_the_last_activated_chat(self):
        exe = pelvanto_exe()
        with Session(1024, 768, name="chat-tracking") as s:
            # The programs start before Pelvanto, and a program that is not a chat is active
            # when it starts, so no chat window is known at first.
            qq = FakeChat(s, "qq.exe", "张三")
            myqq = FakeChat(s, "myqq.exe", "李四群")
            notchat = FakeChat(s, "notchat.exe", "记事本")
            # A second QQ window, never brought to the foreground.
            background_qq = FakeChat(s, "qq.exe", "孙七", control_name="qq-background")
            notchat.activate()
            s.start(exe)
            s.wait_window(MAIN, timeout=30)

            def nothing() -> None:
                pass

            def rude_activation_in_background() -> None:
                # Windows 8 and later report most activations as 0x8004; this one names a
                # window that stays behind the active one.
                post_shell_activation(s, 0x8004, "孙七")
                self.assertEqual(active_window(s), myqq.wid, "the activation moved the foreground")

            def close_chat() -> None:
                qq.close()
                # Were myqq.exe's window activated in its place, it would become the chat window.
                self.assertEqual(active_window(s), notchat.wid, "the active window moved on the close")

            steps = [
                ("Pelvanto running, no chat activated yet", nothing, KEPT),
                # The first chat changes the cleaned title from empty to "张三".
                ("activating the chat 张三", qq.activate, EMPTIED),
                ("group title 张三等3人 cleans to the same 张三", lambda: qq.set_title("张三等3人"), KEPT),
                ("the chat becomes 李四", lambda: qq.set_title("李四"), EMPTIED),
                ("activating a program that is not a chat", notchat.activate, KEPT),
                ("retitling that program", lambda: notchat.set_title("记事本 - 草稿"), KEPT),
                ("the chat window becomes 系统消息 (cleans to empty)", lambda: qq.set_title("系统消息"), EMPTIED),
                # Both clean to empty as well, so nothing changes (no second emptying either).
                ("the chat window becomes 验证消息", lambda: qq.set_title("验证消息"), KEPT),
                ("a title that begins with 等", lambda: qq.set_title("等3人"), KEPT),
                ("the chat becomes 王五", lambda: qq.set_title("王五"), EMPTIED),
                # The closed window's title reads as empty; the active window stays notchat.
                ("closing the chat window", close_chat, EMPTIED),
                ("no second emptying after the close", nothing, KEPT),
                # "myqq.exe" ends in "qq.exe": its window becomes the chat window.
                ("activating the window of myqq.exe", myqq.activate, EMPTIED),
                ("no second emptying after activating it", nothing, KEPT),
                ("retitling myqq.exe's window", lambda: myqq.set_title("赵六"), EMPTIED),
                # The shell's 0x8004 for a QQ window in the background makes it the chat.
                ("a 0x8004 activation of the QQ window 孙七 in the background",
                 rude_activation_in_background, EMPTIED),
                ("retitling myqq.exe's window again", lambda: myqq.set_title("钱九"), KEPT),
                ("retitling 孙七's window", lambda: background_qq.set_title("周八"), EMPTIED),
            ]
            for what, action, expected in steps:
                with self.subTest(step=what):
                    put_picture(s, notchat)
                    start = time.monotonic()
                    action()
                    if expected == EMPTIED:
                        gone = wait_until(lambda: not has_picture(s), EMPTY_TIMEOUT_S, 0.05)
                        self.assertTrue(gone, f"{what}: the clipboard still holds the picture")
                        print(f"  {what}: emptied after {time.monotonic() - start:.2f} s", flush=True)
                    else:
                        time.sleep(KEEP_S)
                        self.assertTrue(has_picture(s), f"{what}: the clipboard was emptied")
                        print(f"  {what}: kept", flush=True)
            if fake_chats.stalled_looks:
                print(f"  ({fake_chats.stalled_looks} clipboard look(s) went unanswered and were asked again)")


if __name__ == "__main__":
    unittest.main(verbosity=2)
