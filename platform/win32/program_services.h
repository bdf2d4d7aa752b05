#pragma once
#include <windows.h>

#include "platform/clock.h"
#include "platform/notification_area.h"
#include "platform/screen.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/pointer.h"
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
};

// The object a window procedure serves: stored at WM_NCCREATE from CreateWindowEx's last
// argument, found again for every later message.
template <typename T>
T* WindowObject(HWND hwnd, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace pelvanto::win32
