#include "platform/win32/display/present.h"

#include <windows.h>

namespace pelvanto::win32 {

void ShowDrawingNow() { ::MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0, 0); }

}  // namespace pelvanto::win32
