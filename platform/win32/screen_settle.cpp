#include "platform/win32/screen_settle.h"

#include <dwmapi.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace pelvanto::win32 {

namespace {

constexpr DWORD kLookInterval = 10;  // ms between two looks at the area

bool CompositionOn() {
  BOOL composed = FALSE;
  return SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed;
}

// The screen's pixels inside an area; empty when they cannot be read.
std::vector<std::uint32_t> Grab(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  OwnedDc screen(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!screen || width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedDc memory(::CreateCompatibleDC(screen.get()));
  OwnedBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) return {};
  SelectGuard select(memory.get(), bitmap.get());
  if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY))
    return {};
  ::GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  return {first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
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

}  // namespace pelvanto::win32
