#pragma once
// A hidden window that carries what of an overlay outlives its full-screen window in the
// tray: the cut timer and the overlay's tray icon.

#include <windows.h>

#include <functional>

#include "overlay/overlay.h"
#include "platform/win32/base/window.h"

namespace pelvanto::win32 {

class OverlayAnchor final : public Window<OverlayAnchor> {
 public:
  // `on_gone` runs when the window has been destroyed.
  OverlayAnchor(HINSTANCE instance, std::function<void()> on_gone)
      : instance_(instance), on_gone_(std::move(on_gone)) {}
  ~OverlayAnchor() { Destroy(); }

  static bool Register(HINSTANCE instance);
  bool Create();
  // The logic its timer and icon report to; set once, right after Create.
  void Attach(overlay::Overlay& logic) { logic_ = &logic; }
  // The window whose menu the overlay's icon opens too (the main window's).
  void ForwardMenuTo(HWND window) { menu_owner_ = window; }
  // What runs at each tick of its kFrameGoneTimer.
  void OnFrameGoneTick(std::function<void()> tick) { frame_gone_tick_ = std::move(tick); }

 private:
  friend Window<OverlayAnchor>;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  void OnTimer(UINT_PTR id);

  HINSTANCE instance_;
  std::function<void()> on_gone_;
  std::function<void()> frame_gone_tick_;
  overlay::Overlay* logic_ = nullptr;
  HWND menu_owner_ = nullptr;
};

}  // namespace pelvanto::win32
