#pragma once
// Making sure a window that was just hidden has really left the screen before the screen is
// copied.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// A few rows of the screen across an area (at a quarter, a half and three quarters of its
// height), read again and again into one small DIB: a look costs a few thin copies, not a DC,
// a bitmap and the whole area. `display` is the screen's DC (GetDC(nullptr)), which is in
// virtual-desktop coordinates as the area is. (A "DISPLAY" DC starts at the desktop's corner
// under Wine, which would read other rows wherever a monitor lies left of or above the
// primary.)
class ScreenRows {
 public:
  static constexpr int kRows = 3;
  ScreenRows(HDC display, const RECT& area);  // `display` outlives it
  // The rows as they are now, top to bottom, 0x00RRGGBB; empty when they cannot be read.
  std::vector<std::uint32_t> Look();

 private:
  RECT area_;
  HDC display_;
  OwnedDc memory_;
  OwnedBitmap bitmap_;
  std::span<const std::uint32_t> pixels_;
};

// Hides windows and watches the screen until it no longer shows them, one look at a time, so
// the input thread can look from a timer instead of waiting. With desktop composition the
// screen shows a change once the compositor has presented a frame after it. Without (Wine;
// Windows without DWM) the windows or the window manager behind it repaint in their own time,
// so a few rows across each area are watched until they differ from what they showed before
// and have stopped changing.
class SettleWatch {
 public:
  // Hides the windows; those that were on the screen are watched for at most `limit_ms`.
  SettleWatch(std::span<const HWND> windows, unsigned limit_ms);
  ~SettleWatch();
  SettleWatch(const SettleWatch&) = delete;
  SettleWatch& operator=(const SettleWatch&) = delete;

  // One look: true once the screen shows none of the windows, or the limit has passed.
  bool Settled();

 private:
  struct Area;
  std::optional<WindowDc> display_;           // without composition: the screen, read by rows
  std::vector<std::unique_ptr<Area>> areas_;  // without composition: one per shown window
  bool composed_ = false;                     // the compositor presents the screen
  unsigned long long refresh_at_hide_ = 0;    // composed: the display's refresh count then
  unsigned long long deadline_ = 0;           // GetTickCount64 past which it counts as settled
};

// Hides a window and returns once it is off the screen, or after `limit_ms` at most: for a
// freeze the user asked for, where the thread has nothing better to do than wait. With
// composition one DwmFlush does it.
void HideAndSettle(HWND window, unsigned limit_ms);
// The same for several windows at once.
void HideAndSettle(std::span<const HWND> windows, unsigned limit_ms);

// Turns off the compositor's fade when the window hides: one DwmFlush waits a single frame,
// and the fade takes about 200 ms, so the frozen picture could hold a half-faded window.
void DisableHideFade(HWND window);

}  // namespace pelvanto::win32
