#pragma once
// The program's own window messages and timer ids, in one place so no two can collide.

#include <windows.h>

namespace pelvanto::win32 {

// Private messages.
inline constexpr UINT kTrayCallback = WM_APP + 1;  // a tray icon; lParam: the event
inline constexpr UINT kReapOverlay = WM_APP + 2;   // to the main window: free closed overlays
inline constexpr UINT kTakeCachedDcs =
    WM_APP + 3;  // to the main window: an overlay surface went, its DCs may go
inline constexpr UINT kRecordControls = WM_APP + 4;  // to an overlay surface: its first frame shows
inline constexpr UINT kMenuCommand = WM_APP + 5;     // to the main window: wParam, a menu command
inline constexpr UINT kControlsRecorded =
    WM_APP + 6;  // to an overlay surface: controls recorded on another thread are ready

// Timers of the main window.
inline constexpr UINT_PTR kAutoCutTimer = 1;       // the pace of cuts
inline constexpr UINT_PTR kTitleWatchTimer = 2;    // the chat-title watch
inline constexpr UINT_PTR kPointerResetTimer = 3;  // settles the pointer after a restore
inline constexpr UINT_PTR kForegroundTimer = 4;    // watches the foreground without the shell

// Timers of the overlay's anchor.
inline constexpr UINT_PTR kCutTimer = 1;        // one cut per enabling
inline constexpr UINT_PTR kFrameGoneTimer = 2;  // an adjustment waits for the frame to leave

// Registered messages, each registered once for the whole program.
UINT TaskbarCreatedMessage();  // Explorer's taskbar was (re)created: icons must be added again
UINT ShellHookMessage();       // the shell's notifications to a RegisterShellHookWindow window

}  // namespace pelvanto::win32
