#include "platform/win32/system/pointer.h"

namespace pelvanto::win32 {

namespace {

LPCWSTR CursorFor(Pointer shape) {
  switch (shape) {
    case Pointer::kArrow: return IDC_ARROW;
    case Pointer::kCrosshair: return IDC_CROSS;
    case Pointer::kMove: return IDC_SIZEALL;
    case Pointer::kSizeNeSw: return IDC_SIZENESW;
    case Pointer::kSizeNs: return IDC_SIZENS;
    case Pointer::kSizeNwSe: return IDC_SIZENWSE;
    case Pointer::kSizeWe: return IDC_SIZEWE;
    case Pointer::kDefault: break;
  }
  return nullptr;
}

// True when the cursor is over a window of this thread, whose WM_SETCURSOR we answer.
bool CursorOverOwnWindow() {
  POINT p;
  if (!::GetCursorPos(&p)) return false;
  HWND under = ::WindowFromPoint(p);
  return under && ::GetWindowThreadProcessId(under, nullptr) == ::GetCurrentThreadId();
}

}  // namespace

void ProgramPointer::Set(Pointer shape) {
  // The handlers set the pointer on every mouse move; only a change needs the system.
  if (shape == shape_) return;
  shape_ = shape;
  // Show the change now, not at the next mouse move.
  if (CursorOverOwnWindow()) {
    if (LPCWSTR id = CursorFor(shape)) {
      ::SetCursor(::LoadCursorW(nullptr, id));
    } else {
      POINT p;
      ::GetCursorPos(&p);
      ::SetCursorPos(p.x, p.y);  // makes the window under it answer WM_SETCURSOR again
    }
  }
}

bool ProgramPointer::Apply() const {
  LPCWSTR id = CursorFor(shape_);
  if (!id) return false;
  ::SetCursor(::LoadCursorW(nullptr, id));
  return true;
}

}  // namespace pelvanto::win32
