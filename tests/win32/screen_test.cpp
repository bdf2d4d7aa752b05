// What the frozen picture relies on: a window that hides is off the screen once HideAndSettle
// returns (on Windows through the compositor, its fade turned off, which is where a fault
// would show; Wine hides at once), the windows recorded beside the copy are the ones on the
// screen, and windows get the DPI of their monitor.
#include <gtest/gtest.h>

#include <dwmapi.h>

#include <algorithm>

#include "platform/win32/base/dpi.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/display/screen_settle.h"
#include "platform/win32/system/window_snapshot.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

COLORREF ScreenPixel(POINT point) {
  WindowDc screen(nullptr);
  return ::GetPixel(screen.get(), point.x, point.y);
}

TEST(HideAndSettle, TheWindowIsOffTheScreenWhenItReturns) {
  if (!UnderWine()) {
    BOOL composed = FALSE;
    ASSERT_TRUE(SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed)
        << "no desktop composition: the DwmFlush way goes untested";
  }
  // A few times over: a fade or a late repaint shows only now and then.
  for (int round = 0; round < 3; ++round) {
    const OwnedWindow window =
        PlainWindow({100, 100, 400, 300}, kMagenta, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    ASSERT_TRUE(window);
    DisableHideFade(window.get());
    ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.get());
    PumpFor(300);
    const POINT centre{250, 200};
    ASSERT_EQ(ScreenPixel(centre), kMagenta) << "the window never reached the screen";
    HideAndSettle(window.get(), 500);
    EXPECT_NE(ScreenPixel(centre), kMagenta) << "round " << round;
  }
}

// The settle's rows are read where the area is, on every monitor. Run in a layout with a
// monitor left of the primary (win32.monitors), where Wine's "DISPLAY" DC would be off by it.
TEST(ScreenRows, ReadTheAreaOnAMonitorLeftOfThePrimary) {
  const RECT screen = VirtualScreen();
  if (screen.left >= 0) GTEST_SKIP() << "no monitor left of the primary";
  const RECT area{screen.left + 40, 60, screen.left + 240, 160};
  const OwnedWindow window = PlainWindow(area, kMagenta, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  ASSERT_TRUE(window);
  ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  PumpFor(300);
  const WindowDc screen_dc(nullptr);
  const std::vector<std::uint32_t> rows = ScreenRows(screen_dc.get(), area).Look();
  ASSERT_EQ(rows.size(), 200u * ScreenRows::kRows);
  EXPECT_TRUE(std::all_of(rows.begin(), rows.end(), [](std::uint32_t p) { return p == 0xFF00FF; }));
}

TEST(WindowRecording, OnItsOwnThreadRecordsWhatTheCallersThreadWould) {
  const OwnedWindow window = PlainWindow({120, 140, 320, 240}, RGB(255, 255, 255));
  ASSERT_TRUE(window);
  ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  PumpFor(200);
  // Process 0 is no program's: this test's own window counts.
  const RectI desktop{-20000, -20000, 20000, 20000};
  WindowRecording beside{WindowSnapshot(0, desktop)};
  const auto recorded = beside.Take();
  WindowSnapshot here(0, desktop);
  EXPECT_EQ(recorded, here.RecordWindows());
  RECT frame{};
  ::GetWindowRect(window.get(), &frame);
  const overlay::WindowRecord own{{frame.left, frame.top, frame.right, frame.bottom},
                                  -1,
                                  reinterpret_cast<WindowId>(window.get())};
  EXPECT_NE(std::find(recorded.begin(), recorded.end(), own), recorded.end());
  // Never asked for the controls, it stops at once when its owner goes.
  beside.Cancel();
  EXPECT_TRUE(beside.Ended(1000));
}

TEST(Dpi, WindowsHaveTheirMonitorsDpi) {
  // The test program carries Pelvanto's manifest, which asks for per-monitor v2.
  EXPECT_EQ(::GetAwarenessFromDpiAwarenessContext(::GetThreadDpiAwarenessContext()),
            DPI_AWARENESS_PER_MONITOR_AWARE);
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  EXPECT_EQ(dpi::ForWindow(main),
            dpi::ForMonitor(::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST)));
}

}  // namespace
}  // namespace pelvanto::win32::testing
