#include "platform/win32/main/main_window.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <string>
#include <utility>

#include "app/interval.h"
#include "core/geometry.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/text/fonts.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/text/main_window_texts.h"
#include "platform/win32/system/tray_icons.h"
#include "platform/win32/display/screen_settle.h"
#include "platform/win32/display/surface_release.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/system/single_instance.h"
#include "platform/win32/system/tray_menu.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelvantoMain";
constexpr wchar_t kCaption[] = L"Pelvanto (Pelvanto 开发组)";
constexpr unsigned kSettleLimitMs = 500;  // the longest a hide waits for the screen

// Control ids.
enum : int {
  kOuterFrame = 100,
  kCaptureButton,
  kIntervalBox,
  kIntervalLabel,
  kExitButton,
  kHelpFrame,
  kHelpCaption,
  kHelpText
};

constexpr COLORREF kCaptureButtonBack = 0x00C0FFC0;  // RGB(192,255,192)
constexpr COLORREF kExitButtonBack = 0x00FFC0FF;     // RGB(255,192,255)
constexpr COLORREF kBlue = 0x00FF0000;               // RGB(0,0,255)

// Client area and controls in pixels at 96 dpi. The help text sits inside the help frame.
constexpr SIZE kClientSize{595, 354};
struct Layout {
  int left, top, width, height;
};
constexpr Layout kOuterFrameLayout{0, 0, 593, 353};
constexpr Layout kCaptureButtonLayout{8, 16, 84, 30};
constexpr Layout kIntervalBoxLayout{192, 20, 49, 22};
constexpr Layout kIntervalLabelLayout{110, 25, 84, 12};
constexpr Layout kExitButtonLayout{496, 16, 84, 30};
constexpr Layout kHelpFrameLayout{8, 56, 577, 289};
constexpr Layout kHelpTextLayout{8 + 8, 56 + 32, 561, 249};
constexpr int kIntervalListDrop = 240;  // how far the list drops

void Place(HWND control, const Layout& r, unsigned dpi, int extra_height = 0) {
  ::SetWindowPos(control, nullptr, DesignPixels(r.left, dpi), DesignPixels(r.top, dpi),
                 DesignPixels(r.width, dpi), DesignPixels(r.height, dpi) + extra_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A frame's caption sits on its top edge, a little in from the left, as wide as its text.
void PlaceCaption(HWND caption, const Layout& frame, unsigned dpi) {
  const std::wstring text = TextOf(caption);
  WindowDc dc(caption);
  SIZE extent{};
  {
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(caption, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  const int inset = DesignPixels(6, dpi);
  ::SetWindowPos(caption, nullptr, DesignPixels(frame.left, dpi) + inset,
                 DesignPixels(frame.top, dpi), extent.cx + 2, extent.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainWindow::MainWindow(ProgramServices services)
    : services_(services), tracker_(services.windows, services.clipboard) {}

MainWindow::~MainWindow() {
  // The overlays report to this window: they go first. The window goes while its members
  // are alive, so WM_NCDESTROY can end the subscriptions.
  overlay_.reset();
  Destroy();
}

bool MainWindow::Register(HINSTANCE instance) {
  return RegisterClass(instance, kClassName, IDI_PELVANTO, ::GetSysColorBrush(COLOR_BTNFACE));
}

const wchar_t* MainWindow::ClassName() { return kClassName; }

bool MainWindow::Create() {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const RECT place{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  if (!Window::Create(0, kClassName, kCaption, style, place, nullptr, services_.instance)) {
    TraceFailure(L"CreateWindowExW (main window)");
    return false;
  }
  DisableHideFade(hwnd());

  auto_cut_timer_ = std::make_unique<WindowTimer>(hwnd(), kAutoCutTimer);
  title_watch_timer_ = std::make_unique<WindowTimer>(hwnd(), kTitleWatchTimer);
  pointer_reset_timer_ = std::make_unique<WindowTimer>(hwnd(), kPointerResetTimer);
  CreateControls();
  ApplyDpi();

  overlay_ =
      std::make_unique<OverlayHost>(OverlayShared{services_, *auto_cut_timer_, *this, hwnd()});
  shell_messages_ = std::make_unique<ShellMessages>(hwnd(), tracker_);
  hotkeys_ = std::make_unique<SystemHotkeys>(hwnd());
  // Refused (no Terminal Services), cuts go on as without the watch.
  services_.session.Start(hwnd());
  logic_ = std::make_unique<app::CaptureControl>(
      *this, *overlay_,
      app::CaptureTimers{*auto_cut_timer_, *title_watch_timer_, *pointer_reset_timer_},
      services_.pointer, services_.tray, *shell_messages_, tracker_, *hotkeys_);
  logic_->Start();

  // Centred on the primary screen's work area at the first show.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{};
  ::GetWindowRect(hwnd(), &outer);
  const int w = outer.right - outer.left;
  const int h = outer.bottom - outer.top;
  ::SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  services_.pump.SetDialogWindow(hwnd());
  ::ShowWindow(hwnd(), SW_SHOW);
  ::UpdateWindow(hwnd());
  return true;
}

void MainWindow::CreateControls() {
  auto make = [&](DWORD ex_style, LPCWSTR cls, LPCWSTR text, DWORD style, int id) {
    return ::CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), services_.instance,
                             nullptr);
  };
  // Creation order is the tab order.
  outer_frame_ = make(0, WC_BUTTONW, L"", BS_GROUPBOX, kOuterFrame);
  capture_button_ =
      make(0, WC_BUTTONW, app::kStartCaption.data(), BS_OWNERDRAW | WS_TABSTOP, kCaptureButton);
  interval_box_ = make(0, WC_COMBOBOXW, L"",
                       CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, kIntervalBox);
  interval_label_ = make(0, WC_STATICW, kIntervalLabelText, SS_LEFT | SS_NOPREFIX, kIntervalLabel);
  exit_button_ = make(0, WC_BUTTONW, kExitCaption, BS_OWNERDRAW | WS_TABSTOP, kExitButton);
  help_frame_ = make(0, WC_BUTTONW, L"", BS_GROUPBOX, kHelpFrame);
  // A group box draws its caption in the button text colour on some systems (Wine among
  // them), so the blue caption is a label of its own on the frame's top edge.
  help_caption_ = make(0, WC_STATICW, kHelpCaptionText, SS_LEFT | SS_NOPREFIX, kHelpCaption);
  help_text_ =
      make(WS_EX_CLIENTEDGE, WC_EDITW, kHelpTextContent,
           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, kHelpText);

  for (int seconds : app::IntervalChoices())
    ::SendMessageW(interval_box_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(std::to_wstring(seconds).c_str()));
  ::SetWindowTextW(interval_box_, app::kInitialInterval.data());

  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ::GetComboBoxInfo(interval_box_, &info);
  if (tooltips_.Create(hwnd(), services_.instance, dpi())) {
    for (HWND part : {interval_box_, info.hwndItem}) tooltips_.AddControl(part, kIntervalTip);
  }
}

// Sizes, fonts and icons for the window's DPI; at 96 dpi every size is the laid-out one.
void MainWindow::ApplyDpi() {
  button_font_.Reset(CreateFontFor(FontUse::kButtons, dpi()));
  combo_font_.Reset(CreateFontFor(FontUse::kIntervalBox, dpi()));
  label_font_.Reset(CreateFontFor(FontUse::kLabels, dpi()));
  frame_font_.Reset(CreateFontFor(FontUse::kHelpCaption, dpi()));
  text_font_.Reset(CreateFontFor(FontUse::kHelpText, dpi()));
  auto font = [](HWND control, const OwnedFont& f) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f.get()), TRUE);
  };
  font(capture_button_, button_font_);
  font(exit_button_, button_font_);
  font(interval_box_, combo_font_);
  font(interval_label_, label_font_);
  font(outer_frame_, label_font_);
  font(help_caption_, frame_font_);
  font(help_text_, text_font_);

  Place(outer_frame_, kOuterFrameLayout, dpi());
  Place(capture_button_, kCaptureButtonLayout, dpi());
  Place(interval_box_, kIntervalBoxLayout, dpi(), DesignPixels(kIntervalListDrop, dpi()));
  Place(interval_label_, kIntervalLabelLayout, dpi());
  Place(exit_button_, kExitButtonLayout, dpi());
  Place(help_frame_, kHelpFrameLayout, dpi());
  PlaceCaption(help_caption_, kHelpFrameLayout, dpi());
  Place(help_text_, kHelpTextLayout, dpi());
  // The closed interval box is as tall as laid out.
  const int field =
      DesignPixels(kIntervalBoxLayout.height, dpi()) - 2 * dpi::SystemMetric(SM_CYEDGE, dpi()) - 2;
  ::SendMessageW(interval_box_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);

  RECT outer{0, 0, DesignPixels(kClientSize.cx, dpi()), DesignPixels(kClientSize.cy, dpi())};
  dpi::AdjustWindowRect(outer, static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE)), 0,
                        dpi());
  ::SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // The old icons live until the window and the tray record have the new ones.
  const OwnedIcon old_small = std::exchange(small_icon_, {});
  const OwnedIcon old_big = std::exchange(big_icon_, {});
  const int small = dpi::SystemMetric(SM_CXSMICON, dpi());
  const int big = dpi::SystemMetric(SM_CXICON, dpi());
  small_icon_.Reset(LoadSizedIcon(services_.instance, IDI_PELVANTO, small));
  big_icon_.Reset(LoadSizedIcon(services_.instance, IDI_PELVANTO, big));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  if (logic_) logic_->OnIconChanged();
}

void MainWindow::SetCaptureCaption(std::wstring_view caption) {
  ::SetWindowTextW(capture_button_, std::wstring(caption).c_str());
  ::InvalidateRect(capture_button_, nullptr, FALSE);
}

void MainWindow::SetIntervalText(std::wstring_view text) {
  ::SetWindowTextW(interval_box_, std::wstring(text).c_str());
}

void MainWindow::Hide() {
  // The overlay copies the screen right after this: the window must be gone from it by then.
  HideAndSettle(hwnd(), kSettleLimitMs);
}

void MainWindow::ShowNoActivate() { ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE); }

void MainWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOW);
  ReleaseCachedSurfaces(hwnd());
  ::SetForegroundWindow(hwnd());
}

TrayRecord MainWindow::OwnTrayRecord() const {
  TrayRecord record;
  record.window = reinterpret_cast<WindowId>(hwnd());
  record.icon = reinterpret_cast<std::uintptr_t>(small_icon_.get());
  record.id = kMainTrayId;
  return record;
}

void MainWindow::OnCut(const overlay::CutReport& report) {
  if (logic_ && !ended_) logic_->OnCut(report);
}

void MainWindow::OnAreaSet() {
  if (logic_ && !ended_) logic_->OnAreaSet();
}

void MainWindow::OnFollowChanged(const overlay::FollowFacts& facts) {
  if (!logic_ || ended_) return;
  logic_->OnFollowChanged(facts);
  // What the tip now says of the window, once per change, for DebugView (and the tests).
  const std::wstring line = app::FollowLine(facts);
  if (line != std::exchange(follow_line_, line) && !line.empty()) TraceLine(line);
}

void MainWindow::EndProgram() {
  ended_ = true;
  ::PostQuitMessage(0);
}

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case kCaptureButton:
      if (code == BN_CLICKED) logic_->OnCaptureClick();
      break;
    case kExitButton:
      if (code == BN_CLICKED) logic_->OnExitClick();
      break;
    case kIntervalBox:
      if (code == CBN_EDITCHANGE) {
        logic_->OnIntervalChange(TextOf(interval_box_));
      } else if (code == CBN_SELCHANGE) {
        // The edit field still shows the old text while this notification runs.
        const auto index = ::SendMessageW(interval_box_, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) break;
        std::wstring text(static_cast<std::size_t>(::SendMessageW(interval_box_, CB_GETLBTEXTLEN,
                                                                  static_cast<WPARAM>(index), 0)) +
                              1,
                          L'\0');
        const auto length = ::SendMessageW(interval_box_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(text.data()));
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        logic_->OnIntervalChange(text);
      }
      break;
    default: break;
  }
}

LRESULT MainWindow::OnSecondStart() { return logic_->OnSecondStart() ? kInstanceShown : 0; }

void MainWindow::OnEndSession(bool ending) {
  // Windows ends the process after this: the hotkeys and the icons go first.
  if (ending) logic_->Shutdown();
}

void MainWindow::DrawButton(const DRAWITEMSTRUCT& item) const {
  // A flat-coloured push button with a 3-D edge, like a graphical button.
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  FillSolid(item.hDC, r, item.CtlID == kCaptureButton ? kCaptureButtonBack : kExitButtonBack);
  ::DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const std::wstring text = TextOf(item.hwndItem);
  if (pressed) ::OffsetRect(&r, 1, 1);
  const int old_mode = ::SetBkMode(item.hDC, TRANSPARENT);
  const COLORREF old_colour = ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
  {
    SelectGuard font(item.hDC, button_font_.get());
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SetTextColor(item.hDC, old_colour);
  ::SetBkMode(item.hDC, old_mode);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(item.hDC, &focus);
  }
}

LRESULT MainWindow::ColourStatic(HDC dc, HWND control) const {
  if (control == help_text_) {
    // Read-only, but it reads like a text box.
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
  }
  if (control == interval_label_ || control == help_caption_) ::SetTextColor(dc, kBlue);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::OnTimer(UINT_PTR id) {
  switch (id) {
    case kAutoCutTimer: logic_->OnAutoCutTimer(); break;
    case kTitleWatchTimer: logic_->OnTitleWatchTimer(); break;
    case kPointerResetTimer: logic_->OnPointerResetTimer(); break;
    case kForegroundTimer: shell_messages_->OnForegroundTimer(); break;
    default: break;
  }
}

void MainWindow::OnTrayCallback(WPARAM wparam, LPARAM lparam) {
  const TrayEvent event = ReadTrayCallback(wparam, lparam);
  if (event.message == WM_LBUTTONDBLCLK) {
    logic_->OnTrayDoubleClick();
  } else if (OpensMenu(event)) {
    // The choice runs from its own message, once the menu's loop is over.
    if (const auto command = tray_menu_.Show(hwnd(), event.anchor, logic_->TrayMenu()))
      ::PostMessageW(hwnd(), kMenuCommand, static_cast<WPARAM>(*command), 0);
  }
}

void MainWindow::OnMenuCommand(WPARAM id) {
  if (const auto command = CommandOf(static_cast<UINT>(id))) logic_->OnMenuCommand(*command);
}

void MainWindow::OnSessionChange(WPARAM change) {
  services_.session.OnSessionChange(change);
  logic_->OnSessionChange(services_.session.ScreenShown());
}

void MainWindow::OnDpiChanged(const RECT& suggested) noexcept {
  if (!logic_ || ended_) return;
  // Only the place: ApplyDpi sizes the window for its client area at the new DPI.
  ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi();
}

void MainWindow::OnMinimised() noexcept {
  if (logic_ && !ended_) logic_->OnResize(true);
}

void MainWindow::OnRestored() noexcept {
  if (logic_ && !ended_) logic_->OnResize(false);
}

// The registered messages: the taskbar's return, and the shell's notifications.
bool MainWindow::OnRegisteredMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == TaskbarCreatedMessage()) {
    tray_menu_.Close();  // the icon the menu belonged to is gone
    logic_->OnTaskbarCreated();
    return true;
  }
  return shell_messages_->OnMessage(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_NCDESTROY) {
    services_.session.Stop();
    if (shell_messages_) shell_messages_->Unsubscribe();
  }
  // Before the logic exists, and after the program ended, the window does only the default.
  if (!logic_ || ended_) return message == WM_CLOSE ? 0 : Default(message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wparam), HIWORD(wparam)); return 0;
    case WM_DRAWITEM: DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_TIMER: OnTimer(wparam); return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && services_.pointer.Apply()) return TRUE;
      break;
    case kTrayCallback: OnTrayCallback(wparam, lparam); return 0;
    case kMenuCommand: OnMenuCommand(wparam); return 0;
    case kReapOverlay: overlay_->Reap(); return 0;
    case kTakeCachedDcs: ReleaseCachedSurfaces(hwnd()); return 0;
    case WM_CLOSE: logic_->Shutdown(); return 0;
    case WM_HOTKEY: logic_->OnHotkey(static_cast<int>(wparam)); return 0;
    case WM_ENDSESSION: OnEndSession(wparam != FALSE); return 0;
    case WM_WTSSESSION_CHANGE: OnSessionChange(wparam); return 0;
    default:
      if (message == ShowInstanceMessage()) return OnSecondStart();
      if (OnRegisteredMessage(message, wparam, lparam)) return 0;
      break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace pelvanto::win32
