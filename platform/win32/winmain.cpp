// Pelvanto: marks an area of the screen once, then leaves a fresh picture of that area on
// the clipboard every few seconds.

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/main_form.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/notification_area.h"
#include "platform/win32/overlay_form.h"
#include "platform/win32/pointer.h"
#include "platform/win32/screen_capture.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/window_queries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace pelvanto::win32;
  // The manifest asks for this too; say it in code for hosts that ignore manifests.
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  if (!MainForm::Register(instance) || !OverlayForm::Register(instance)) return 1;

  ProgramPointer pointer;
  MessagePump pump;
  SystemClock clock;
  DisplayScreen screen;
  SystemClipboard clipboard;
  ShellNotificationArea tray;
  SystemWindowQueries windows;
  MainForm main({instance, pointer, pump, clock, screen, clipboard, tray, windows});
  if (!main.Create()) return 1;
  return pump.Run();
}
