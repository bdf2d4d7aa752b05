#pragma once
// What every window class of the program needs: registration, its icons, and the object
// behind its window procedure.

#include <windows.h>

namespace pelvanto::win32 {

// Registers a class with the arrow cursor and a resource icon; `background` may be null when
// the window paints all of itself. `style` adds class styles such as CS_DBLCLKS.
bool RegisterWindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure, int icon_id,
                         HBRUSH background, UINT style = 0);

// A resource icon drawn at the given size; the caller owns it (DestroyIcon).
HICON LoadSizedIcon(HINSTANCE instance, int icon_id, int size);

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
