#pragma once
// The capture overlay: a full-screen window showing a frozen picture of the screen, on which
// the user marks the area that every auto-cut copies from the live screen. This class ties
// its parts together (selection, handles, toolbar, input routing, cut) and owns its life.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/tray_icon.h"
#include "host/clipboard.h"
#include "host/clock.h"
#include "host/pointer_shape.h"
#include "host/screen.h"
#include "host/timer.h"
#include "host/tray.h"
#include "host/types.h"
#include "host/window_watch.h"
#include "overlay/cut.h"
#include "overlay/desktop.h"
#include "overlay/elements.h"
#include "overlay/follow.h"
#include "overlay/handles.h"
#include "overlay/input_router.h"
#include "overlay/keys.h"
#include "overlay/loupe.h"
#include "overlay/metrics.h"
#include "overlay/selection.h"
#include "overlay/snapping.h"
#include "overlay/toolbar.h"

namespace pelvanto::overlay {

// What the overlay's logic asks of its window.
class OverlayView {
 public:
  virtual ~OverlayView() = default;
  // Copies the area of the desktop (virtual-desktop pixels) into the window's persistent
  // surface, black where no monitor is. False when the copy failed (the surface then shows
  // the back colour).
  virtual bool FreezeScreen(const RectI& area) = 0;
  // Colour of the frozen picture at a virtual-desktop pixel, 0x00BBGGRR; 0 outside it.
  virtual std::uint32_t FrozenPixel(int x, int y) const = 0;
  virtual void Maximise() = 0;
  // Minimising runs the overlay's OnMinimised.
  virtual void Minimise() = 0;
  // Leaves the screen for good, into the tray: the window may free the frozen picture and its
  // own surface; Id(), IconHandle() and the cut timer stay valid until Destroy().
  virtual void Hide() = 0;
  // Draws the window through the layered path, fully opaque.
  virtual void MakeLayeredOpaque() = 0;
  // Destroys the window once no handler of it is running any more.
  virtual void Destroy() = 0;
  // The cursor's position in virtual-desktop pixels.
  virtual PointI CursorPos() const = 0;
  // The top-level windows on the screen at the freeze, in z-order, as SnapTargets takes them;
  // their controls come later, as they are recorded (Overlay::OnControlsRecorded). Nothing where
  // the window offers no snapping at all (a switch only tests use).
  virtual std::optional<std::vector<WindowRecord>> RecordWindows() = 0;
  // The system's drag rectangle at the window's DPI: a press and release inside it is a click.
  virtual DragSize DragRectangle() const = 0;
  // The window and its icon, for its notification-area record.
  virtual WindowId Id() const = 0;
  virtual std::uintptr_t IconHandle() const = 0;
};

// What the overlay tells the rest of the program about the watched area.
class AreaEvents {
 public:
  virtual ~AreaEvents() = default;
  // A cut was made, whether or not its picture reached the clipboard.
  virtual void OnCut(const CutReport& report) = 0;
  // The overlay went to the tray with an area: "复制退出" on a fresh overlay, or the end of an
  // adjustment, with the new area or the old (also when its freeze failed).
  virtual void OnAreaSet() = 0;
  // The followed window moved, changed its state, or went; or following was turned on or off.
  // Comes before OnAreaSet for a new area.
  virtual void OnFollowChanged(const FollowFacts& facts) = 0;
};

// Everything else the overlay reaches.
struct OverlayServices {
  OverlayView& window;
  PointerShape& pointer;
  Clock& clock;
  Screen& screen;
  Clipboard& clipboard;
  Tray& tray;
  Timer& cut_timer;       // the overlay's own one-shot timer: one cut per enabling
  Timer& auto_cut_timer;  // the main window's pace of cuts
  AreaEvents& events;
  WindowWatch& windows;  // the windows an area can follow
};

class Overlay final : private InputTargets {
 public:
  // Positions throughout are physical pixels of the virtual desktop.
  Overlay(OverlayServices services, Desktop desktop, std::uint64_t random_seed);

  // Freezes the screen and covers it; runs before the window is first shown. False when the
  // screen could not be copied: the overlay has closed itself then.
  bool Open();
  // Controls of the windows recorded at the freeze, as they come in: the highlight takes them
  // in at once; Tab and a click act on what has come so far.
  void OnControlsRecorded(const std::vector<ControlBatch>& batches);
  // The window was minimised: it hides into the tray.
  void OnMinimised();
  // Removes the overlay's icon, stops the cuts and closes the window. Every handler does
  // nothing once the overlay is closed.
  void Close();
  bool Closed() const override { return closed_; }
  // The taskbar was recreated: the overlay's icon, if shown, is added again.
  void OnTaskbarCreated();
  // Alt+F4 and the like: as "退出截屏".
  void OnCloseRequest() { Quit(); }

  // From the tray, on a window made afresh over `desktop` (read anew): freezes the screen and
  // shows the watched area in place, kept on the desktop, to be moved or resized. "复制退出"
  // goes back to the tray with the new area; "退出截屏", Alt+F4, or Esc or a right click with
  // nothing changed go back with the old one. False, and still in the tray as before, when not
  // in the tray or the screen could not be copied.
  bool Adjust(Desktop desktop);
  bool Adjusting() const { return adjusting_; }
  // A cut asked for and not made yet is dropped.
  void CancelCut() { services_.cut_timer.SetEnabled(false); }

  // The followed window is read again (a pace tick, or the system said it moved): the area
  // moves with it. Nothing while the overlay is on the screen or no window is followed.
  void OnFollowCheck();
  // "跟随窗口" on or off; false when there is no window to follow.
  bool SetFollowing(bool on);
  const FollowFacts& Follow() const { return follower_.Facts(); }
  // The area the cuts copy, where the followed window put it last.
  RectI WatchedArea() const;

  // Mouse input from the window. `button` is the one that changed; `held` the buttons held
  // during a move.
  void OnMouseDown(MouseButton button, int x, int y);
  void OnMouseMove(MouseButtons held, int x, int y);
  void OnMouseUp(MouseButton button, int x, int y);
  // A left double click: a press like any other; when it landed inside the selection, its
  // release copies and exits as the toolbar's button does.
  void OnDoubleClick(int x, int y);
  // The pointer left the window: the loupe goes.
  void OnPointerLeft() { loupe_.visible = false; }
  // True while a press holds the pointer capture.
  bool Captured() const { return router_.Captured(); }

  // Esc, Enter and the arrows (keys.cpp). True when the key did something.
  bool OnKey(const KeyPress& press);
  // The loupe beside the pointer.
  const LoupeView& Loupe() const { return loupe_; }
  HitTarget HitTest(int x, int y) const override;

  // The one-shot cut timer ticked: one cut of the live screen at the selection.
  void OnCutTimer();

  // The scene the window paints over the frozen picture: every element, shown or hidden.
  Elements Scene() const;
  const Selection& CurrentSelection() const { return selection_; }
  const ResizeHandles& Handles() const { return handles_; }
  // The margin the last cut drew, 0 to 29.
  int LastMargin() const { return cutter_.LastMargin(); }

 private:
  // InputTargets
  void SurfacePress(MouseButton button, int x, int y) override;
  void SurfaceMove(MouseButtons held, int x, int y) override;
  void SurfaceRelease(MouseButton button) override;
  void HandlePress(int index) override;
  void HandleMove(int index) override;
  void HandleRelease(int index) override;
  void ButtonHover(int index) override;
  void ButtonClick(int index) override;
  void ToolbarHover() override;

  void ShowToolbar();
  // With no selection and no button held, the highlight follows the pointer; else it goes.
  void UpdateHover();
  // A click on the highlighted rectangle: it becomes a finished selection, as if drawn.
  void SelectClicked(const RectI& rect);
  // The user's way out: closes a fresh overlay, ends an adjustment with the old area.
  void Quit();
  // Esc or a right click with nothing changed since the adjustment began.
  bool UnchangedAdjustment() const;
  // The loupe follows the pointer.
  void FollowPointer(int x, int y);
  // The area was confirmed: which window it follows, if any.
  void ChooseFollow();
  // Reads the followed window; tells the program when anything changed.
  void CheckFollowed();

  OverlayServices services_;
  DesktopMetrics metrics_;  // the desktop, and the sizes on each of its monitors
  Selection selection_;
  ResizeHandles handles_;
  Toolbar toolbar_;
  InputRouter router_;
  Cutter cutter_;
  TrayIcon tray_icon_;
  bool closed_ = false;
  bool in_tray_ = false;          // minimised to the tray; never shown again
  bool copy_at_release_ = false;  // a double click inside the selection waits for its release
  bool adjusting_ = false;        // back on the screen from the tray to adjust the area
  RectI adjusted_from_;           // the watched area before the adjustment
  RectI adjust_start_;            // the area as the adjustment showed it, kept on the desktop
  PointI pointer_;                // the pointer's last pixel on the overlay
  LoupeView loupe_;
  RecordedWindows recorded_;           // the windows recorded at the freeze, controls so far
  SnapTargets targets_;                // recorded_ and the monitors, as the pointer finds them
  bool snapping_ = false;              // the window offers snapping: targets_ were recorded
  Hover hover_;                        // the target under the pointer, and Tab's step
  bool pointer_seen_ = false;          // the pointer has moved over the overlay: hovering may begin
  ClickOrDrag click_;                  // whether the left press on an empty overlay stays a click
  std::optional<RectI> click_target_;  // what that press would select, taken from the highlight
  PointI click_at_;                    // the pointer where that highlight was found
  std::optional<FollowChoice> clicked_;  // the window a snapping click selected, with its area
  Follower follower_;                    // the window the watched area follows
  bool moved_retry_ = false;             // a cut dropped as the window moved is being made again
};

}  // namespace pelvanto::overlay
