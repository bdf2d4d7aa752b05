// When no overlay can be opened, the user is not left with a hidden main window and nothing
// but an icon: the window comes back, ready to start again.
#include <gtest/gtest.h>

#include "core/tray_icon.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

TEST(OverlayFailure, TheMainWindowComesBackIdleWhenNoOverlayCanBeCreated) {
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // Without its window class the overlay's surface cannot be created.
  ASSERT_TRUE(::UnregisterClassW(L"PelvantoOverlay", instance));
  const HWND capture = ::FindWindowExW(main, nullptr, L"Button", L"切图开始");
  ASSERT_TRUE(capture);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(capture), BN_CLICKED),
                 reinterpret_cast<LPARAM>(capture));
  PumpFor(50);

  EXPECT_TRUE(::IsWindowVisible(main));
  EXPECT_EQ(::FindWindowExW(main, nullptr, L"Button", L"切图开始"), capture);
  EXPECT_EQ(rig.tray.Find(kMainTrayId), nullptr);
  EXPECT_EQ(::FindWindowW(L"PelvantoOverlayAnchor", nullptr), nullptr);
  // The next start finds the class again, and the overlay opens.
  ASSERT_TRUE(OverlayHost::Register(instance) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
}

}  // namespace
}  // namespace pelvanto::win32::testing
