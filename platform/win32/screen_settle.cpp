#include "platform/win32/screen_settle.h"

#include <dwmapi.h>

#include "platform/win32/screen_capture.h"

namespace pelvanto::win32 {

namespace {

constexpr DWORD kLookInterval = 10;  // ms between two looks at the area

bool CompositionOn() {
  BOOL composed = FALSE;
  return SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed;
}

// The screen's pixels inside an area; empty when they cannot be read.
std::vector<std::uint32_t> Grab(const RECT& area) {
  const auto copy = ScreenPixels::Copy(area);
  if (!copy) return {};
  return {copy->pixels().begin(), copy->pixels().end()};
}

}  // namespace

void HideAndSettle(HWND window, unsigned limit_ms) {
  const bool on_screen = ::IsWindowVisible(window) && !::IsIconic(window);
  if (!on_screen) {
    ::ShowWindow(window, SW_HIDE);
    return;
  }
  if (CompositionOn()) {
    ::ShowWindow(window, SW_HIDE);
    ::DwmFlush();
    return;
  }
  RECT area{};
  ::GetWindowRect(window, &area);
  const RECT screen{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  ::IntersectRect(&area, &area, &screen);
  const std::vector<std::uint32_t> before = Grab(area);
  ::ShowWindow(window, SW_HIDE);
  if (before.empty()) return;

  const ULONGLONG deadline = ::GetTickCount64() + limit_ms;
  std::vector<std::uint32_t> previous = Grab(area);
  while (::GetTickCount64() < deadline) {
    ::Sleep(kLookInterval);
    std::vector<std::uint32_t> now = Grab(area);
    if (now != before && now == previous) return;
    previous = std::move(now);
  }
}

void DisableHideFade(HWND window) {
  const BOOL disabled = TRUE;
  // Without composition (or where refused) there is no fade to turn off.
  ::DwmSetWindowAttribute(window, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

}  // namespace pelvanto::win32
