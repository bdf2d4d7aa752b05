#include "platform/win32/overlay/overlay_anchor.h"

#include "platform/win32/base/messages.h"
#include "platform/win32/system/tray_icons.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {
constexpr wchar_t kClassName[] = L"PelvantoOverlayAnchor";
}  // namespace

bool OverlayAnchor::Register(HINSTANCE instance) {
  return RegisterClass(instance, kClassName, IDI_OVERLAY);
}

bool OverlayAnchor::Create() {
  return Window::Create(WS_EX_TOOLWINDOW, kClassName, L"Pelvanto", WS_POPUP, {0, 0, 0, 0}, nullptr,
                        instance_);
}

void OverlayAnchor::OnTimer(UINT_PTR id) {
  if (logic_ && id == kCutTimer) logic_->OnCutTimer();
  if (frame_gone_tick_ && id == kFrameGoneTimer) frame_gone_tick_();
}

LRESULT OverlayAnchor::Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  switch (message) {
    case WM_TIMER: OnTimer(wparam); return 0;
    case kTrayCallback:
      // The icons share one menu, which the main window opens; posted, so it runs from that
      // window's own message, not inside this one. Clicks do nothing here, as before.
      if (menu_owner_ && OpensMenu(ReadTrayCallback(wparam, lparam)))
        ::PostMessageW(menu_owner_, kTrayCallback, wparam, lparam);
      return 0;
    case WM_NCDESTROY:
      if (on_gone_) on_gone_();
      break;
    default:
      // Top-level windows all get it; only the anchor answers, so the icon comes back once.
      if (logic_ && message == TaskbarCreatedMessage()) {
        logic_->OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace pelvanto::win32
