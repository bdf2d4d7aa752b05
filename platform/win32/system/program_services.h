#pragma once
// The program-wide services (screen, clipboard, tray, pointer, clock, window reads) handed to
// every window of the program.

#include <windows.h>

#include "host/clock.h"
#include "host/tray.h"
#include "host/clipboard.h"
#include "host/screen.h"
#include "platform/win32/base/message_pump.h"
#include "platform/win32/system/pointer.h"
#include "host/window_info.h"
#include "platform/win32/display/session_watch.h"

namespace pelvanto::win32 {

// The program-wide services every window of the program reaches.
struct ProgramServices {
  HINSTANCE instance;
  ProgramPointer& pointer;
  MessagePump& pump;
  Clock& clock;
  Screen& screen;
  Clipboard& clipboard;
  Tray& tray;
  const WindowInfo& windows;
  SessionWatch& session;  // whether the session shows the screen; cuts wait while it does not
};

}  // namespace pelvanto::win32
