#include "platform/win32/overlay_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "overlay/damage.h"
#include "platform/win32/dpi.h"
#include "platform/win32/monitor_layout.h"
#include "platform/win32/notification_area.h"
#include "platform/win32/present.h"
#include "platform/win32/screen_capture.h"
#include "platform/win32/surface_release.h"
#include "platform/win32/window_class.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelvantoOverlay";
constexpr wchar_t kAnchorClassName[] = L"PelvantoOverlayAnchor";
constexpr UINT_PTR kCutTimerId = 1;
constexpr unsigned kCutTimerMs = 10;
constexpr wchar_t const* kTooltips[] = {L"撤销", L"复制退出", L"退出截屏"};

int Buttons(WPARAM wparam) {
  int buttons = 0;
  if (wparam & MK_LBUTTON) buttons |= mouse::kLeft;
  if (wparam & MK_RBUTTON) buttons |= mouse::kRight;
  if (wparam & MK_MBUTTON) buttons |= mouse::kMiddle;
  return buttons;
}

// The overlay's keys, with the modifiers held as the key went down.
std::optional<overlay::KeyPress> KeyFrom(WPARAM key, LPARAM lparam) {
  overlay::KeyPress press;
  switch (key) {
    case VK_ESCAPE: press.key = overlay::Key::Escape; break;
    case VK_RETURN: press.key = overlay::Key::Enter; break;
    case VK_LEFT: press.key = overlay::Key::Left; break;
    case VK_RIGHT: press.key = overlay::Key::Right; break;
    case VK_UP: press.key = overlay::Key::Up; break;
    case VK_DOWN: press.key = overlay::Key::Down; break;
    default: return std::nullopt;
  }
  press.shift = ::GetKeyState(VK_SHIFT) < 0;
  press.ctrl = ::GetKeyState(VK_CONTROL) < 0;
  press.repeat = (lparam & (LPARAM{1} << 30)) != 0;  // the key was already down
  return press;
}

// A test-only switch, so scenarios that compare whole screenshots need not predict the loupe.
bool LoupeTurnedOff() {
  wchar_t value[8] = {};
  return ::GetEnvironmentVariableW(L"PELVANTO_TEST_NO_LOUPE", value, 8) > 0 &&
         value[0] == L'1';
}

// A mouse position in desktop pixels, from client pixels of a window whose top-left corner
// is at `origin`.
float X(LPARAM lparam, const RectI& origin) {
  return static_cast<float>(GET_X_LPARAM(lparam) + origin.left);
}
float Y(LPARAM lparam, const RectI& origin) {
  return static_cast<float>(GET_Y_LPARAM(lparam) + origin.top);
}

}  // namespace

OverlayForm::OverlayForm(OverlayShared shared, std::uint64_t random_seed)
    : shared_(std::move(shared)), random_seed_(random_seed) {}

OverlayForm::~OverlayForm() { DestroyNow(); }

void OverlayForm::DestroyNow() {
  if (destroying_ || Gone()) return;
  destroying_ = true;
  // As on the way to the tray: Wine's cached DCs must let go of the screen-sized surface too.
  if (hwnd_) RetireSurface();
  if (anchor_) ::DestroyWindow(anchor_);
}

void OverlayForm::RetireSurface() {
  retire_requested_ = false;
  if (!hwnd_) return;
  // Once in the tray the overlay is never shown again, and the cuts copy the live screen:
  // the screen-sized picture and the window's own screen-sized surface would only sit in
  // memory for as long as the auto-cut runs.
  ::DestroyWindow(hwnd_);
  frozen_.reset();
  painter_.reset();
  tooltip_font_.Reset();
  // Wine's cached DCs would keep the screen-sized surface: they go over to the anchor.
  ReleaseCachedSurfaces(anchor_);
}

bool OverlayForm::Register(HINSTANCE instance) {
  // Double clicks: one inside the selection copies and exits.
  return RegisterWindowClass(instance, kClassName, WndProc, IDI_OVERLAY, nullptr, CS_DBLCLKS) &&
         RegisterWindowClass(instance, kAnchorClassName, AnchorProc, IDI_OVERLAY, nullptr);
}

bool OverlayForm::Load() {
  // Physical pixels of every monitor: the program is per-monitor DPI aware. Read at each
  // load, so a changed layout (WM_DISPLAYCHANGE) is the next overlay's.
  desktop_ = CurrentDesktop();
  const RectI& bounds = desktop_.bounds;
  anchor_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kAnchorClassName, L"Pelvanto", WS_POPUP, 0, 0,
                              0, 0, nullptr, nullptr, shared_.program.instance, this);
  if (!anchor_) return false;
  hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Pelvanto",
                            WS_POPUP, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                            nullptr, nullptr, shared_.program.instance, this);
  if (!hwnd_) {
    DestroyNow();
    return false;
  }
  dpi_ = dpi::ForWindow(hwnd_);
  const int small = dpi::SystemMetric(SM_CXSMICON, dpi_);
  small_icon_.Reset(LoadSizedIcon(shared_.program.instance, IDI_OVERLAY, small));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  cut_timer_ = std::make_unique<WindowTimer>(anchor_, kCutTimerId);
  cut_timer_->SetInterval(kCutTimerMs);
  if (!LoupeTurnedOff()) loupe_painter_ = std::make_unique<LoupePainter>(dpi_);
  logic_ = std::make_unique<overlay::Overlay>(
      overlay::OverlayServices{*this, shared_.program.pointer, shared_.program.clock,
                               shared_.program.screen, shared_.program.clipboard,
                               shared_.program.tray, *cut_timer_, shared_.auto_cut_timer,
                               shared_.overlay_open},
      desktop_, random_seed_);
  logic_->Load();
  painted_ = logic_->elements();
  damage_.Reset(::CreateRectRgn(0, 0, 0, 0));
  piece_.Reset(::CreateRectRgn(0, 0, 0, 0));
  return true;
}

void OverlayForm::Show() {
  if (!hwnd_ || logic_->Unloaded()) return;
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  // The frozen picture goes on the screen now, before the caller goes on (to the tray icon,
  // a round trip to the shell).
  ::UpdateWindow(hwnd_);
  ShowDrawingNow();
}

void OverlayForm::StartCut() {
  if (!Gone() && !logic_->Unloaded()) cut_timer_->SetEnabled(true);
}

bool OverlayForm::FreezeScreen(const RectI& area) {
  const auto unshown = overlay::UnshownParts(desktop_, area);
  frozen_ = ScreenPixels::Copy({area.left, area.top, area.right, area.bottom}, unshown);
  frozen_area_ = area;
  return frozen_ != nullptr;
}

RECT OverlayForm::ToClient(const RectI& r) const {
  const RectI& origin = desktop_.bounds;
  return {r.left - origin.left, r.top - origin.top, r.right - origin.left,
          r.bottom - origin.top};
}

std::uint32_t OverlayForm::FrozenPixel(int desktop_x, int desktop_y) const {
  const std::int64_t x = std::int64_t{desktop_x} - frozen_area_.left;
  const std::int64_t y = std::int64_t{desktop_y} - frozen_area_.top;
  if (!frozen_ || x < 0 || y < 0 || x >= frozen_->width() || y >= frozen_->height()) return 0;
  const std::uint32_t bgra = frozen_->pixels()[static_cast<std::size_t>(y) *
                                                   static_cast<std::size_t>(frozen_->width()) +
                                               static_cast<std::size_t>(x)];
  // 0x00RRGGBB in memory order B, G, R; a COLORREF is 0x00BBGGRR.
  return ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
}

void OverlayForm::Maximise() {
  // A borderless window over the whole desktop: client pixels are desktop pixels less the
  // desktop's top-left corner.
  const RectI& bounds = desktop_.bounds;
  ::SetWindowPos(hwnd_, HWND_TOPMOST, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOACTIVATE);
}

void OverlayForm::Minimise() { ::ShowWindow(hwnd_, SW_MINIMIZE); }

void OverlayForm::Hide() {
  ::ShowWindow(hwnd_, SW_HIDE);
  retire_requested_ = true;
  if (depth_ == 0) RetireSurface();
}

void OverlayForm::MakeLayeredOpaque() {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
}

void OverlayForm::Close() {
  close_requested_ = true;
  if (depth_ == 0) DestroyNow();
}

PointI OverlayForm::CursorPos() const {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

void OverlayForm::CreateTooltips() {
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               shared_.program.instance, nullptr);
  if (!tooltip_) return;
  // The system's tooltip font may lack Chinese glyphs (Wine's does).
  tooltip_font_.Reset(CreateSongtiFont(90, dpi_));
  ::SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(tooltip_font_.get()), FALSE);
  for (UINT_PTR i = 0; i < 3; ++i) {
    // Not TTF_SUBCLASS: the subclass would look up its window properties on every message of
    // the overlay, a drag's moves included.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = i;
    tool.lpszText = const_cast<LPWSTR>(kTooltips[i]);
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void OverlayForm::RelayToTooltips(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!tooltip_ || !painted_.toolbar.visible) return;
  MSG msg{};
  msg.hwnd = hwnd_;
  msg.message = message;
  msg.wParam = wparam;
  msg.lParam = lparam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  // Screen pixels: the window's corner is the desktop's.
  msg.pt = {GET_X_LPARAM(lparam) + desktop_.bounds.left,
            GET_Y_LPARAM(lparam) + desktop_.bounds.top};
  ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void OverlayForm::SyncDamage() {
  if (!hwnd_ || !logic_) return;
  // One invalidation of the union, the loupe's rectangles included: each call is a round trip
  // to the window server, and a drag changes up to two dozen small rectangles a move.
  std::vector<RectI> areas;
  if (loupe_painter_) {
    areas = overlay::LoupeDamage(painted_loupe_, logic_->loupe());
    painted_loupe_ = logic_->loupe();
  }
  const overlay::Elements now = logic_->elements();
  const bool changed = now != painted_;
  if (changed) {
    const std::vector<RectI> more = overlay::ChangedAreas(painted_, now, 1);
    areas.insert(areas.end(), more.begin(), more.end());
  }
  if (!areas.empty() && damage_ && piece_) {
    ::SetRectRgn(damage_.get(), 0, 0, 0, 0);
    for (const RectI& r : areas) {
      const RECT rect = ToClient(r);
      ::SetRectRgn(piece_.get(), rect.left, rect.top, rect.right, rect.bottom);
      ::CombineRgn(damage_.get(), damage_.get(), piece_.get(), RGN_OR);
    }
    ::InvalidateRgn(hwnd_, damage_.get(), FALSE);
    // A WM_PAINT comes only for damage on the window.
    RECT box{}, on_window{};
    const RECT client{0, 0, desktop_.bounds.Width(), desktop_.bounds.Height()};
    ::GetRgnBox(damage_.get(), &box);
    if (::IntersectRect(&on_window, &box, &client)) repaint_pending_ = true;
  } else {
    for (const RectI& r : areas) {
      const RECT rect = ToClient(r);
      ::InvalidateRect(hwnd_, &rect, FALSE);
    }
  }
  if (!changed) return;
  if (now.toolbar.visible && !tooltip_) CreateTooltips();
  if (tooltip_ &&
      (now.toolbar != painted_.toolbar || now.toolbar_buttons != painted_.toolbar_buttons)) {
    for (UINT_PTR i = 0; i < 3; ++i) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.hwnd = hwnd_;
      tool.uId = i;
      if (now.toolbar.visible) {
        const auto& bar = now.toolbar.rect;
        const auto& b = now.toolbar_buttons[i];
        const RectI r = overlay::DeviceRect({bar.left + b.left, bar.top + b.top, b.width,
                                             b.height});
        tool.rect = ToClient(r);
      }
      ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  painted_ = now;
}

OverlayPainter& OverlayForm::Painter() {
  // Its fonts and icons are made when first needed, not while the screen waits to freeze.
  if (!painter_) painter_ = std::make_unique<OverlayPainter>(shared_.program.instance, dpi_);
  return *painter_;
}

void OverlayForm::Paint() {
  // Changes that waited for this repaint are painted with it: the pointer's latest position.
  SyncDamage();
  repaint_pending_ = false;
  const PaintScope paint(hwnd_);
  HDC dc = paint.dc();
  const RECT rc = paint.area();
  // The paint DC is clipped to the update region, so the picture and the elements go straight
  // onto it: no buffer to make, clear and copy for every move of a drag. The window's surface
  // (Wine's, or the compositor's) shows the result once painting ends.
  // The frozen picture's pixel under client pixel (0, 0).
  const int frozen_x = desktop_.bounds.left - frozen_area_.left;
  const int frozen_y = desktop_.bounds.top - frozen_area_.top;
  if (frozen_)
    ::BitBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, frozen_->dc(),
             rc.left + frozen_x, rc.top + frozen_y, SRCCOPY);
  else
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
  if (!logic_) return;
  // The elements and the loupe are in desktop pixels.
  POINT old{};
  ::OffsetWindowOrgEx(dc, desktop_.bounds.left, desktop_.bounds.top, &old);
  if (!overlay::PaintedAreas(logic_->elements()).empty()) Painter().Paint(dc, logic_->elements());
  // On top of everything; it shows the frozen pixels, never the elements.
  if (loupe_painter_) {
    overlay::LoupeView loupe = logic_->loupe();
    loupe.source = {loupe.source.left - frozen_area_.left, loupe.source.top - frozen_area_.top,
                    loupe.source.right - frozen_area_.left, loupe.source.bottom - frozen_area_.top};
    loupe_painter_->Paint(dc, loupe, frozen_.get());
  }
  ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

template <typename Handler>
LRESULT OverlayForm::Run(Handler handler) {
  ++depth_;
  const LRESULT result = handler();
  --depth_;
  if (depth_ == 0 && !Gone()) {
    // While a repaint is due, changes wait for it: moves that come faster than the window
    // paints cost no invalidation each.
    if (!repaint_pending_ || !hwnd_ || !::IsWindowVisible(hwnd_)) SyncDamage();
    // A close or a retirement asked for in the middle of a handler happens once it is done.
    if (close_requested_)
      DestroyNow();
    else if (retire_requested_)
      RetireSurface();
  }
  return result;
}

LRESULT CALLBACK OverlayForm::WndProc(HWND hwnd, UINT message, WPARAM wparam,
                                      LPARAM lparam) noexcept {
  auto* self = WindowObject<OverlayForm>(hwnd, message, lparam);
  if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCCREATE) self->hwnd_ = hwnd;
  return self->Run([&] { return self->Handle(message, wparam, lparam); });
}

LRESULT CALLBACK OverlayForm::AnchorProc(HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam) noexcept {
  auto* self = WindowObject<OverlayForm>(hwnd, message, lparam);
  if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCCREATE) self->anchor_ = hwnd;
  return self->Run([&] { return self->HandleAnchor(message, wparam, lparam); });
}

LRESULT OverlayForm::HandleAnchor(UINT message, WPARAM wparam, LPARAM lparam) {
  overlay::Overlay* logic = logic_.get();
  switch (message) {
    case WM_TIMER:
      if (logic && wparam == kCutTimerId) logic->OnCutTimer();
      return 0;
    case kTrayCallback:
      return 0;  // the overlay's icon has no action of its own
    case WM_NCDESTROY: {
      HWND gone = std::exchange(anchor_, nullptr);
      ::SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
      if (shared_.on_gone) shared_.on_gone();
      return 0;
    }
    default:
      // Top-level windows all get it; only the anchor answers, so the icon comes back once.
      static const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
      if (logic && message == taskbar_created) {
        logic->OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(anchor_, message, wparam, lparam);
}

LRESULT OverlayForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  overlay::Overlay* logic = logic_.get();
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && shared_.program.pointer.Apply()) return TRUE;
      break;
    case WM_LBUTTONDBLCLK:
      if (!logic) break;
      ::SetCapture(hwnd_);
      logic->OnDoubleClick(X(lparam, desktop_.bounds), Y(lparam, desktop_.bounds));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:  // the class asks for double clicks; these are plain presses
    case WM_MBUTTONDBLCLK:
      if (!logic) break;
      RelayToTooltips(message, wparam, lparam);
      ::SetCapture(hwnd_);
      logic->OnMouseDown(message == WM_LBUTTONDOWN ? mouse::kLeft
                         : message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK
                             ? mouse::kRight
                             : mouse::kMiddle,
                         X(lparam, desktop_.bounds), Y(lparam, desktop_.bounds));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!logic) break;
      RelayToTooltips(message, wparam, lparam);
      logic->OnMouseUp(message == WM_LBUTTONUP   ? mouse::kLeft
                       : message == WM_RBUTTONUP ? mouse::kRight
                                                 : mouse::kMiddle,
                       X(lparam, desktop_.bounds), Y(lparam, desktop_.bounds));
      if (hwnd_ && !logic->Captured() && ::GetCapture() == hwnd_) ::ReleaseCapture();
      return 0;
    case WM_MOUSEMOVE:
      if (!logic) break;
      RelayToTooltips(message, wparam, lparam);
      if (!tracking_leave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_leave_ = ::TrackMouseEvent(&track) != FALSE;
      }
      logic->OnMouseMove(Buttons(wparam), X(lparam, desktop_.bounds), Y(lparam, desktop_.bounds));
      return 0;
    case WM_MOUSELEAVE:
      tracking_leave_ = false;
      if (logic) logic->OnPointerLeft();
      return 0;
    case WM_KEYDOWN:
      if (!logic) break;
      if (const auto press = KeyFrom(wparam, lparam); press && logic->OnKey(*press)) return 0;
      break;
    case WM_SIZE:
      if (logic && wparam == SIZE_MINIMIZED) logic->OnMinimised();
      return 0;
    case WM_CLOSE:
      // Alt+F4 and the like close the overlay as any other closing path does.
      if (logic) logic->Unload();
      return 0;
    case WM_DISPLAYCHANGE:
      // Monitors came, went or moved. A shown overlay keeps its frozen desktop, so its window
      // stays where that desktop was; the next overlay reads the new layout. A hidden one
      // keeps its area, which the next cut copies black where no monitor is any more.
      if (::IsWindowVisible(hwnd_) && !::IsIconic(hwnd_)) Maximise();
      return 0;
    case WM_NCDESTROY: {
      HWND gone = std::exchange(hwnd_, nullptr);
      tooltip_ = nullptr;  // owned by the surface, gone with it
      ::SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

namespace {
std::uint64_t FreshSeed() {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<std::uint64_t>(counter.QuadPart) ^
         (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^ ::GetTickCount64();
}
}  // namespace

void OverlayHost::Show() {
  if (current_ && !current_->Gone() && !current_->logic().Unloaded()) {
    current_->Show();
    return;
  }
  if (current_) retired_.push_back(std::move(current_));
  current_ = std::make_unique<OverlayForm>(shared_, FreshSeed());
  if (current_->Load()) current_->Show();
}

void OverlayHost::Unload() {
  if (current_ && !current_->Gone()) current_->logic().Unload();
}

void OverlayHost::StartCut() {
  if (current_) current_->StartCut();
}

void OverlayHost::Reap() {
  std::erase_if(retired_, [](const auto& form) { return form->Gone() && !form->Busy(); });
  if (current_ && current_->Gone() && !current_->Busy()) current_.reset();
}

}  // namespace pelvanto::win32
