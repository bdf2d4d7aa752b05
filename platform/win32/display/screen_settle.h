#pragma once
// Making sure a window that was just hidden has really left the screen before the screen is
// copied.

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// A few rows of the screen across an area (at a quarter, a half and three quarters of its
// height), read again and again through the screen's DC into one small DIB: a look costs a few
// thin copies, not a DC, a bitmap and the whole area. The screen's DC is in virtual-desktop
// coordinates, as the area is. (A "DISPLAY" DC starts at the desktop's corner under Wine,
// which would read other rows wherever a monitor lies left of or above the primary.)
class ScreenRows {
 public:
  static constexpr int kRows = 3;
  explicit ScreenRows(const RECT& area);
  // The rows as they are now, top to bottom, 0x00RRGGBB; empty when they cannot be read.
  std::vector<std::uint32_t> Look();

 private:
  RECT area_;
  WindowDc display_;
  OwnedDc memory_;
  OwnedBitmap bitmap_;
  std::span<const std::uint32_t> pixels_;
};

// Hides a window and returns once it is off the screen, or after `limit_ms` at most. With
// desktop composition one DwmFlush does it. Without (Wine; Windows without DWM) the windows
// or the window manager behind it repaint in their own time, so a few rows across the area are
// watched until they differ from what they showed before and have stopped changing.
void HideAndSettle(HWND window, unsigned limit_ms);
// The same for several windows at once: all hide, then each one's area is watched.
void HideAndSettle(std::span<const HWND> windows, unsigned limit_ms);

// Turns off the compositor's fade when the window hides: one DwmFlush waits a single frame,
// and the fade takes about 200 ms, so the frozen picture could hold a half-faded window.
void DisableHideFade(HWND window);

}  // namespace pelvanto::win32
