#include "platform/win32/present.h"

#include <windows.h>

namespace pelvanto::win32 {

void ShowDrawingNow() { ::MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0, 0); }

}  // namespace pelvanto::win32
