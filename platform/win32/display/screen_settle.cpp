#include "platform/win32/display/screen_settle.h"

#include <dwmapi.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/win32/base/gdi.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

namespace {

constexpr DWORD kLookInterval = 1;  // ms between two looks at the area

bool CompositionOn() {
  BOOL composed = FALSE;
  return SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed;
}

}  // namespace

ScreenRows::ScreenRows(const RECT& area) : area_(area), display_(nullptr) {
  const int width = area.right - area.left;
  if (!display_ || width <= 0 || area.bottom <= area.top) return;
  BITMAPINFO info = TopDownBitmapInfo(width, kRows);
  void* bits = nullptr;
  memory_.Reset(::CreateCompatibleDC(display_.get()));
  bitmap_.Reset(::CreateDIBSection(display_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory_ || !bitmap_ || !bits) return;
  pixels_ = {static_cast<const std::uint32_t*>(bits), static_cast<std::size_t>(width) * kRows};
}

std::vector<std::uint32_t> ScreenRows::Look() {
  if (pixels_.empty()) return {};
  const int width = area_.right - area_.left;
  const int height = area_.bottom - area_.top;
  SelectGuard select(memory_.get(), bitmap_.get());
  if (!select.ok()) return {};
  for (int row = 0; row < kRows; ++row) {
    const int y = area_.top + height * (row + 1) / (kRows + 1);
    if (!::BitBlt(memory_.get(), 0, row, width, 1, display_.get(), area_.left, y, SRCCOPY))
      return {};
  }
  ::GdiFlush();  // the bits are read directly
  return {pixels_.begin(), pixels_.end()};
}

void HideAndSettle(HWND window, unsigned limit_ms) {
  HideAndSettle(std::span<const HWND>(&window, 1), limit_ms);
}

void HideAndSettle(std::span<const HWND> windows, unsigned limit_ms) {
  std::vector<HWND> shown;
  for (HWND window : windows) {
    if (!window) continue;
    if (::IsWindowVisible(window) && !::IsIconic(window))
      shown.push_back(window);
    else
      ::ShowWindow(window, SW_HIDE);
  }
  if (shown.empty()) return;
  if (CompositionOn()) {
    for (HWND window : shown) ::ShowWindow(window, SW_HIDE);
    ::DwmFlush();
    return;
  }
  const RECT screen = VirtualScreen();
  // One probe per window, each looked at until its own area has settled.
  struct Watch {
    std::unique_ptr<ScreenRows> probe;
    std::vector<std::uint32_t> before, previous;
    bool settled = false;
  };
  std::vector<Watch> watches;
  for (HWND window : shown) {
    RECT area{};
    ::GetWindowRect(window, &area);
    ::IntersectRect(&area, &area, &screen);
    Watch watch;
    watch.probe = std::make_unique<ScreenRows>(area);
    watch.before = watch.probe->Look();
    watch.previous = watch.before;
    // Rows that cannot be read cannot be waited for.
    watch.settled = watch.before.empty();
    watches.push_back(std::move(watch));
  }
  for (HWND window : shown) ::ShowWindow(window, SW_HIDE);

  // Done once the rows differ from the window's and a second look, a moment later, agrees:
  // what was behind the window has been drawn and is no longer changing.
  const ULONGLONG deadline = ::GetTickCount64() + limit_ms;
  while (::GetTickCount64() < deadline) {
    bool all = true;
    for (Watch& w : watches) {
      if (w.settled) continue;
      std::vector<std::uint32_t> now = w.probe->Look();
      if (now.empty() || (now != w.before && now == w.previous))
        w.settled = true;
      else
        all = false;
      w.previous = std::move(now);
    }
    if (all) return;
    ::Sleep(kLookInterval);
  }
}

void DisableHideFade(HWND window) {
  const BOOL disabled = TRUE;
  // Without composition (or where refused) there is no fade to turn off.
  ::DwmSetWindowAttribute(window, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

}  // namespace pelvanto::win32
