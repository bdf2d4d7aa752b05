#include "platform/win32/display/session_watch.h"

#include <wtsapi32.h>

namespace pelvanto::win32 {

bool SessionWatch::Start(HWND window) {
  Stop();
  if (!::WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION)) return false;
  window_ = window;
  return true;
}

void SessionWatch::Stop() {
  if (window_) ::WTSUnRegisterSessionNotification(window_);
  window_ = nullptr;
}

void SessionWatch::OnSessionChange(WPARAM change) {
  switch (change) {
    case WTS_SESSION_LOCK: locked_ = true; break;
    case WTS_SESSION_UNLOCK: locked_ = false; break;
    // A session moves between the console and a remote connection as a disconnection from
    // one and a connection to the other.
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: disconnected_ = true; break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: disconnected_ = false; break;
    default: break;
  }
}

std::unique_ptr<Picture> SessionScreen::CopyArea(int left, int top, int width, int height) {
  if (!session_.ScreenShown()) return nullptr;
  return live_.CopyArea(left, top, width, height);
}

}  // namespace pelvanto::win32
