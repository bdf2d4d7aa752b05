// What the bare references share: the screen grabbed into a DIB section, and a topmost popup
// over the whole virtual screen that shows it. Plain Win32 and nothing of the program's, so
// the figures are Wine's own floor.
#pragma once

#include <windows.h>

namespace reference {

// The screen as it was at the grab, selected into a memory DC; owns both.
class FrozenScreen {
 public:
  FrozenScreen() {
    x_ = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    y_ = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    width_ = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height_ = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    dc_ = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc_ && bitmap_) {
      old_ = ::SelectObject(dc_, bitmap_);
      ok_ = ::BitBlt(dc_, 0, 0, width_, height_, screen, x_, y_, SRCCOPY) != FALSE;
    }
    ::ReleaseDC(nullptr, screen);
  }
  ~FrozenScreen() {
    if (old_) ::SelectObject(dc_, old_);
    if (bitmap_) ::DeleteObject(bitmap_);
    if (dc_) ::DeleteDC(dc_);
  }
  FrozenScreen(const FrozenScreen&) = delete;
  FrozenScreen& operator=(const FrozenScreen&) = delete;

  bool ok() const { return ok_; }
  HDC dc() const { return dc_; }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Copies the part of the picture under rect (client coordinates of the popup) into dc.
  void Paint(HDC dc, const RECT& rect) const {
    ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_,
             rect.left, rect.top, SRCCOPY);
  }

 private:
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  bool ok_ = false;
};

// A topmost popup over the whole virtual screen, of a class registered with procedure.
inline HWND CreateFullScreenPopup(const FrozenScreen& screen, const wchar_t* title,
                                  WNDPROC procedure, void* data) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = procedure;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.hCursor = ::LoadCursorW(nullptr, IDC_CROSS);
  cls.lpszClassName = L"BareReferencePopup";
  ::RegisterClassExW(&cls);
  return ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, title, WS_POPUP,
                           screen.x(), screen.y(), screen.width(), screen.height(), nullptr,
                           nullptr, cls.hInstance, data);
}

// The popups end on a right click or Esc, as the overlay does; true when the message was one.
inline bool EndsOnRightClickOrEsc(UINT message, WPARAM wparam) {
  if (message != WM_RBUTTONUP && !(message == WM_KEYDOWN && wparam == VK_ESCAPE)) return false;
  ::PostQuitMessage(0);
  return true;
}

}  // namespace reference
