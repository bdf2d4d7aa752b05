#pragma once
// What every window class of the program needs: registration and its icons.

#include <windows.h>

namespace pelvanto::win32 {

// Registers a class with the arrow cursor and a resource icon; `background` may be null when
// the window paints all of itself. `style` adds class styles such as CS_DBLCLKS.
bool RegisterWindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure, int icon_id,
                         HBRUSH background, UINT style = 0);

// A resource icon drawn at the given size; the caller owns it (DestroyIcon).
HICON LoadSizedIcon(HINSTANCE instance, int icon_id, int size);

}  // namespace pelvanto::win32
