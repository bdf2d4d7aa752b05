#pragma once
// Opening and closing capture overlays for the main window. Each overlay is its logic, its
// full-screen surface and its hidden anchor; the main window keeps a single one open at a
// time, and frees a closed one once none of its handlers runs any more.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/capture_control.h"
#include "overlay/overlay.h"
#include "platform/win32/overlay/area_frame.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/overlay/overlay_anchor.h"
#include "platform/win32/overlay/overlay_surface.h"
#include "platform/win32/system/program_services.h"
#include "platform/win32/system/window_watch.h"
#include "platform/win32/base/window_timer.h"

namespace pelvanto::win32 {

// What every overlay shares with the rest of the program.
struct OverlayShared {
  ProgramServices program;
  Timer& auto_cut_timer;
  overlay::AreaEvents& events;  // cuts and areas, reported to the main window's logic
  HWND main_window;             // outlives every overlay: posted kReapOverlay and kTakeCachedDcs
};

// One overlay: the logic and the two windows it shows itself through.
class OverlayInstance final : public overlay::OverlayView {
 public:
  OverlayInstance(const OverlayShared& shared, std::uint64_t random_seed);
  ~OverlayInstance() override;
  OverlayInstance(const OverlayInstance&) = delete;
  OverlayInstance& operator=(const OverlayInstance&) = delete;

  // Creates the windows and opens the logic, which freezes the screen; false when any of it
  // failed, and the instance is closed then.
  bool Open();
  void Show() { surface_.ShowInFront(); }
  // The overlay cuts once, at its cut timer's next tick.
  void StartCut();
  void CancelCut();
  bool CutUnderWay() const { return !Closed() && cut_timer_ && cut_timer_->Enabled(); }
  // From the tray: the surface again, over the desktop as it is now, with the area in place.
  // The screen freezes once it no longer shows the frame, from a timer when it still does;
  // a freeze that fails then reports the old area set again (AreaEvents::OnAreaSet).
  bool Adjust();
  void ShowFrame(app::FrameStyle style);
  // The followed window is read again; the system's reports of its moves come here too.
  void CheckFollowed();
  bool SetFollowing(bool on);
  const AreaFrame& frame() const { return frame_; }
  const SystemWindowWatch& watch() const { return watch_; }
  overlay::Overlay& logic() { return *logic_; }
  OverlaySurface& surface() { return surface_; }
  // Its overlay is closed, or was never opened.
  bool Closed() const { return !logic_ || logic_->Closed(); }
  // Both windows are gone and none of their handlers runs: the instance may be freed.
  bool Finished() const;

  // overlay::OverlayView
  bool FreezeScreen(const RectI& area) override { return surface_.Freeze(area); }
  std::uint32_t FrozenPixel(int x, int y) const override { return surface_.FrozenPixel(x, y); }
  void Maximise() override { surface_.CoverDesktop(); }
  void Minimise() override { ::ShowWindow(surface_.hwnd(), SW_MINIMIZE); }
  void Hide() override;
  void MakeLayeredOpaque() override { surface_.MakeLayeredOpaque(); }
  void Destroy() override;
  PointI CursorPos() const override;
  std::optional<std::vector<overlay::WindowRecord>> RecordWindows() override {
    return surface_.RecordWindows();
  }
  overlay::DragSize DragRectangle() const override { return surface_.DragRectangle(); }
  // The anchor: the tray icon must stay valid after the surface is gone.
  WindowId Id() const override { return reinterpret_cast<WindowId>(anchor_.hwnd()); }
  std::uintptr_t IconHandle() const override {
    return reinterpret_cast<std::uintptr_t>(small_icon_.get());
  }

 private:
  const OverlayShared& shared_;
  std::uint64_t random_seed_;
  OverlayAnchor anchor_;
  OverlaySurface surface_;
  bool FreezeForAdjust();
  // The surface shows the overlay's icon: each new surface gets the one made at opening.
  void GiveSurfaceIcon();
  void OnFrameGoneTick();

  AreaFrame frame_;          // around the watched area while the auto-cut runs
  SystemWindowWatch watch_;  // the followed window
  OwnedIcon small_icon_;
  std::unique_ptr<WindowTimer> cut_timer_;
  std::unique_ptr<WindowTimer> frame_gone_timer_;  // an adjustment waits for the frame to go
  std::unique_ptr<overlay::Overlay> logic_;
};

// The main window's handle on its overlays.
class OverlayHost final : public app::OverlayControl {
 public:
  explicit OverlayHost(OverlayShared shared) : shared_(shared) {}
  ~OverlayHost() override;
  OverlayHost(const OverlayHost&) = delete;
  OverlayHost& operator=(const OverlayHost&) = delete;

  static bool Register(HINSTANCE instance);
  bool Open() override;
  void Close() override;
  bool IsOpen() const override { return current_ && !current_->Closed(); }
  void StartCut() override;
  void CancelCut() override;
  bool CutUnderWay() const override { return IsOpen() && current_->CutUnderWay(); }
  bool Adjust() override;
  void ShowFrame(app::FrameStyle style) override;
  void CheckFollowed() override;
  bool SetFollowing(bool on) override;
  // The open overlay, for tests; null when none is.
  OverlayInstance* Current() { return IsOpen() ? current_.get() : nullptr; }
  // Frees the instances that are finished.
  void Reap();

 private:
  OverlayShared shared_;
  std::unique_ptr<OverlayInstance> current_;
  std::vector<std::unique_ptr<OverlayInstance>> closed_;
};

}  // namespace pelvanto::win32
