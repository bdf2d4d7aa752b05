#include "platform/win32/main_form.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <string>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/fonts.h"
#include "platform/win32/notification_area.h"
#include "platform/win32/overlay_painter.h"
#include "platform/win32/screen_settle.h"
#include "platform/win32/surface_release.h"
#include "platform/win32/window_class.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelvantoMain";
constexpr wchar_t kCaption[] = L"Pelvanto (Pelvanto 开发组)";
constexpr UINT kReapOverlay = WM_APP + 2;
constexpr unsigned kSettleLimitMs = 500;  // the longest a hide waits for the screen

// 4 is the shell hook's foreground watch.
enum : UINT_PTR { kAutoCutTimer = 1, kTitleWatchTimer = 2, kPointerResetTimer = 3, kTrayIconTimer = 5 };
enum : int { kOuterFrame = 100, kCaptureButton, kIntervalBox, kIntervalLabel, kExitButton, kHelpFrame, kHelpCaption, kHelpText };

constexpr COLORREF kCaptureButtonBack = 0x00C0FFC0;  // RGB(192,255,192)
constexpr COLORREF kExitButtonBack = 0x00FFC0FF;  // RGB(255,192,255)
constexpr COLORREF kBlue = 0x00FF0000;          // RGB(0,0,255)

// Client area and controls in twips. The help text sits inside the help frame.
constexpr SIZE kClientTwips{8925, 5310};
struct TwipsRect {
  int left, top, width, height;
};
constexpr TwipsRect kOuterFrameTwips{0, 0, 8895, 5295};
constexpr TwipsRect kCaptureButtonTwips{120, 240, 1260, 450};
constexpr TwipsRect kIntervalBoxTwips{2880, 300, 735, 330};
constexpr TwipsRect kIntervalLabelTwips{1650, 375, 1260, 180};
constexpr TwipsRect kExitButtonTwips{7440, 240, 1260, 450};
constexpr TwipsRect kHelpFrameTwips{120, 840, 8655, 4335};
constexpr TwipsRect kHelpTextTwips{120 + 120, 840 + 480, 8415, 3735};
constexpr int kIntervalListTwips = 3600;  // how far the list drops

constexpr wchar_t kHelpTextContent[] =
    L"使用说明\r\n"
    L"1. 在“切图频率(秒)”中选好自动切图的间隔，选 0 表示暂停。\r\n"
    L"2. 点“切图开始”，屏幕随即定格；用鼠标左键拖出要截取的区域。\r\n"
    L"3. 在选区里按住左键可以移动它，拖动四角和四边的小方块可以调整大小；"
    L"右键清除选区，没有选区时右键退出截屏。\r\n"
    L"4. 点工具条上的“复制退出”，程序就每隔设定的秒数把这块区域的最新画面放到剪贴板，"
    L"可以直接粘贴到 QQ 聊天窗口。\r\n"
    L"5. 双击通知区域里的图标可以找回本窗口；点“切图结束”停止截图。\r\n"
    L"提示：切换到另一个 QQ 聊天时，剪贴板会被清空，以免把图片发错了人。";

int Scale(int twips, unsigned dpi) { return ::MulDiv(twips, static_cast<int>(dpi), 1440); }

void Place(HWND control, const TwipsRect& r, unsigned dpi, int extra_height = 0) {
  ::SetWindowPos(control, nullptr, Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.width, dpi),
                 Scale(r.height, dpi) + extra_height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(),
                                                         static_cast<int>(text.size()))));
  return text;
}

// A frame's caption sits on its top edge, a little in from the left, as wide as its text.
void PlaceCaption(HWND caption, const TwipsRect& frame, unsigned dpi) {
  const std::wstring text = TextOf(caption);
  WindowDc dc(caption);
  SIZE extent{};
  {
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(caption, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  const int inset = ::MulDiv(6, static_cast<int>(dpi), 96);
  ::SetWindowPos(caption, nullptr, Scale(frame.left, dpi) + inset, Scale(frame.top, dpi),
                 extent.cx + 2, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}


HFONT KaitiFont(unsigned dpi) {
  static const std::wstring face = InstalledFace(kKaitiFaces);  // looked up once
  return ::CreateFontW(-::MulDiv(1425, static_cast<int>(dpi), 7200), 0, 0, 0, FW_BOLD, FALSE,
                       FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace

MainForm::MainForm(ProgramServices services)
    : services_(services), tracker_(services.windows, services.clipboard) {}

MainForm::~MainForm() {
  overlay_.reset();
  shell_hook_.reset();
  services_.session.Stop();
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool MainForm::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kClassName, WndProc, IDI_PELVANTO, ::GetSysColorBrush(COLOR_BTNFACE));
}

bool MainForm::Create() {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  hwnd_ = ::CreateWindowExW(0, kClassName, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, services_.instance,
                            this);
  if (!hwnd_) return false;
  DisableHideFade(hwnd_);
  dpi_ = dpi::ForWindow(hwnd_);

  auto_cut_timer_ = std::make_unique<WindowTimer>(hwnd_, kAutoCutTimer);
  title_watch_timer_ = std::make_unique<WindowTimer>(hwnd_, kTitleWatchTimer);
  pointer_reset_timer_ = std::make_unique<WindowTimer>(hwnd_, kPointerResetTimer);
  tray_icon_timer_ = std::make_unique<WindowTimer>(hwnd_, kTrayIconTimer);
  CreateControls();
  ApplyDpi();

  OverlayShared shared{services_, *auto_cut_timer_, overlay_open_,
                       [window = hwnd_] { ::PostMessageW(window, kReapOverlay, 0, 0); }};
  overlay_ = std::make_unique<OverlayHost>(std::move(shared));
  shell_hook_ = std::make_unique<ShellHook>(
      hwnd_, tracker_, [this](UINT message, WPARAM wparam, LPARAM lparam) {
        return OwnHandling(message, wparam, lparam);
      });
  // Refused (no Terminal Services), cuts go on as without the watch.
  services_.session.Start(hwnd_);
  logic_ = std::make_unique<app::MainWindow>(
      *this, *overlay_,
      app::MainWindowTimers{*auto_cut_timer_, *title_watch_timer_, *pointer_reset_timer_,
                            *tray_icon_timer_},
      services_.pointer, services_.tray, *shell_hook_, tracker_, overlay_open_);
  logic_->Start();

  // Centred on the primary screen's work area at the first show.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{};
  ::GetWindowRect(hwnd_, &outer);
  const int w = outer.right - outer.left;
  const int h = outer.bottom - outer.top;
  ::SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  services_.pump.SetDialogWindow(hwnd_);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
  return true;
}

void MainForm::CreateControls() {
  auto make = [&](DWORD ex_style, LPCWSTR cls, LPCWSTR text, DWORD style, int id) {
    return ::CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             services_.instance, nullptr);
  };
  // Creation order is the tab order.
  outer_frame_ = make(0, WC_BUTTONW, L"", BS_GROUPBOX, kOuterFrame);
  capture_button_ = make(0, WC_BUTTONW, app::kStartCaption.data(), BS_OWNERDRAW | WS_TABSTOP,
                   kCaptureButton);
  interval_box_ = make(0, WC_COMBOBOXW, L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                 kIntervalBox);
  interval_label_ = make(0, WC_STATICW, L"切图频率(秒)：", SS_LEFT | SS_NOPREFIX, kIntervalLabel);
  exit_button_ = make(0, WC_BUTTONW, L"关闭退出", BS_OWNERDRAW | WS_TABSTOP, kExitButton);
  help_frame_ = make(0, WC_BUTTONW, L"", BS_GROUPBOX, kHelpFrame);
  // A group box draws its caption in the button text colour on some systems (Wine among
  // them), so the blue caption is a label of its own on the frame's top edge.
  help_caption_ = make(0, WC_STATICW, L"欢迎亲加入", SS_LEFT | SS_NOPREFIX, kHelpCaption);
  help_text_ = make(WS_EX_CLIENTEDGE, WC_EDITW, kHelpTextContent,
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, kHelpText);

  for (int i = 0; i <= 36; ++i)
    ::SendMessageW(interval_box_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  for (int i = 38; i <= 50; i += 2)
    ::SendMessageW(interval_box_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  ::SetWindowTextW(interval_box_, app::kInitialInterval.data());

  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               services_.instance, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ::GetComboBoxInfo(interval_box_, &info);
  for (HWND part : {interval_box_, info.hwndItem}) {
    if (!part || !tooltip_) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(part);
    tool.lpszText = const_cast<LPWSTR>(L"自动切图的时间间隔");
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// Sizes, fonts and icons for the window's DPI; at 96 dpi every size is the laid-out one.
void MainForm::ApplyDpi() {
  button_font_.Reset(CreateSongtiFont(120, dpi_));
  combo_font_.Reset(CreateSongtiFont(105, dpi_));
  label_font_.Reset(CreateSongtiFont(90, dpi_));
  frame_font_.Reset(KaitiFont(dpi_));
  text_font_.Reset(CreateSongtiFont(105, dpi_));
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
  // The system's tooltip font may lack Chinese glyphs (Wine's does).
  if (tooltip_) font(tooltip_, label_font_);

  Place(outer_frame_, kOuterFrameTwips, dpi_);
  Place(capture_button_, kCaptureButtonTwips, dpi_);
  Place(interval_box_, kIntervalBoxTwips, dpi_, Scale(kIntervalListTwips, dpi_));
  Place(interval_label_, kIntervalLabelTwips, dpi_);
  Place(exit_button_, kExitButtonTwips, dpi_);
  Place(help_frame_, kHelpFrameTwips, dpi_);
  PlaceCaption(help_caption_, kHelpFrameTwips, dpi_);
  Place(help_text_, kHelpTextTwips, dpi_);
  // The closed interval box is as tall as laid out.
  const int field =
      Scale(kIntervalBoxTwips.height, dpi_) - 2 * dpi::SystemMetric(SM_CYEDGE, dpi_) - 2;
  ::SendMessageW(interval_box_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);

  RECT outer{0, 0, Scale(kClientTwips.cx, dpi_), Scale(kClientTwips.cy, dpi_)};
  dpi::AdjustWindowRect(outer, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE)), 0,
                        dpi_);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // The old icons live until the window and the tray record have the new ones.
  const OwnedIcon old_small = std::exchange(small_icon_, {});
  const OwnedIcon old_big = std::exchange(big_icon_, {});
  const int small = dpi::SystemMetric(SM_CXSMICON, dpi_);
  const int big = dpi::SystemMetric(SM_CXICON, dpi_);
  small_icon_.Reset(LoadSizedIcon(services_.instance, IDI_PELVANTO, small));
  big_icon_.Reset(LoadSizedIcon(services_.instance, IDI_PELVANTO, big));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  if (logic_) logic_->OnIconChanged();
}

void MainForm::SetCaptureCaption(std::wstring_view caption) {
  ::SetWindowTextW(capture_button_, std::wstring(caption).c_str());
  ::InvalidateRect(capture_button_, nullptr, FALSE);
}

void MainForm::SetIntervalText(std::wstring_view text) {
  ::SetWindowTextW(interval_box_, std::wstring(text).c_str());
}

void MainForm::Hide() {
  // The overlay copies the screen right after this: the window must be gone from it by then.
  HideAndSettle(hwnd_, kSettleLimitMs);
}

void MainForm::ShowNoActivate() { ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE); }

void MainForm::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ReleaseCachedSurfaces(hwnd_);
  ::SetForegroundWindow(hwnd_);
}

TrayRecord MainForm::OwnTrayRecord() const {
  TrayRecord record;
  record.window = reinterpret_cast<WindowId>(hwnd_);
  record.icon = reinterpret_cast<std::uintptr_t>(small_icon_.get());
  record.id = kMainTrayId;
  return record;
}

void MainForm::EndProgram() {
  ended_ = true;
  ::PostQuitMessage(0);
}

void MainForm::OnCommand(int id, int code) {
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
        std::wstring text(
            static_cast<std::size_t>(::SendMessageW(interval_box_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0)) + 1,
            L'\0');
        const auto length = ::SendMessageW(interval_box_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(text.data()));
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        logic_->OnIntervalChange(text);
      }
      break;
    default:
      break;
  }
}

void MainForm::DrawButton(const DRAWITEMSTRUCT& item) const {
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

LRESULT MainForm::ColourStatic(HDC dc, HWND control) const {
  if (control == help_text_) {
    // Read-only, but it reads like a text box.
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
  }
  if (control == interval_label_ || control == help_caption_) ::SetTextColor(dc, kBlue);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK MainForm::WndProc(HWND hwnd, UINT message, WPARAM wparam,
                                   LPARAM lparam) noexcept {
  auto* self = WindowObject<MainForm>(hwnd, message, lparam);
  if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCCREATE) self->hwnd_ = hwnd;
  // The shell hook sees every message first and hands each on to OwnHandling.
  if (self->shell_hook_) return self->shell_hook_->Intercept(message, wparam, lparam);
  return self->OwnHandling(message, wparam, lparam);
}

LRESULT MainForm::OwnHandling(UINT message, WPARAM wparam, LPARAM lparam) {
  // Before the logic exists, and after the program ended, the window does only the default.
  if (!logic_ || ended_) {
    const HWND window = hwnd_;
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
    }
    if (message == WM_CLOSE) return 0;
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return Handle(message, wparam, lparam);
}

LRESULT MainForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_TIMER:
      switch (wparam) {
        case kAutoCutTimer: logic_->OnAutoCutTimer(); break;
        case kTitleWatchTimer: logic_->OnTitleWatchTimer(); break;
        case kPointerResetTimer: logic_->OnPointerResetTimer(); break;
        case kTrayIconTimer: logic_->OnTrayIconTimer(); break;
        case ShellHook::kForegroundTimerId: shell_hook_->OnForegroundTimer(); break;
        default: break;
      }
      return 0;
    case WM_SIZE:
      logic_->OnResize(wparam == SIZE_MINIMIZED);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && services_.pointer.Apply()) return TRUE;
      break;
    case kTrayCallback:
      if (LOWORD(lparam) == WM_LBUTTONDBLCLK) logic_->OnTrayDoubleClick();
      return 0;
    case kReapOverlay:
      overlay_->Reap();
      return 0;
    case WM_CLOSE:
      logic_->Shutdown();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi();
      return 0;
    }
    case WM_WTSSESSION_CHANGE:
      services_.session.OnSessionChange(wparam);
      return 0;
    case WM_NCDESTROY:
      services_.session.Stop();
      ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    default: {
      static const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
      if (message == taskbar_created) {
        logic_->OnTaskbarCreated();
        return 0;
      }
      break;
    }
  }
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace pelvanto::win32
