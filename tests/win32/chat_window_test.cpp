// The shell's activation messages through the real main window, and the process-path
// fallback, against stand-in chat programs in processes of their own.
#include <gtest/gtest.h>

#include "platform/win32/base/messages.h"
#include "tracking/chat_tracker.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

WindowId Id(HWND window) { return reinterpret_cast<WindowId>(window); }

TEST(ShellMessage, ActivationCodesMakeTheWindowTheChatWindowOthersDoNot) {
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  ChatProcess first(L"甲"), second(L"乙");
  ASSERT_TRUE(first.window() && second.window());
  const HWND main = rig.main->hwnd();
  const UINT shell = ::RegisterWindowMessageW(L"SHELLHOOK");

  struct Case {
    const char* name;
    WPARAM code;
    bool activates;
  };
  const Case cases[] = {
      {"window activated", 4, true}, {"rude activation, a full-screen window exists", 0x8004, true},
      {"window created", 1, false},  {"window destroyed", 2, false},
      {"redraw", 6, false},          {"full-screen flag alone", 0x8000, false},
  };
  for (const Case& c : cases) {
    // Sent, not posted: no timer of the foreground watch runs in between.
    ::SendMessageW(main, shell, 4, reinterpret_cast<LPARAM>(first.window()));
    ASSERT_EQ(rig.main->chat_tracker().ChatWindow(), Id(first.window())) << c.name;
    ::SendMessageW(main, shell, c.code, reinterpret_cast<LPARAM>(second.window()));
    EXPECT_EQ(rig.main->chat_tracker().ChatWindow(),
              Id(c.activates ? second.window() : first.window()))
        << c.name;
  }

  // The messages acted on went on to the window's own handling, and so do all others.
  ::SetWindowTextW(main, L"after the shell's messages");
  wchar_t title[64] = {};
  ::GetWindowTextW(main, title, 64);
  EXPECT_STREQ(title, L"after the shell's messages");
}

TEST(ShellMessages, WindowsAcceptsTheSubscription) {
  if (UnderWine()) GTEST_SKIP() << "Wine refuses RegisterShellHookWindow; see ForegroundWatch";
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  // The foreground watch's timer exists only where the shell refused the window.
  EXPECT_FALSE(::KillTimer(rig.main->hwnd(), kForegroundTimer))
      << "RegisterShellHookWindow failed on Windows";
}

TEST(ForegroundWatch, WhereTheShellRefusesAnActivatedChatBecomesTheChatWindow) {
  if (!UnderWine())
    GTEST_SKIP() << "Windows accepts the shell hook, so this stand-in for it never runs";
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  ChatProcess first(L"丁"), second(L"戊");
  ASSERT_TRUE(first.window() && second.window());
  PumpFor(500);  // the window manager focuses new windows in its own time
  for (const HWND chat : {first.window(), second.window(), first.window()}) {
    // Wine hands the focus on through the X server: the change shows a little later.
    const ULONGLONG deadline = ::GetTickCount64() + 3000;
    while (::GetForegroundWindow() != chat && ::GetTickCount64() < deadline) {
      ::SetForegroundWindow(chat);
      PumpFor(50);
    }
    ASSERT_EQ(::GetForegroundWindow(), chat) << "never the foreground window";
    PumpFor(3 * ShellMessages::kForegroundIntervalMs);
    EXPECT_EQ(rig.main->chat_tracker().ChatWindow(), Id(chat));
  }
}

TEST(ProcessPath, FoundWithLimitedRightsWhenTheFirstWayFails) {
  ChatProcess chat(L"丙");
  ASSERT_TRUE(chat.window());
  const SystemWindowQueries usual;
  const SystemWindowQueries refused([](DWORD) { return std::wstring{}; });
  const std::wstring expected = usual.ProcessPath(Id(chat.window()));
  EXPECT_TRUE(tracking::IsChatProcessPath(expected)) << "first way";
  // The same lower-case path, by the other way.
  EXPECT_EQ(refused.ProcessPath(Id(chat.window())), expected);
  EXPECT_EQ(refused.ProcessPath(0), L"");
}

}  // namespace
}  // namespace pelvanto::win32::testing
