#include "platform/win32/overlay/overlay_surface.h"

#include <windowsx.h>

#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "overlay/damage.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/display/present.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/system/tray_icons.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelvantoOverlay";
MouseButtons Buttons(WPARAM wparam) {
  MouseButtons held;
  if (wparam & MK_LBUTTON) held.Add(MouseButton::kLeft);
  if (wparam & MK_RBUTTON) held.Add(MouseButton::kRight);
  if (wparam & MK_MBUTTON) held.Add(MouseButton::kMiddle);
  return held;
}

// The button a press or release message is about; double clicks of the right and middle
// buttons are plain presses (the class asks for double clicks for the left one).
MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return MouseButton::kLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return MouseButton::kRight;
    default: return MouseButton::kMiddle;
  }
}

// The overlay's keys, with the modifiers held as the key went down.
std::optional<overlay::KeyPress> KeyFrom(WPARAM key, LPARAM lparam) {
  overlay::KeyPress press;
  switch (key) {
    case VK_ESCAPE: press.key = overlay::Key::kEscape; break;
    case VK_RETURN: press.key = overlay::Key::kEnter; break;
    case VK_LEFT: press.key = overlay::Key::kLeft; break;
    case VK_RIGHT: press.key = overlay::Key::kRight; break;
    case VK_UP: press.key = overlay::Key::kUp; break;
    case VK_DOWN: press.key = overlay::Key::kDown; break;
    case VK_TAB: press.key = overlay::Key::kTab; break;
    default: return std::nullopt;
  }
  press.shift = ::GetKeyState(VK_SHIFT) < 0;
  press.ctrl = ::GetKeyState(VK_CONTROL) < 0;
  press.repeat = (lparam & (LPARAM{1} << 30)) != 0;  // the key was already down
  return press;
}

// Switches only tests use ("1" turns one on), so scenarios that compare whole screenshots need
// not predict what follows the pointer: PELVANTO_TEST_NO_LOUPE, PELVANTO_TEST_NO_SNAPPING.
bool TestSwitchOn(const wchar_t* name) {
  wchar_t value[8] = {};
  return ::GetEnvironmentVariableW(name, value, 8) > 0 && value[0] == L'1';
}

bool LoupeTurnedOff() { return TestSwitchOn(L"PELVANTO_TEST_NO_LOUPE"); }
bool SnappingTurnedOff() { return TestSwitchOn(L"PELVANTO_TEST_NO_SNAPPING"); }

}  // namespace

OverlaySurface::~OverlaySurface() {
  // Its handlers use the members below: the window goes while they are alive.
  Destroy();
}

bool OverlaySurface::Register(HINSTANCE instance) {
  // Double clicks: one inside the selection copies and exits.
  return RegisterClass(instance, kClassName, IDI_OVERLAY, nullptr, CS_DBLCLKS);
}

bool OverlaySurface::Create(const overlay::Desktop& desktop, HWND heir) {
  desktop_ = desktop;
  heir_ = heir;
  const RectI& b = desktop_.bounds;
  if (!Window::Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Pelvanto", WS_POPUP,
                      {b.left, b.top, b.right, b.bottom}, nullptr, instance_))
    return false;
  if (!LoupeTurnedOff()) loupe_painter_ = std::make_unique<LoupePainter>(dpi());
  return true;
}

void OverlaySurface::Attach(overlay::Overlay& logic) {
  logic_ = &logic;
  painted_ = logic.Scene();
}

void OverlaySurface::ShowInFront() {
  if (!Exists()) return;
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  // Active and focused within this thread even where the foreground is refused or comes late,
  // so the keys come here, not to the hidden main window, once the program has the foreground.
  ::SetFocus(hwnd());
  // The frozen picture goes on the screen now, before the caller goes on (to the tray icon,
  // a round trip to the shell).
  ::UpdateWindow(hwnd());
  ShowDrawingNow();
}

bool OverlaySurface::Freeze(const RectI& area) {
  // At the opening freeze the windows are recorded at the same moment as the picture: the
  // recording's round trips to the wine server run while the copy waits for the display. An
  // adjustment's freeze has a selection already: nothing to snap to.
  if (!std::exchange(recorded_, true) && !SnappingTurnedOff())
    recording_.emplace(WindowSnapshot(::GetCurrentProcessId(), desktop_.bounds));
  const auto unshown = overlay::UnshownParts(desktop_, area);
  frozen_ = ScreenPixels::Copy({area.left, area.top, area.right, area.bottom}, unshown);
  frozen_area_ = area;
  if (!frozen_) TraceFailure(L"the frozen picture's screen copy");
  return frozen_ != nullptr;
}

std::optional<std::vector<overlay::WindowRecord>> OverlaySurface::RecordWindows() {
  if (!recording_) return std::nullopt;
  return recording_->Take();
}

overlay::DragSize OverlaySurface::DragRectangle() const {
  return {dpi::SystemMetric(SM_CXDRAG, dpi()), dpi::SystemMetric(SM_CYDRAG, dpi())};
}

std::uint32_t OverlaySurface::FrozenPixel(int desktop_x, int desktop_y) const {
  const std::int64_t x = std::int64_t{desktop_x} - frozen_area_.left;
  const std::int64_t y = std::int64_t{desktop_y} - frozen_area_.top;
  if (!frozen_ || x < 0 || y < 0 || x >= frozen_->width() || y >= frozen_->height()) return 0;
  const std::uint32_t bgra =
      frozen_->pixels()[static_cast<std::size_t>(y) * static_cast<std::size_t>(frozen_->width()) +
                        static_cast<std::size_t>(x)];
  // 0x00RRGGBB in memory order B, G, R; a COLORREF is 0x00BBGGRR.
  return ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
}

void OverlaySurface::CoverDesktop() {
  // A borderless window over the whole desktop: client pixels are desktop pixels less the
  // desktop's top-left corner.
  const RectI& b = desktop_.bounds;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, b.left, b.top, b.Width(), b.Height(), SWP_NOACTIVATE);
}

void OverlaySurface::MakeLayeredOpaque() {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, style | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(hwnd(), 0, 255, LWA_ALPHA);
}

RECT OverlaySurface::ToClient(const RectI& r) const {
  const RectI& origin = desktop_.bounds;
  return {r.left - origin.left, r.top - origin.top, r.right - origin.left, r.bottom - origin.top};
}

int OverlaySurface::DesktopX(LPARAM lparam) const {
  return GET_X_LPARAM(lparam) + desktop_.bounds.left;
}
int OverlaySurface::DesktopY(LPARAM lparam) const {
  return GET_Y_LPARAM(lparam) + desktop_.bounds.top;
}

void OverlaySurface::Relay(UINT message, WPARAM wparam, LPARAM lparam) {
  // Mouse messages reach the tips only while the toolbar is on the screen.
  if (!painted_.toolbar.visible) return;
  // Screen pixels: the window's corner is the desktop's.
  toolbar_tips_.Relay(
      message, wparam, lparam,
      {GET_X_LPARAM(lparam) + desktop_.bounds.left, GET_Y_LPARAM(lparam) + desktop_.bounds.top});
}

void OverlaySurface::MoveToolbarTips(const overlay::Elements& now) {
  if (now.toolbar.visible && !toolbar_tips_ && toolbar_tips_.Create(hwnd(), instance_, dpi())) {
    // Areas, not a subclass: a subclass would look up its window properties on every message
    // of the overlay, a drag's moves included.
    for (UINT_PTR i = 0; i < overlay::kToolbarButtons.size(); ++i)
      toolbar_tips_.AddArea(i, overlay::kToolbarButtons[i].tooltip);
  }
  if (!toolbar_tips_ ||
      (now.toolbar == painted_.toolbar && now.toolbar_buttons == painted_.toolbar_buttons))
    return;
  for (UINT_PTR i = 0; i < overlay::kToolbarButtons.size(); ++i) {
    RECT area{};
    if (now.toolbar.visible) {
      const RectI& bar = now.toolbar.rect;
      area = ToClient(Offset(now.toolbar_buttons[i], bar.left, bar.top));
    }
    toolbar_tips_.MoveArea(i, area);
  }
}

void OverlaySurface::AfterHandlers() noexcept {
  // While a repaint is due, changes wait for it: moves that come faster than the window
  // paints cost no invalidation each. A repaint is due only while the window has an update
  // region: one validated some other way would otherwise hold the changes back for good.
  if (repaint_pending_ && ::IsWindowVisible(hwnd()) && ::GetUpdateRect(hwnd(), nullptr, FALSE))
    return;
  SyncDamage();
}

void OverlaySurface::Invalidate(const std::vector<RectI>& areas) {
  // One region made from all the rectangles at once: a region call per rectangle is a trip
  // into the system each, two dozen a move.
  region_data_.assign(sizeof(RGNDATAHEADER) + areas.size() * sizeof(RECT), 0);
  auto* data = reinterpret_cast<RGNDATA*>(region_data_.data());
  RECT box{};
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const RECT rect = ToClient(areas[i]);
    std::memcpy(data->Buffer + i * sizeof(RECT), &rect, sizeof rect);
    ::UnionRect(&box, &box, &rect);
  }
  data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(areas.size()),
               static_cast<DWORD>(areas.size() * sizeof(RECT)), box};
  const OwnedRegion damage(
      ::ExtCreateRegion(nullptr, static_cast<DWORD>(region_data_.size()), data));
  if (damage) {
    ::InvalidateRgn(hwnd(), damage.get(), FALSE);
  } else {
    for (const RectI& r : areas) {
      const RECT rect = ToClient(r);
      ::InvalidateRect(hwnd(), &rect, FALSE);
    }
  }
  // A WM_PAINT comes only for damage on the window.
  RECT on_window{};
  const RECT client{0, 0, desktop_.bounds.Width(), desktop_.bounds.Height()};
  if (::IntersectRect(&on_window, &box, &client)) repaint_pending_ = true;
}

void OverlaySurface::SyncDamage() {
  if (!logic_) return;
  // The loupe's rectangles and the elements' go into one invalidation.
  std::vector<RectI> areas;
  if (loupe_painter_) {
    const overlay::LoupeView& loupe = logic_->Loupe();
    areas = overlay::LoupeDamage(painted_loupe_, loupe);
    painted_loupe_ = loupe;
  }
  const overlay::Elements now = logic_->Scene();
  const bool changed = now != painted_;
  if (changed) {
    const std::vector<RectI> more = overlay::ChangedAreas(painted_, now, 1);
    areas.insert(areas.end(), more.begin(), more.end());
  }
  if (!areas.empty()) Invalidate(areas);
  if (!changed) return;
  MoveToolbarTips(now);
  painted_ = now;
}

OverlayPainter& OverlaySurface::Painter() {
  // Its fonts and icons are made when first needed, not while the screen waits to freeze.
  if (!painter_) painter_ = std::make_unique<OverlayPainter>(instance_, dpi());
  return *painter_;
}

void OverlaySurface::Paint() {
  // Changes that waited for this repaint are painted with it: the pointer's latest position.
  SyncDamage();
  repaint_pending_ = false;
  const PaintScope paint(hwnd());
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
  // What the screen shows is the scene and the loupe as of the sync above.
  if (!overlay::PaintedAreas(painted_).empty()) Painter().Paint(dc, painted_);
  // On top of everything; it shows the frozen pixels, never the elements.
  if (loupe_painter_) {
    overlay::LoupeView loupe = painted_loupe_;
    loupe.source = {loupe.source.left - frozen_area_.left, loupe.source.top - frozen_area_.top,
                    loupe.source.right - frozen_area_.left, loupe.source.bottom - frozen_area_.top};
    loupe_painter_->Paint(dc, loupe, frozen_.get());
  }
  ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

void OverlaySurface::Release() {
  toolbar_tips_.Forget();  // owned by the window, gone with it
  frozen_.reset();
  painter_.reset();
  loupe_painter_.reset();
  // Controls still being recorded would have nowhere to go: the thread stops, and frees them.
  recording_.reset();
  // Once this window is wholly gone, a window that outlives it takes Wine's cached DCs over.
  ::PostMessageW(heir_, kTakeCachedDcs, 0, 0);
}

void OverlaySurface::OnPaint() {
  Paint();
  // Once the frozen picture is on the screen, the controls of the windows on it are recorded:
  // under Wine each is a round trip to the wine server, which the freeze itself need not wait
  // for.
  if (!std::exchange(shown_, true)) ::PostMessageW(hwnd(), kRecordControls, 0, 0);
}

void OverlaySurface::OnButtonDown(UINT message, WPARAM wparam, LPARAM lparam) {
  Relay(message, wparam, lparam);
  ::SetCapture(hwnd());
  logic_->OnMouseDown(ButtonOf(message), DesktopX(lparam), DesktopY(lparam));
}

void OverlaySurface::OnDoubleClick(LPARAM lparam) {
  ::SetCapture(hwnd());
  logic_->OnDoubleClick(DesktopX(lparam), DesktopY(lparam));
}

void OverlaySurface::OnButtonUp(UINT message, WPARAM wparam, LPARAM lparam) {
  Relay(message, wparam, lparam);
  logic_->OnMouseUp(ButtonOf(message), DesktopX(lparam), DesktopY(lparam));
  if (!logic_->Captured() && ::GetCapture() == hwnd()) ::ReleaseCapture();
}

void OverlaySurface::OnMouseMove(WPARAM wparam, LPARAM lparam) {
  Relay(WM_MOUSEMOVE, wparam, lparam);
  if (!tracking_leave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    tracking_leave_ = ::TrackMouseEvent(&track) != FALSE;
  }
  logic_->OnMouseMove(Buttons(wparam), DesktopX(lparam), DesktopY(lparam));
}

void OverlaySurface::OnMouseLeave() {
  tracking_leave_ = false;
  if (logic_) logic_->OnPointerLeft();
}

bool OverlaySurface::OnKeyDown(WPARAM wparam, LPARAM lparam) {
  const auto press = KeyFrom(wparam, lparam);
  return press && logic_->OnKey(*press);
}

void OverlaySurface::OnMinimised() noexcept {
  if (logic_) logic_->OnMinimised();
}

void OverlaySurface::OnDisplayChange() {
  // Monitors came, went or moved. A shown overlay keeps its frozen desktop, so its window stays
  // where that desktop was; the next overlay reads the new layout.
  if (::IsWindowVisible(hwnd()) && !::IsIconic(hwnd())) CoverDesktop();
}

LRESULT OverlaySurface::OnRecordControls() {
  // On the recording's own thread: a window of many thousands of controls takes seconds under
  // Wine, while the overlay answers its user at once and offers the windows themselves.
  if (recording_) recording_->RecordControls(hwnd(), kControlsRecorded);
  return 0;
}

LRESULT OverlaySurface::OnControlsRecorded() {
  if (recording_ && logic_) logic_->OnControlsRecorded(recording_->TakeControls());
  return 0;
}

bool OverlaySurface::PassedToTray(UINT message, LPARAM lparam) {
  // Under Wine an adjustment covers the tray's own window, whose icons show in the frozen
  // picture: a right click on one opens its menu, as the user meant, rather than cancelling
  // the adjustment. The release goes wherever its press went.
  if (message == WM_RBUTTONUP) return std::exchange(tray_press_, false);
  if (!logic_ || !logic_->Adjusting()) return false;
  tray_press_ = PassToTrayIcon(message, {DesktopX(lparam), DesktopY(lparam)});
  return tray_press_;
}

LRESULT OverlaySurface::Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  // Input goes to the logic; until it is attached, the window does only the default with it.
  const bool attached = logic_ != nullptr;
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(); return 0;
    case kRecordControls: return OnRecordControls();
    case kControlsRecorded: return OnControlsRecorded();
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && pointer_.Apply()) return TRUE;
      break;
    case WM_LBUTTONDBLCLK:
      if (!attached) break;
      OnDoubleClick(lparam);
      return 0;
    case WM_RBUTTONDOWN:
      if (PassedToTray(message, lparam)) return 0;
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (!attached) break;
      OnButtonDown(message, wparam, lparam);
      return 0;
    case WM_RBUTTONUP:
      if (PassedToTray(message, lparam)) return 0;
      [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
      if (!attached) break;
      OnButtonUp(message, wparam, lparam);
      return 0;
    case WM_MOUSEMOVE:
      if (!attached) break;
      OnMouseMove(wparam, lparam);
      return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_KEYDOWN:
      if (attached && OnKeyDown(wparam, lparam)) return 0;
      break;
    case WM_CLOSE:
      // Alt+F4 and the like close the overlay as any other closing path does.
      if (attached) logic_->OnCloseRequest();
      return 0;
    case WM_DISPLAYCHANGE: OnDisplayChange(); return 0;
    case WM_NCDESTROY: Release(); break;
    default: break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace pelvanto::win32
