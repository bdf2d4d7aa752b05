// Pelvanto: marks an area of the screen once, then leaves a fresh picture of that area on
// the clipboard every few seconds.

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/base/dpi.h"
#include "platform/win32/main/main_window.h"
#include "platform/win32/base/message_pump.h"
#include "platform/win32/system/tray_icons.h"
#include "platform/win32/overlay/overlay_host.h"
#include "platform/win32/system/pointer.h"
#include "platform/win32/system/single_instance.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/clipboard.h"
#include "platform/win32/display/session_watch.h"
#include "platform/win32/system/system_clock.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/system/window_queries.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace pelvanto::win32;
  // The manifest asks for this too; say it in code for hosts that ignore manifests.
  pelvanto::win32::dpi::MakeProcessAware();
  // One program per session: a second start shows the first one's window and ends. The claim
  // is held until the process is gone.
  OwnedHandle instance_claim;
  switch (ClaimInstance(instance_claim, MainWindow::ClassName())) {
    case InstanceClaim::kFirst: break;
    case InstanceClaim::kHandedOver: return 0;
    case InstanceClaim::kNoAnswer: return 1;  // traced
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  if (!MainWindow::Register(instance) || !OverlayHost::Register(instance)) {
    TraceFailure(L"RegisterClassExW");
    return 1;
  }

  ProgramPointer pointer;
  MessagePump pump;
  SystemClock clock;
  DisplayScreen display;
  SessionWatch session;
  SessionScreen screen(display, session);
  SystemClipboard clipboard;
  TrayIcons tray;
  SystemWindowQueries windows;
  MainWindow main({instance, pointer, pump, clock, screen, clipboard, tray, windows, session});
  if (!main.Create()) return 1;  // Create leaves the trace
  return pump.Run();
}
