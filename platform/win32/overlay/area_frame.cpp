#include "platform/win32/overlay/area_frame.h"

#include <vector>

#include "overlay/elements.h"
#include "overlay/watch_frame.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/base/late_bound.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/base/trace.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PelvantoAreaFrame";
constexpr DWORD kExStyle =
    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr COLORREF kGapColour = RGB(255, 255, 255);  // between the dashes while paused
// The longest the screen is watched after a hide: a frame over a background of its own colour
// never shows a change, and freezing it then makes no difference to the picture.
constexpr unsigned kSettleLimitMs = 500;

// Windows 10 2004 can leave a window out of every screen copy; earlier versions refuse the
// value (and Windows 7 has the call without it), Wine accepts it and does nothing. No cut
// reaches the frame and it leaves the screen before a freeze, so this only helps.
void ExcludeFromCapture(HWND window) {
  constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE
  if (const auto set_affinity = LateBound().set_display_affinity)
    set_affinity(window, kExcludeFromCapture);
}

}  // namespace

// --- One edge ---------------------------------------------------------------------------

bool FrameEdge::Register(HINSTANCE instance) {
  return RegisterClass(instance, kClassName, IDI_PELVANTO);
}

bool FrameEdge::Create(HINSTANCE instance) {
  if (!Window::Create(kExStyle, kClassName, L"", WS_POPUP, RECT{0, 0, 1, 1}, nullptr, instance))
    return false;
  // Opaque, through the layered path that lets clicks go through.
  ::SetLayeredWindowAttributes(hwnd(), 0, 255, LWA_ALPHA);
  ExcludeFromCapture(hwnd());
  return true;
}

void FrameEdge::Place(const RectI& rect, bool dashed) {
  if (!Exists()) return;
  if (rect.Empty()) {
    Hide();
    return;
  }
  if (rect == rect_ && dashed == dashed_) {
    if (!Shown()) ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    return;
  }
  rect_ = rect;
  dashed_ = dashed;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void FrameEdge::Hide() {
  if (Exists()) ::ShowWindow(hwnd(), SW_HIDE);
}

bool FrameEdge::Shown() const { return Exists() && ::IsWindowVisible(hwnd()); }

void FrameEdge::Paint() {
  const PaintScope paint(hwnd());
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const COLORREF blue = overlay::kSelectionColour;
  if (!dashed_) {
    FillSolid(paint.dc(), client, blue);
    return;
  }
  // Dashes three times as long as the edge is thick, gaps two; counted from the desktop's
  // origin, so the edges' dashes line up with each other.
  FillSolid(paint.dc(), client, kGapColour);
  const bool across = rect_.Width() >= rect_.Height();
  const int thickness = across ? rect_.Height() : rect_.Width();
  const int dash = 3 * thickness;
  const int period = 5 * thickness;
  if (period <= 0) return;
  const int start = across ? rect_.left : rect_.top;
  const int length = across ? rect_.Width() : rect_.Height();
  int offset = ((start % period) + period) % period;  // where the first period began
  for (int at = -offset; at < length; at += period) {
    const int from = at < 0 ? 0 : at;
    const int to = at + dash > length ? length : at + dash;
    if (to <= from) continue;
    const RECT piece = across ? RECT{from, 0, to, client.bottom} : RECT{0, from, client.right, to};
    FillSolid(paint.dc(), piece, blue);
  }
}

LRESULT FrameEdge::Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;  // the window below takes the click
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_DPICHANGED: return 0;  // each edge's size comes from its monitor's DPI already
    case WM_DISPLAYCHANGE:
      // Every top-level window gets it; one edge is enough to place the frame anew.
      if (index_ == 0) frame_.OnDisplayChange();
      return 0;
    default: return Default(message, wparam, lparam);
  }
}

// --- The frame --------------------------------------------------------------------------

void AreaFrame::Show(const RectI& area, app::FrameStyle style) {
  area_ = area;
  style_ = style;
  Place();
}

void AreaFrame::Place() {
  if (style_ == app::FrameStyle::kHidden) {
    // Off at once; the screen is watched only from OffScreen's looks, never waited for here.
    std::vector<HWND> shown;
    for (const auto& edge : edges_)
      if (edge && edge->Shown()) shown.push_back(edge->hwnd());
    if (!shown.empty()) leaving_ = std::make_unique<SettleWatch>(shown, kSettleLimitMs);
    return;
  }
  leaving_.reset();
  if (!edges_[0]) {
    for (int i = 0; i < 4; ++i) {
      auto edge = std::make_unique<FrameEdge>(*this, i);
      if (!edge->Create(instance_)) {
        TraceFailure(L"creating the area frame");
        for (auto& made : edges_) made.reset();
        return;
      }
      edges_[static_cast<std::size_t>(i)] = std::move(edge);
    }
  }
  // The layout now: monitors may have come, gone or changed DPI since the area was marked.
  const auto rects = overlay::FrameEdges(area_, CurrentDesktop());
  const bool dashed = style_ == app::FrameStyle::kDashed;
  for (std::size_t i = 0; i < edges_.size(); ++i) edges_[i]->Place(rects[i], dashed);
}

bool AreaFrame::Shown() const {
  for (const auto& edge : edges_)
    if (edge && edge->Shown()) return true;
  return false;
}

bool AreaFrame::OffScreen() {
  if (Shown()) return false;
  if (leaving_ && !leaving_->Settled()) return false;
  leaving_.reset();
  return true;
}

std::array<HWND, 4> AreaFrame::EdgeWindows() const {
  std::array<HWND, 4> windows{};
  for (std::size_t i = 0; i < edges_.size(); ++i)
    if (edges_[i]) windows[i] = edges_[i]->hwnd();
  return windows;
}

}  // namespace pelvanto::win32
