#pragma once
// The capture overlay's full-screen window: a borderless, topmost, layered window over the
// whole virtual desktop that paints the frozen picture and the overlay's elements, and turns
// its mouse and key messages into calls on the overlay's logic. Its client pixel (0, 0) is
// the desktop's top-left corner, which lies at negative coordinates when a monitor is left of
// or above the primary; the logic works in desktop pixels.

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "overlay/desktop.h"
#include "overlay/overlay.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/overlay/loupe_painter.h"
#include "platform/win32/overlay/overlay_painter.h"
#include "platform/win32/system/pointer.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/text/tooltips.h"
#include "platform/win32/base/window.h"
#include "platform/win32/system/window_snapshot.h"

namespace pelvanto::win32 {

class OverlaySurface final : public Window<OverlaySurface> {
 public:
  OverlaySurface(HINSTANCE instance, ProgramPointer& pointer)
      : instance_(instance), pointer_(pointer) {}
  ~OverlaySurface();

  static bool Register(HINSTANCE instance);
  // Creates the hidden window over `desktop`. `heir` outlives it and takes Wine's cached
  // window DCs over once it has gone (kTakeCachedDcs).
  bool Create(const overlay::Desktop& desktop, HWND heir);
  // The logic its input goes to; set once, right after Create.
  void Attach(overlay::Overlay& logic);

  // Shows the window in front, with the keyboard focus.
  void ShowInFront();
  // Copies `area` of the desktop into the frozen picture; false when the copy failed.
  bool Freeze(const RectI& area);
  // The top-level windows on the screen, for snapping, recorded during the first Freeze; their
  // controls go to the logic as they are recorded, once the frozen picture is on the screen.
  std::optional<std::vector<overlay::WindowRecord>> RecordWindows();
  // The recording of the windows, while one runs (for tests).
  WindowRecording* Recording() { return recording_ ? &*recording_ : nullptr; }
  // SM_CXDRAG x SM_CYDRAG at the window's DPI.
  overlay::DragSize DragRectangle() const;
  // The frozen picture's colour at a desktop pixel, 0x00BBGGRR; 0 outside it.
  std::uint32_t FrozenPixel(int x, int y) const;
  // Covers the whole desktop, topmost.
  void CoverDesktop();
  void MakeLayeredOpaque();

 private:
  friend Window<OverlaySurface>;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  // Handlers of one message each; those of input run only once the logic is attached.
  void OnPaint();
  void OnButtonDown(UINT message, WPARAM wparam, LPARAM lparam);
  void OnDoubleClick(LPARAM lparam);
  void OnButtonUp(UINT message, WPARAM wparam, LPARAM lparam);
  void OnMouseMove(WPARAM wparam, LPARAM lparam);
  void OnMouseLeave();
  bool OnKeyDown(WPARAM wparam, LPARAM lparam);  // true when the logic took the key
  void OnMinimised() noexcept;                   // the window base's hook
  void OnDisplayChange();
  // What the handlers changed goes to the screen, or, while a repaint is due, waits for it.
  void AfterHandlers() noexcept;
  // Invalidates what changed since the last call, and moves the toolbar's tips.
  void SyncDamage();
  void Invalidate(const std::vector<RectI>& areas);
  void Paint();
  OverlayPainter& Painter();
  void MoveToolbarTips(const overlay::Elements& now);
  // A desktop rectangle in client pixels.
  RECT ToClient(const RectI& r) const;
  // A mouse position in desktop pixels.
  int DesktopX(LPARAM lparam) const;
  int DesktopY(LPARAM lparam) const;
  void Relay(UINT message, WPARAM wparam, LPARAM lparam);
  // The window is gone: the screen-sized picture and painters go with it.
  void Release();
  LRESULT OnPainted();
  LRESULT OnRecordControls();
  LRESULT OnControlsRecorded();
  // A right press or release meant for a tray icon under the overlay went on to it.
  bool PassedToTray(UINT message, LPARAM lparam);

  HINSTANCE instance_;
  ProgramPointer& pointer_;
  overlay::Overlay* logic_ = nullptr;
  HWND heir_ = nullptr;
  overlay::Desktop desktop_;  // the monitors as they were at opening; the window covers them
  RectI frozen_area_;         // what frozen_ holds, in desktop pixels
  std::unique_ptr<ScreenPixels> frozen_;         // the frozen screen; null until a copy succeeded
  std::unique_ptr<OverlayPainter> painter_;      // made at the first paint of an element
  std::unique_ptr<LoupePainter> loupe_painter_;  // null when a test turned the loupe off
  Tooltips toolbar_tips_;                        // made when the toolbar first shows
  overlay::Elements painted_;         // what the screen shows, as of the last invalidation
  overlay::LoupeView painted_loupe_;  // the loupe as of the last invalidation
  std::vector<BYTE> region_data_;     // the changed rectangles as a region's data, reused
  bool repaint_pending_ = false;      // damage invalidated, its WM_PAINT not run yet
  bool tracking_leave_ = false;       // WM_MOUSELEAVE asked for since the pointer came in
  // The windows being recorded: the top-level ones while the opening freeze copies the screen,
  // their controls once its picture is on the screen. Cancelled when the window goes.
  std::optional<WindowRecording> recording_;
  bool recorded_ = false;    // the opening freeze recorded the windows; an adjustment's does not
  bool shown_ = false;       // the first paint is done: the controls are recorded next
  bool tray_press_ = false;  // the right press went on to a tray icon: so does its release
};

}  // namespace pelvanto::win32
