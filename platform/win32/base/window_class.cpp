#include "platform/win32/base/window_class.h"

namespace pelvanto::win32 {

bool RegisterWindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure, int icon_id,
                         HBRUSH background, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, 0, 0,
                                             LR_DEFAULTSIZE | LR_SHARED));
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc) != 0;
}

HICON LoadSizedIcon(HINSTANCE instance, int icon_id, int size) {
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace pelvanto::win32
