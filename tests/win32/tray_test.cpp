// The two notification-area icons: fixed ids, a live icon of the system's small size after a
// DPI change, and both back when the taskbar is recreated.
#include <gtest/gtest.h>

#include "core/tray_icon.h"
#include "platform/win32/base/dpi.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

HWND Child(HWND parent, const wchar_t* text) {
  return ::FindWindowExW(parent, nullptr, L"Button", text);
}

TEST(TrayIcons, FixedIdsLiveIconsAfterADpiChangeAndBothBackWithTheTaskbar) {
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  const HWND capture = Child(main, L"切图开始");
  ASSERT_TRUE(capture);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(capture), BN_CLICKED),
                 reinterpret_cast<LPARAM>(capture));
  PumpFor(300);  // the main window's icon comes a moment after the overlay
  const HWND overlay = ::FindWindowW(L"PelvantoOverlay", nullptr);
  ASSERT_TRUE(overlay);
  // The overlay's hidden anchor keeps its icon once the full-screen window has gone.
  const HWND anchor = ::FindWindowW(L"PelvantoOverlayAnchor", nullptr);
  ASSERT_TRUE(anchor);
  ::SendMessageW(overlay, WM_SIZE, SIZE_MINIMIZED, 0);  // the overlay goes to the tray too

  ASSERT_EQ(rig.tray.icons.size(), 2U);
  const TrayRecord* main_icon = rig.tray.Find(kMainTrayId);
  const TrayRecord* overlay_icon = rig.tray.Find(kOverlayTrayId);
  ASSERT_TRUE(main_icon && overlay_icon);
  EXPECT_EQ(main_icon->window, reinterpret_cast<WindowId>(main));
  EXPECT_EQ(overlay_icon->window, reinterpret_cast<WindowId>(anchor));
  const std::uintptr_t before = main_icon->icon;

  // The main window moves to a monitor of 144 dpi.
  RECT suggested{};
  ::GetWindowRect(main, &suggested);
  ::SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  main_icon = rig.tray.Find(kMainTrayId);
  ASSERT_TRUE(main_icon);
  EXPECT_NE(main_icon->icon, before);
  EXPECT_EQ(IconWidth(main_icon->icon), dpi::SystemMetric(SM_CXSMICON, 144));

  // Explorer restarts: every icon is gone until the program adds it again.
  rig.tray.icons.clear();
  const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
  ::SendMessageW(main, taskbar_created, 0, 0);
  ::SendMessageW(anchor, taskbar_created, 0, 0);
  ASSERT_EQ(rig.tray.icons.size(), 2U);
  for (const unsigned id : {kMainTrayId, kOverlayTrayId}) {
    const TrayRecord* icon = rig.tray.Find(id);
    ASSERT_TRUE(icon) << id;
    EXPECT_TRUE(IconAlive(icon->icon)) << id;
  }
}

}  // namespace
}  // namespace pelvanto::win32::testing
