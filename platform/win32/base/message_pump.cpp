#include "platform/win32/base/message_pump.h"

namespace pelvanto::win32 {

int MessagePump::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialog_ && ::IsDialogMessageW(dialog_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace pelvanto::win32
