#pragma once
#include <windows.h>

#include "platform/clock.h"
#include "platform/notification_area.h"
#include "platform/screen.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/pointer.h"
#include "platform/win32/session_watch.h"
#include "platform/window_queries.h"

namespace pelvanto::win32 {

// The program-wide services every window of the program reaches.
struct ProgramServices {
  HINSTANCE instance;
  ProgramPointer& pointer;
  MessagePump& pump;
  Clock& clock;
  Screen& screen;
  Clipboard& clipboard;
  NotificationArea& tray;
  const WindowQueries& windows;
  SessionWatch& session;  // whether the session shows the screen; cuts wait while it does not
};

}  // namespace pelvanto::win32
