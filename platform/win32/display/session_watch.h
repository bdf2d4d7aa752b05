#pragma once
// While the session is locked or disconnected the screen cannot be copied (the copy fails or
// comes back black), so cuts wait for the unlock or the reconnection.

#include <windows.h>

#include <memory>

#include "host/screen.h"

namespace pelvanto::win32 {

// The session's state as its notifications to the main window report it.
class SessionWatch {
 public:
  SessionWatch() = default;
  ~SessionWatch() { Stop(); }
  SessionWatch(const SessionWatch&) = delete;
  SessionWatch& operator=(const SessionWatch&) = delete;

  // Asks for the notifications (WM_WTSSESSION_CHANGE) to the window. False when refused: the
  // screen then counts as shown throughout.
  bool Start(HWND window);
  void Stop();
  // One WM_WTSSESSION_CHANGE: its wParam.
  void OnSessionChange(WPARAM change);
  // Neither locked nor disconnected.
  bool ScreenShown() const { return !locked_ && !disconnected_; }

 private:
  HWND window_ = nullptr;      // registered for notifications
  bool locked_ = false;        // between a lock and the unlock
  bool disconnected_ = false;  // between a disconnection and the next connection
};

// The live screen while the session shows it; no picture at all while it does not, so a cut
// then leaves the clipboard alone.
class SessionScreen final : public Screen {
 public:
  SessionScreen(Screen& live, const SessionWatch& session) : live_(live), session_(session) {}
  std::unique_ptr<Picture> CopyArea(int left, int top, int width, int height) override;
  bool Available() const override { return session_.ScreenShown() && live_.Available(); }

 private:
  Screen& live_;
  const SessionWatch& session_;
};

}  // namespace pelvanto::win32
