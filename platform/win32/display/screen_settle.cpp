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

// The display's refresh count, 0 when the compositor does not say.
unsigned long long RefreshCount() {
  DWM_TIMING_INFO info{};
  info.cbSize = sizeof info;
  return SUCCEEDED(::DwmGetCompositionTimingInfo(nullptr, &info)) ? info.cRefresh : 0;
}

// Composed: a frame presented after the hide shows it. The frame being composed at the hide
// may not, so two refreshes must have passed; where the count is unknown, two 60 Hz frames.
constexpr unsigned long long kRefreshesAfterHide = 2;
constexpr unsigned kComposedFallbackMs = 34;

bool ShownOnScreen(HWND window) { return ::IsWindowVisible(window) && !::IsIconic(window); }

}  // namespace

ScreenRows::ScreenRows(HDC display, const RECT& area) : area_(area), display_(display) {
  const int width = area.right - area.left;
  if (!display_ || width <= 0 || area.bottom <= area.top) return;
  BITMAPINFO info = TopDownBitmapInfo(width, kRows);
  void* bits = nullptr;
  memory_.Reset(::CreateCompatibleDC(display_));
  bitmap_.Reset(::CreateDIBSection(display_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
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
    if (!::BitBlt(memory_.get(), 0, row, width, 1, display_, area_.left, y, SRCCOPY)) return {};
  }
  ::GdiFlush();  // the bits are read directly
  return {pixels_.begin(), pixels_.end()};
}

// One window's area: settled once its rows differ from the window's and a second look agrees.
struct SettleWatch::Area {
  Area(HDC display, const RECT& area) : probe(display, area) {
    before = probe.Look();
    previous = before;
    // Rows that cannot be read cannot be waited for.
    settled = before.empty();
  }
  ScreenRows probe;
  std::vector<std::uint32_t> before, previous;
  bool settled = false;
};

SettleWatch::SettleWatch(std::span<const HWND> windows, unsigned limit_ms)
    : composed_(CompositionOn()), deadline_(::GetTickCount64() + limit_ms) {
  std::vector<HWND> shown;
  for (HWND window : windows)
    if (window && ShownOnScreen(window)) shown.push_back(window);
  if (!composed_ && !shown.empty()) {
    display_.emplace(nullptr);
    const RECT screen = VirtualScreen();
    for (HWND window : shown) {
      RECT area{};
      ::GetWindowRect(window, &area);
      ::IntersectRect(&area, &area, &screen);
      areas_.push_back(std::make_unique<Area>(display_->get(), area));
    }
  }
  for (HWND window : windows)
    if (window) ::ShowWindow(window, SW_HIDE);
  if (shown.empty()) {
    deadline_ = 0;  // nothing left the screen: nothing to wait for
  } else if (composed_) {
    refresh_at_hide_ = RefreshCount();
    if (refresh_at_hide_ == 0) deadline_ = ::GetTickCount64() + kComposedFallbackMs;
  }
}

SettleWatch::~SettleWatch() = default;

bool SettleWatch::Settled() {
  if (::GetTickCount64() >= deadline_) return true;
  if (composed_) {
    return refresh_at_hide_ != 0 && RefreshCount() >= refresh_at_hide_ + kRefreshesAfterHide;
  }
  // Done once the rows differ from the window's and a second look, a moment later, agrees:
  // what was behind the window has been drawn and is no longer changing.
  bool all = true;
  for (const auto& area : areas_) {
    Area& a = *area;
    if (a.settled) continue;
    std::vector<std::uint32_t> now = a.probe.Look();
    if (now.empty() || (now != a.before && now == a.previous))
      a.settled = true;
    else
      all = false;
    a.previous = std::move(now);
  }
  if (all) deadline_ = 0;
  return all;
}

void HideAndSettle(HWND window, unsigned limit_ms) {
  HideAndSettle(std::span<const HWND>(&window, 1), limit_ms);
}

void HideAndSettle(std::span<const HWND> windows, unsigned limit_ms) {
  if (CompositionOn()) {
    bool any = false;
    for (HWND window : windows) {
      if (!window) continue;
      any = any || ShownOnScreen(window);
      ::ShowWindow(window, SW_HIDE);
    }
    if (any) ::DwmFlush();
    return;
  }
  SettleWatch watch(windows, limit_ms);
  while (!watch.Settled()) ::Sleep(kLookInterval);
}

void DisableHideFade(HWND window) {
  const BOOL disabled = TRUE;
  // Without composition (or where refused) there is no fade to turn off.
  ::DwmSetWindowAttribute(window, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

}  // namespace pelvanto::win32
