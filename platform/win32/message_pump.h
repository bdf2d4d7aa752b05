#pragma once
#include <windows.h>

#include <functional>

#include "platform/event_loop.h"

namespace pelvanto::win32 {

// The thread's message loop, also run for a moment in the middle of a cut.
class MessagePump final : public EventLoop {
 public:
  void ProcessPendingEvents() override;
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

  // Runs until WM_QUIT; returns its exit code.
  static int Run();
  // Keyboard navigation for the main window's controls.
  static void SetDialogWindow(HWND window) { dialog_ = window; }

 private:
  static void Dispatch(MSG& msg);
  static HWND dialog_;
};

}  // namespace pelvanto::win32
