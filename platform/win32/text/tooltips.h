#pragma once
// Tooltips for the program's windows: one tooltip window per owner, with Chinese text.

#include <windows.h>

#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

class Tooltips {
 public:
  Tooltips() = default;
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  // Makes the tooltip window. `owner` destroys it with itself; Forget() must follow then.
  bool Create(HWND owner, HINSTANCE instance, unsigned dpi);
  // The owner was destroyed, and the tooltip window with it.
  void Forget() { window_ = nullptr; }
  explicit operator bool() const { return window_ != nullptr; }

  // A tip over a control (a child window), which the tooltip follows by itself.
  void AddControl(HWND control, const wchar_t* text);
  // A tip over an area of the owner, placed and moved with MoveArea. The owner relays its
  // mouse messages with Relay; no subclass looks at every one of its messages.
  void AddArea(UINT_PTR id, const wchar_t* text);
  void MoveArea(UINT_PTR id, const RECT& area);
  // A mouse message of the owner at client position `lparam`; `screen` is the same position
  // in screen pixels.
  void Relay(UINT message, WPARAM wparam, LPARAM lparam, POINT screen);

 private:
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  OwnedFont font_;
};

}  // namespace pelvanto::win32
