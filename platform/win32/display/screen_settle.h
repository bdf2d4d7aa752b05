#pragma once
// Making sure a window that was just hidden has really left the screen before the screen is
// copied.

#include <windows.h>

#include <span>

namespace pelvanto::win32 {

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
