#include "platform/win32/overlay/overlay_host.h"

#include <utility>

#include "platform/win32/base/dpi.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/base/window_class.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr unsigned kCutTimerMs = 10;
constexpr unsigned kFrameGoneLookMs = USER_TIMER_MINIMUM;  // between two looks at the screen

std::uint64_t FreshSeed() {
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<std::uint64_t>(counter.QuadPart) ^
         (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^ ::GetTickCount64();
}

}  // namespace

OverlayInstance::OverlayInstance(const OverlayShared& shared, std::uint64_t random_seed)
    : shared_(shared),
      random_seed_(random_seed),
      anchor_(shared.program.instance,
              [window = shared.main_window] { ::PostMessageW(window, kReapOverlay, 0, 0); }),
      surface_(shared.program.instance, shared.program.pointer),
      frame_(shared.program.instance),
      watch_([this] { CheckFollowed(); }) {}

OverlayInstance::~OverlayInstance() {
  // The windows' handlers reach the logic: they go first.
  surface_.Destroy();
  anchor_.Destroy();
}

bool OverlayInstance::Open() {
  // Physical pixels of every monitor: the program is per-monitor DPI aware. Read at each
  // opening, so a changed layout (WM_DISPLAYCHANGE) is the next overlay's.
  const overlay::Desktop desktop = CurrentDesktop();
  if (!anchor_.Create()) {
    TraceFailure(L"CreateWindowExW (overlay anchor)");
    return false;
  }
  if (!surface_.Create(desktop, shared_.main_window)) {
    TraceFailure(L"CreateWindowExW (overlay surface)");
    anchor_.Destroy();
    return false;
  }
  const int small = dpi::SystemMetric(SM_CXSMICON, surface_.dpi());
  small_icon_.Reset(LoadSizedIcon(shared_.program.instance, IDI_OVERLAY, small));
  GiveSurfaceIcon();
  cut_timer_ = std::make_unique<WindowTimer>(anchor_.hwnd(), kCutTimer);
  cut_timer_->SetInterval(kCutTimerMs);
  frame_gone_timer_ = std::make_unique<WindowTimer>(anchor_.hwnd(), kFrameGoneTimer);
  frame_gone_timer_->SetInterval(kFrameGoneLookMs);
  anchor_.OnFrameGoneTick([this] { OnFrameGoneTick(); });
  const ProgramServices& p = shared_.program;
  logic_ = std::make_unique<overlay::Overlay>(
      overlay::OverlayServices{*this, p.pointer, p.clock, p.screen, p.clipboard, p.tray,
                               *cut_timer_, shared_.auto_cut_timer, shared_.events, watch_},
      desktop, random_seed_);
  anchor_.Attach(*logic_);
  anchor_.ForwardMenuTo(shared_.main_window);
  surface_.Attach(*logic_);
  // A failed screen copy has closed the overlay, and destroyed its windows.
  return logic_->Open();
}

bool OverlayInstance::Finished() const {
  return !anchor_.Exists() && !surface_.Exists() && !anchor_.Busy() && !surface_.Busy();
}

void OverlayInstance::Hide() {
  // Once in the tray the overlay is never shown again, and the cuts copy the live screen:
  // the screen-sized picture and the window's own screen-sized surface would only sit in
  // memory for as long as the auto-cut runs. The anchor stays.
  ::ShowWindow(surface_.hwnd(), SW_HIDE);
  surface_.Destroy();
}

void OverlayInstance::Destroy() {
  // The capture ends: the frame goes with it, before the instance waits to be freed.
  frame_.Hide();
  surface_.Destroy();
  anchor_.Destroy();
}

void OverlayInstance::CancelCut() {
  if (!Closed()) logic_->CancelCut();
}

bool OverlayInstance::Adjust() {
  if (Closed() || surface_.Exists() || !anchor_.Exists()) return false;
  if (frame_gone_timer_->Enabled()) return true;  // on its way already
  // The frame leaves the screen before the screen freezes again. The thread does not wait for
  // that: the anchor's timer looks, and the other messages run in between.
  frame_.Hide();
  if (frame_.OffScreen()) return FreezeForAdjust();
  frame_gone_timer_->SetEnabled(true);
  return true;
}

void OverlayInstance::OnFrameGoneTick() {
  if (Closed()) {
    frame_gone_timer_->SetEnabled(false);
    return;
  }
  if (!frame_.OffScreen()) return;
  frame_gone_timer_->SetEnabled(false);
  // Still in the tray with its area: the steering hears it as the adjustment's end.
  if (!FreezeForAdjust()) shared_.events.OnAreaSet();
}

bool OverlayInstance::FreezeForAdjust() {
  const overlay::Desktop desktop = CurrentDesktop();
  if (!surface_.Create(desktop, shared_.main_window)) {
    TraceFailure(L"CreateWindowExW (overlay surface)");
    return false;
  }
  GiveSurfaceIcon();
  surface_.Attach(*logic_);
  if (!logic_->Adjust(desktop)) {
    // Still in the tray with its area; the new window goes again.
    TraceFailure(L"the adjustment's screen copy");
    surface_.Destroy();
    return false;
  }
  Show();
  return true;
}

void OverlayInstance::GiveSurfaceIcon() {
  ::SendMessageW(surface_.hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(small_icon_.get()));
}

void OverlayInstance::ShowFrame(app::FrameStyle style) {
  if (Closed()) {
    frame_.Hide();
    return;
  }
  // Where the followed window put the area last.
  frame_.Show(logic_->WatchedArea(), style);
}

void OverlayInstance::CheckFollowed() {
  if (!Closed()) logic_->OnFollowCheck();
}

bool OverlayInstance::SetFollowing(bool on) { return !Closed() && logic_->SetFollowing(on); }

void OverlayInstance::StartCut() {
  if (!Closed() && anchor_.Exists()) cut_timer_->SetEnabled(true);
}

PointI OverlayInstance::CursorPos() const {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

OverlayHost::~OverlayHost() {
  current_.reset();
  closed_.clear();
}

bool OverlayHost::Register(HINSTANCE instance) {
  return OverlaySurface::Register(instance) && OverlayAnchor::Register(instance) &&
         AreaFrame::Register(instance);
}

bool OverlayHost::Open() {
  if (IsOpen()) {
    current_->Show();
    return true;
  }
  if (current_) closed_.push_back(std::move(current_));
  current_ = std::make_unique<OverlayInstance>(shared_, FreshSeed());
  if (!current_->Open()) {
    // Nothing of it is on the screen; the main window comes back.
    current_->Destroy();
    closed_.push_back(std::move(current_));
    return false;
  }
  current_->Show();
  return true;
}

void OverlayHost::Close() {
  if (current_ && !current_->Closed()) current_->logic().Close();
}

void OverlayHost::CancelCut() {
  if (current_) current_->CancelCut();
}

bool OverlayHost::Adjust() { return IsOpen() && current_->Adjust(); }

void OverlayHost::ShowFrame(app::FrameStyle style) {
  if (current_) current_->ShowFrame(style);
}

void OverlayHost::CheckFollowed() {
  if (current_) current_->CheckFollowed();
}

bool OverlayHost::SetFollowing(bool on) { return IsOpen() && current_->SetFollowing(on); }

void OverlayHost::StartCut() {
  if (current_) current_->StartCut();
}

void OverlayHost::Reap() {
  std::erase_if(closed_, [](const auto& overlay) { return overlay->Finished(); });
  if (current_ && current_->Finished()) current_.reset();
}

}  // namespace pelvanto::win32
