// One program per session and the global hotkeys, against the real main window: a second
// Pelvanto.exe hands over to it, a key another program holds is named in the tip, and the keys
// are asked for again when the taskbar comes back.
#include <gtest/gtest.h>

#include <string>

#include "app/auto_cut_menu.h"
#include "core/tray_icon.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/system/single_instance.h"
#include "platform/win32/system/tray_menu.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

// <build>\<rest>: the tests sit in <build>\win32-tests.
std::wstring BuildPath(const std::wstring& rest) {
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size())));
  return exe.substr(0, exe.rfind(L'\\', exe.rfind(L'\\') - 1)) + L"\\" + rest;
}

// Starts a program; its standard output, when asked for, comes through `output`.
OwnedHandle Start(const std::wstring& exe, const std::wstring& args,
                  OwnedHandle* output = nullptr) {
  std::wstring command = L"\"" + exe + L"\" " + args;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (output && ::CreatePipe(&read, &write, &inherit, 0)) {
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    output->Reset(read);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
  }
  PROCESS_INFORMATION info{};
  const BOOL started = ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr,
                                        output != nullptr, 0, nullptr, nullptr, &startup, &info);
  if (write) ::CloseHandle(write);
  if (!started) return {};
  ::CloseHandle(info.hThread);
  return OwnedHandle(info.hProcess);
}

// Runs this thread's messages until the process ends; its exit code, or STILL_ACTIVE.
DWORD PumpUntilExit(HANDLE process, unsigned limit_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + limit_ms;
  while (::WaitForSingleObject(process, 10) == WAIT_TIMEOUT && ::GetTickCount64() < deadline)
    PumpFor(10);
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process, &code);
  return code;
}

bool KeyFree(int vk) {
  const auto key = static_cast<UINT>(vk);
  // With MOD_NOREPEAT: Wine counts it as part of the combination, Windows does not.
  if (!::RegisterHotKey(nullptr, 0x7000, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, key)) return false;
  ::UnregisterHotKey(nullptr, 0x7000);
  return true;
}

TEST(SingleInstance, ASecondStartBringsTheFirstsWindowBackOrEndsWhenItDoesNotAnswer) {
  OwnedHandle claim;
  ASSERT_EQ(ClaimInstance(claim, MainWindow::ClassName()), InstanceClaim::kFirst);
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  ::ShowWindow(main, SW_MINIMIZE);  // into the tray
  PumpFor(100);
  ASSERT_FALSE(::IsWindowVisible(main));
  ASSERT_NE(rig.tray.Find(kMainTrayId), nullptr);

  const std::wstring exe = BuildPath(L"Pelvanto.exe");
  OwnedHandle second = Start(exe, L"");
  ASSERT_TRUE(second) << "cannot start " << std::string(exe.begin(), exe.end());
  EXPECT_EQ(PumpUntilExit(second.get(), 15000), 0U);
  EXPECT_TRUE(::IsWindowVisible(main));
  EXPECT_EQ(rig.tray.Find(kMainTrayId), nullptr);

  // This thread answers nothing now: the next start gives up after about 2 s, no second program.
  OwnedHandle third = Start(exe, L"");
  ASSERT_TRUE(third);
  const ULONGLONG started = ::GetTickCount64();
  ASSERT_EQ(::WaitForSingleObject(third.get(), 15000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(third.get(), &code);
  EXPECT_EQ(code, 1U);
  EXPECT_LT(::GetTickCount64() - started, 6000U);
  PumpFor(100);  // its late question
}

TEST(SingleInstance, ASecondStartWaitsOutAnInstanceThatIsEndingAndThenRuns) {
  OwnedHandle claim;  // an instance whose window is already gone: it is ending
  ASSERT_EQ(ClaimInstance(claim, MainWindow::ClassName()), InstanceClaim::kFirst);
  OwnedHandle second = Start(BuildPath(L"Pelvanto.exe"), L"");
  ASSERT_TRUE(second);
  EXPECT_EQ(PumpUntilExit(second.get(), 3000), STILL_ACTIVE) << "gave up on an ending instance";
  ::ReleaseMutex(claim.get());
  claim.Reset();
  HWND shown = nullptr;  // the second start is the instance now: its main window shows
  for (int i = 0; i < 500 && !shown; ++i, PumpFor(20))
    if (HWND main = ::FindWindowW(MainWindow::ClassName(), nullptr);
        main && ::IsWindowVisible(main))
      shown = main;
  EXPECT_TRUE(shown);
  ::TerminateProcess(second.get(), 0);
  ::WaitForSingleObject(second.get(), 10000);
}

TEST(Hotkeys, AKeyHeldByAnotherProgramIsNamedInTheTipAndTheOthersAreHeld) {
  OwnedHandle output;
  OwnedHandle holder = Start(BuildPath(L"e2e-helpers\\hotkey_holder.exe"), L"3 77", &output);
  ASSERT_TRUE(holder);
  char said[16] = {};
  DWORD got = 0;
  ASSERT_TRUE(::ReadFile(output.get(), said, sizeof said - 1, &got, nullptr));
  ASSERT_EQ(std::string(said).substr(0, 4), "held");  // Ctrl+Alt+F8

  {
    ProgramRig rig;
    ASSERT_TRUE(rig.main);
    ::ShowWindow(rig.main->hwnd(), SW_MINIMIZE);
    PumpFor(100);
    const TrayRecord* icon = rig.tray.Find(kMainTrayId);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->tip, L"Pelvanto\n热键 Ctrl+Alt+F8 已被占用");
    for (int key : {VK_F7, VK_F9, VK_F10}) EXPECT_FALSE(KeyFree(key)) << key;
  }
  ::TerminateProcess(holder.get(), 0);
  ::WaitForSingleObject(holder.get(), 5000);
  for (int key : {VK_F7, VK_F9, VK_F10}) EXPECT_TRUE(KeyFree(key)) << key;  // given back
}

TEST(Hotkeys, AskedForAgainWhenTheTaskbarComesBack) {
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  EXPECT_FALSE(KeyFree(VK_F8));
  // Lost, as to a program that took it for a while.
  ::UnregisterHotKey(main, 2);
  EXPECT_TRUE(KeyFree(VK_F8));
  ::SendMessageW(main, TaskbarCreatedMessage(), 0, 0);
  EXPECT_FALSE(KeyFree(VK_F8));
}

TEST(Hotkeys, TheMenuShowsAnItemsKeyAfterATab) {
  app::SteeringState state;
  state.capturing = true;
  state.area_set = true;
  auto entries = app::MenuFor(state);
  entries[1].keys = L"Ctrl+Alt+F8";
  const OwnedMenu menu = BuildMenu(entries);
  ASSERT_TRUE(menu);
  wchar_t text[64] = {};
  ::GetMenuStringW(menu.get(), static_cast<UINT>(app::MenuCommand::kCutNow), text, 64,
                   MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"立即切图\tCtrl+Alt+F8");
  ::GetMenuStringW(menu.get(), static_cast<UINT>(app::MenuCommand::kAdjust), text, 64,
                   MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"调整选区");
}

}  // namespace
}  // namespace pelvanto::win32::testing
