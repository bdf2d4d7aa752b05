#pragma once
// The thread's one message loop, with dialog keyboard navigation for the main window.

#include <windows.h>

namespace pelvanto::win32 {

// The thread's message loop.
class MessagePump {
 public:
  // Runs until WM_QUIT; returns its exit code.
  int Run();
  // Keyboard navigation (Tab, arrows) among the main window's controls.
  void SetDialogWindow(HWND window) { dialog_ = window; }

 private:
  HWND dialog_ = nullptr;
};

}  // namespace pelvanto::win32
