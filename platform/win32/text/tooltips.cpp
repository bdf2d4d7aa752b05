#include "platform/win32/text/tooltips.h"

#include <commctrl.h>

#include "platform/win32/text/fonts.h"

namespace pelvanto::win32 {

namespace {
TTTOOLINFOW ToolInfo(HWND owner, UINT_PTR id, UINT flags) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = flags;
  tool.hwnd = owner;
  tool.uId = id;
  return tool;
}
}  // namespace

bool Tooltips::Create(HWND owner, HINSTANCE instance, unsigned dpi) {
  owner_ = owner;
  window_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
  if (!window_) return false;
  // The system's tooltip font may lack Chinese glyphs (Wine's does).
  font_.Reset(CreateFontFor(FontUse::kTooltips, dpi));
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return true;
}

void Tooltips::AddControl(HWND control, const wchar_t* text) {
  if (!window_ || !control) return;
  TTTOOLINFOW tool =
      ToolInfo(owner_, reinterpret_cast<UINT_PTR>(control), TTF_IDISHWND | TTF_SUBCLASS);
  tool.lpszText = const_cast<LPWSTR>(text);
  ::SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::AddArea(UINT_PTR id, const wchar_t* text) {
  if (!window_) return;
  TTTOOLINFOW tool = ToolInfo(owner_, id, 0);
  tool.lpszText = const_cast<LPWSTR>(text);
  ::SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::MoveArea(UINT_PTR id, const RECT& area) {
  if (!window_) return;
  TTTOOLINFOW tool = ToolInfo(owner_, id, 0);
  tool.rect = area;
  ::SendMessageW(window_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::Relay(UINT message, WPARAM wparam, LPARAM lparam, POINT screen) {
  if (!window_) return;
  MSG msg{};
  msg.hwnd = owner_;
  msg.message = message;
  msg.wParam = wparam;
  msg.lParam = lparam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  msg.pt = screen;
  ::SendMessageW(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace pelvanto::win32
