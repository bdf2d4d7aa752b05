#include "platform/win32/message_pump.h"

namespace pelvanto::win32 {

HWND MessagePump::dialog_ = nullptr;

void MessagePump::Dispatch(MSG& msg) {
  if (dialog_ && ::IsDialogMessageW(dialog_, &msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void MessagePump::ProcessPendingEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

int MessagePump::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace pelvanto::win32
