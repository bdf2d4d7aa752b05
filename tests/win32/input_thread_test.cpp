// The input thread never waits for the screen where the user did not ask for a picture: the
// tray menu's commands are worked off in order, each once, with no handler blocking, and an
// adjustment freezes the screen from a timer once the frame has left it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/auto_cut_menu.h"
#include "overlay/elements.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/base/owners.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

using app::MenuCommand;

// The settle rule's limit is half a second: a handler that waited for the screen, over a
// backdrop of the frame's own colour, would wait all of it.
constexpr double kNoWaitMs = 250;

double NowMs() {
  LARGE_INTEGER now{}, frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool OverlayShown() {
  const HWND surface = ::FindWindowW(L"PelvantoOverlay", nullptr);
  return surface && ::IsWindowVisible(surface);
}

// A menu command taken from the queue: which, when, and how many frame edges were on the
// screen when the thread came back for its next message (after the command's handler).
struct Taken {
  WPARAM command;
  double at_ms;
  int edges_after = -1;
};

std::vector<Taken>* g_taken = nullptr;

LRESULT CALLBACK NoteTaken(int code, WPARAM removed, LPARAM lparam) {
  if (code == HC_ACTION && removed == PM_REMOVE && g_taken) {
    if (!g_taken->empty() && g_taken->back().edges_after < 0)
      g_taken->back().edges_after = FrameEdgesShown();
    const auto* msg = reinterpret_cast<const MSG*>(lparam);
    if (msg->message == kMenuCommand) g_taken->push_back({msg->wParam, NowMs()});
  }
  return ::CallNextHookEx(nullptr, code, removed, lparam);
}

// Posts the commands at once and lets the thread work them off, noting each as it is taken.
std::vector<Taken> Burst(HWND main, const std::vector<MenuCommand>& commands, unsigned pump_ms) {
  std::vector<Taken> taken;
  g_taken = &taken;
  const HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, NoteTaken, nullptr, ::GetCurrentThreadId());
  for (MenuCommand c : commands) ::PostMessageW(main, kMenuCommand, static_cast<WPARAM>(c), 0);
  PumpFor(pump_ms);
  if (hook) ::UnhookWindowsHookEx(hook);
  g_taken = nullptr;
  return taken;
}

double LongestGap(const std::vector<Taken>& taken) {
  double longest = 0;
  for (std::size_t i = 1; i < taken.size(); ++i)
    longest = std::max(longest, taken[i].at_ms - taken[i - 1].at_ms);
  return longest;
}

// The main window with the auto-cut running on a 300 x 200 area, its frame on the screen.
HWND StartAutoCut(const ProgramRig& rig) {
  const HWND main = rig.main->hwnd();
  const HWND capture = ::FindWindowExW(main, nullptr, L"Button", L"切图开始");
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(capture), BN_CLICKED),
                 reinterpret_cast<LPARAM>(capture));
  const HWND surface = ::FindWindowW(L"PelvantoOverlay", nullptr);
  if (!surface) return nullptr;
  ::SendMessageW(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 120));
  ::SendMessageW(surface, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 320));
  ::SendMessageW(surface, WM_LBUTTONUP, 0, MAKELPARAM(400, 320));
  ::SendMessageW(surface, WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(200);
  return main;
}

class InputThread : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.main);
    main = StartAutoCut(rig);
    ASSERT_TRUE(main);
  }
  ProgramRig rig;
  HWND main = nullptr;
};

TEST_F(InputThread, ABurstOfFrameTogglesAndCutsIsWorkedOffInOrderWithoutWaiting) {
  // A backdrop of the frame's own colour, below its topmost edges.
  const OwnedWindow backdrop = PlainWindow({50, 50, 500, 450}, overlay::kSelectionColour);
  ::ShowWindow(backdrop.get(), SW_SHOWNOACTIVATE);
  PumpFor(100);
  ASSERT_EQ(FrameEdgesShown(), 4);

  constexpr int kBurst = 40;
  std::vector<MenuCommand> posted;
  for (int i = 0; i < kBurst; ++i)
    posted.push_back(i % 2 == 0 ? MenuCommand::kToggleFrame : MenuCommand::kCutNow);
  const std::vector<Taken> taken = Burst(main, posted, 300);

  ASSERT_EQ(taken.size(), posted.size());
  for (std::size_t i = 0; i < taken.size(); ++i) {
    EXPECT_EQ(taken[i].command, static_cast<WPARAM>(posted[i])) << i;
    // Each toggle flips the frame once: off after the first, on after the second...
    const int toggles = static_cast<int>(i / 2 + 1);
    EXPECT_EQ(taken[i].edges_after, toggles % 2 == 0 ? 4 : 0) << "after command " << i;
  }
  const double longest = LongestGap(taken);
  std::printf(
      "burst of %d: longest gap between two commands %.2f ms, all taken %.2f ms after"
      " the first\n",
      kBurst, longest, taken.back().at_ms - taken.front().at_ms);
  EXPECT_LT(longest, kNoWaitMs) << "a handler waited for the screen";
  EXPECT_EQ(FrameEdgesShown(), 4);
  // The cuts asked for while one was due are that one cut: at least one landed.
  EXPECT_NE(rig.tray.Find(kMainTrayId)->tip.find(L"上次"), std::wstring::npos);
}

TEST_F(InputThread, AnAdjustmentFreezesOnceTheFrameIsGoneAndLaterCommandsRunMeanwhile) {
  ::SetCursorPos(900, 700);  // the loupe far from the frame's place
  ASSERT_EQ(FrameEdgesShown(), 4);

  // The toggles come while the adjustment waits for the screen: both run, once each.
  const std::vector<Taken> taken = Burst(
      main, {MenuCommand::kAdjust, MenuCommand::kToggleFrame, MenuCommand::kToggleFrame}, 100);
  ASSERT_EQ(taken.size(), 3U);
  for (const Taken& t : taken) EXPECT_EQ(t.edges_after, 0);
  std::printf("adjust and two toggles: longest gap %.2f ms\n", LongestGap(taken));
  EXPECT_LT(LongestGap(taken), kNoWaitMs) << "a handler waited for the screen";
  const ULONGLONG limit = ::GetTickCount64() + 2000;
  while (!OverlayShown() && ::GetTickCount64() < limit) PumpFor(20);
  ASSERT_TRUE(OverlayShown()) << "the adjustment never froze the screen";

  // The frozen picture, where the frame's right and bottom edges stood: none of their pixels
  // (the selection's own outline, of the same colour, lies 29 px inside them).
  WindowDc screen(nullptr);
  int frame_pixels = 0;
  for (int y = 120; y < 351; ++y)
    for (int x = 429; x < 431; ++x)
      frame_pixels += ::GetPixel(screen.get(), x, y) == overlay::kSelectionColour;
  for (int y = 349; y < 351; ++y)
    for (int x = 98; x < 431; ++x)
      frame_pixels += ::GetPixel(screen.get(), x, y) == overlay::kSelectionColour;
  EXPECT_EQ(frame_pixels, 0) << "the frame is in the frozen picture";

  // Esc ends it with the area as it was; the frame, still wanted, is back.
  ::SendMessageW(::FindWindowW(L"PelvantoOverlay", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(200);
  EXPECT_FALSE(OverlayShown());
  EXPECT_EQ(FrameEdgesShown(), 4);
}

TEST_F(InputThread, StoppingWhileAnAdjustmentWaitsForTheScreenLeavesNothingBehind) {
  Burst(main, {MenuCommand::kAdjust, MenuCommand::kStopCapture}, 500);
  EXPECT_FALSE(OverlayShown());
  EXPECT_EQ(FrameEdgesShown(), 0);
  EXPECT_TRUE(::FindWindowExW(main, nullptr, L"Button", L"切图开始"));
  EXPECT_FALSE(rig.tray.Find(kOverlayTrayId));
}

}  // namespace
}  // namespace pelvanto::win32::testing
