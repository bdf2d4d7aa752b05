#include "overlay/overlay.h"

#include <utility>

#include "core/geometry.h"
#include "core/version.h"
#include "overlay/watch_frame.h"

namespace pelvanto::overlay {

Overlay::Overlay(OverlayServices services, Desktop desktop, std::uint64_t random_seed)
    : services_(services),
      metrics_(std::move(desktop)),
      selection_(metrics_),
      handles_(metrics_),
      toolbar_(metrics_),
      router_(*this),
      cutter_(services.clock, services.screen, services.clipboard, random_seed),
      tray_icon_(services.tray),
      click_(services.window.DragRectangle()),
      follower_(services.windows) {}

// --- Life -------------------------------------------------------------------------------

bool Overlay::Open() {
  // A discarded instance does not come back.
  if (closed_) return false;
  services_.pointer.Set(Pointer::kCrosshair);
  // Every monitor in physical pixels, whatever their DPIs.
  if (!services_.window.FreezeScreen(metrics_.Monitors().bounds)) {
    // Without the picture there is nothing to mark: the caller brings its own window back.
    services_.pointer.Set(Pointer::kDefault);
    Close();
    return false;
  }
  // At the same moment as the picture, so what can be clicked is what the picture shows. The
  // controls join as they are recorded (OnControlsRecorded).
  if (const auto windows = services_.window.RecordWindows()) {
    recorded_ = RecordedWindows(*windows);
    targets_ = SnapTargets(metrics_.Monitors(), *windows);
    snapping_ = true;
  }
  services_.window.Maximise();
  services_.window.MakeLayeredOpaque();
  return true;
}

void Overlay::OnControlsRecorded(const std::vector<ControlBatch>& batches) {
  if (closed_ || in_tray_ || !snapping_ || batches.empty()) return;
  for (const ControlBatch& batch : batches) recorded_.Add(batch);
  targets_ = SnapTargets(metrics_.Monitors(), recorded_.InZOrder());
  hover_.Retarget(targets_, pointer_);
}

void Overlay::OnMinimised() {
  if (closed_) return;
  adjusting_ = false;
  // Back from an adjustment, the icon is still there.
  if (tray_icon_.Shown()) {
    in_tray_ = true;
    loupe_.visible = false;
    services_.window.Hide();
    return;
  }
  TrayRecord record;
  record.window = services_.window.Id();
  record.icon = services_.window.IconHandle();
  record.id = kOverlayTrayId;
  record.tip = VersionTip(kAppTitle, kVersionMajor, kVersionMinor, kVersionPatch);
  tray_icon_.Add(record);
  in_tray_ = true;
  loupe_.visible = false;
  services_.window.Hide();
}

void Overlay::OnTaskbarCreated() {
  if (!closed_) tray_icon_.Readd();
}

bool Overlay::Adjust(Desktop desktop) {
  if (closed_ || !in_tray_) return false;
  // The selection, handles and toolbar hold on to metrics_: it changes in place.
  metrics_ = DesktopMetrics(std::move(desktop));
  if (!services_.window.FreezeScreen(metrics_.Monitors().bounds)) return false;
  // Where the followed window put the area last.
  adjusted_from_ = WatchedArea();
  // Monitors may have gone since the area was marked: it stays where it was, on the desktop.
  adjust_start_ = ClampIntoDesktop(adjusted_from_, metrics_.Monitors());
  selection_.Resize(adjust_start_);
  handles_.PlaceAround(adjust_start_);
  ShowToolbar();
  in_tray_ = false;
  adjusting_ = true;
  services_.pointer.Set(Pointer::kDefault);
  services_.window.Maximise();
  services_.window.MakeLayeredOpaque();
  return true;
}

void Overlay::Quit() {
  services_.pointer.Set(Pointer::kDefault);
  if (!adjusting_) {
    Close();
    return;
  }
  // Back to the tray with the area as it was, cuts and all.
  selection_.Resize(adjusted_from_);
  handles_.PlaceAround(adjusted_from_);
  toolbar_.Hide();
  adjusting_ = false;
  in_tray_ = true;
  loupe_.visible = false;
  services_.window.Hide();
  services_.events.OnAreaSet();
}

bool Overlay::UnchangedAdjustment() const {
  return adjusting_ && selection_.Finished() && selection_.Rect() == adjust_start_;
}

void Overlay::Close() {
  if (closed_) return;
  // Also when no icon was ever added: deleting is harmless then.
  tray_icon_.Delete();
  closed_ = true;
  services_.auto_cut_timer.SetEnabled(false);
  services_.cut_timer.SetEnabled(false);
  services_.window.Destroy();
}

// --- The cut ----------------------------------------------------------------------------

void Overlay::OnCutTimer() {
  if (closed_) return;
  services_.cut_timer.SetEnabled(false);
  // Never while an adjustment shows the overlay: it would be in the picture.
  if (adjusting_) return;
  if (!follower_.Facts().Following()) {
    services_.events.OnCut(cutter_.Cut(WatchedArea()));
    return;
  }
  // Where the window is now, and never a picture while it cannot be seen there.
  CheckFollowed();
  if (closed_ || !follower_.Facts().Cuttable()) return;
  // The frame as read before the copy: a check run while the copy waits must not hide a move.
  const RectI frame = follower_.Frame();
  CutReport report = cutter_.Cut(follower_.Area(), [&] { return follower_.StillAt(frame); });
  if (report.outcome == CutOutcome::kWindowMoved && !std::exchange(moved_retry_, true)) {
    // Once more at the window's new place, right away.
    CheckFollowed();
    services_.cut_timer.SetEnabled(true);
  } else {
    moved_retry_ = false;
  }
  services_.events.OnCut(report);
}

// --- Following a window ---------------------------------------------------------------------

RectI Overlay::WatchedArea() const {
  return follower_.Chosen() ? follower_.Area() : selection_.Rect();
}

void Overlay::ChooseFollow() {
  const RectI area = selection_.Rect();
  const auto clicked = std::exchange(clicked_, std::nullopt);
  if (clicked && clicked->area == area) {
    follower_.Choose(area, clicked, true);
  } else {
    // A drawn or adjusted area can follow the window it lies in. After an adjustment within
    // the same window, following stays as the user had it.
    const bool was_on = adjusting_ && follower_.Facts().Following();
    const WindowId was = follower_.Window();
    // A followed window that closed during the adjustment: nothing is cut at its old place.
    if (was_on) {
      follower_.Check(metrics_.Monitors().bounds);
      if (follower_.Facts().state == FollowState::kGone) {
        services_.events.OnFollowChanged(follower_.Facts());
        return;
      }
    }
    const auto held =
        ChoiceHolding(services_.windows.TopLevelWindows(), area, metrics_.Monitors().bounds);
    follower_.Choose(area, held, held && was_on && held->window == was);
  }
  CheckFollowed();
  services_.events.OnFollowChanged(follower_.Facts());
}

void Overlay::CheckFollowed() {
  if (follower_.Check(metrics_.Monitors().bounds))
    services_.events.OnFollowChanged(follower_.Facts());
}

void Overlay::OnFollowCheck() {
  if (closed_ || !in_tray_ || adjusting_) return;
  CheckFollowed();
}

bool Overlay::SetFollowing(bool on) {
  if (closed_ || !in_tray_ || adjusting_ || !follower_.SetOn(on)) return false;
  CheckFollowed();
  services_.events.OnFollowChanged(follower_.Facts());
  return true;
}

// --- What is where ----------------------------------------------------------------------

Elements Overlay::Scene() const {
  Elements e;
  e.outline = selection_.Outline();
  e.size_label = selection_.SizeLabel();
  e.colour_label = selection_.ColourLabel();
  e.handles = handles_.Boxes();
  e.toolbar = toolbar_.Strip();
  e.toolbar_buttons = toolbar_.Buttons();
  e.hover_squares = toolbar_.HoverSquares();
  e.toolbar_frame = toolbar_.Frame();
  if (const auto highlighted = hover_.Highlighted()) {
    e.highlight = {*highlighted, true};
    e.highlight_label = SizeReadout(metrics_, *highlighted);
  }
  return e;
}

HitTarget Overlay::HitTest(int x, int y) const {
  if (const auto button = toolbar_.ButtonAt(x, y)) return {HitTarget::Kind::kButton, *button};
  if (toolbar_.Contains(x, y)) return {HitTarget::Kind::kToolbar, 0};
  // Handles overlap on a small selection; a later handle lies on top of an earlier one.
  const auto& boxes = handles_.Boxes();
  for (std::size_t i = boxes.size(); i-- > 0;) {
    if (boxes[i].visible && Contains(boxes[i].rect, {x, y})) {
      return {HitTarget::Kind::kHandle, static_cast<int>(i)};
    }
  }
  // The labels take no input: a press on them is a press on the surface.
  return {HitTarget::Kind::kSurface, 0};
}

void Overlay::ShowToolbar() {
  toolbar_.PlaceBeside(selection_.Rect());
  toolbar_.Show();
}

// --- Mouse input: the router takes it to the element under the press -------------------

void Overlay::OnMouseDown(MouseButton button, int x, int y) {
  copy_at_release_ = false;
  if (button == MouseButton::kRight && !Captured() && UnchangedAdjustment()) {
    Quit();
    return;
  }
  router_.Press(button, x, y);
  FollowPointer(x, y);
  UpdateHover();
}

void Overlay::OnMouseMove(MouseButtons held, int x, int y) {
  router_.Move(held, x, y);
  FollowPointer(x, y);
  pointer_seen_ = true;
  UpdateHover();
}

void Overlay::OnMouseUp(MouseButton button, int x, int y) {
  const bool copy = button == MouseButton::kLeft && std::exchange(copy_at_release_, false);
  router_.Release(button, x, y);
  if (copy && !closed_ && selection_.Finished()) ButtonClick(kCopyAndExit);
  FollowPointer(x, y);
  UpdateHover();
}

void Overlay::UpdateHover() {
  // The outline shows while a selection is drawn or finished; the pointer capture while a
  // button is held.
  const bool empty = !selection_.Finished() && !selection_.Outline().visible;
  if (closed_ || in_tray_ || Captured() || !empty || !pointer_seen_) {
    hover_.Hide();
    return;
  }
  hover_.Follow(targets_, pointer_);
}

void Overlay::OnDoubleClick(int x, int y) {
  OnMouseDown(MouseButton::kLeft, x, y);
  // The press kept the selection only if it landed inside it.
  copy_at_release_ = !closed_ && Captured() && HitTest(x, y).kind == HitTarget::Kind::kSurface &&
                     selection_.Finished();
}

void Overlay::FollowPointer(int x, int y) {
  // Gone, or sent to the tray by this very event.
  if (closed_ || in_tray_) {
    loupe_.visible = false;
    return;
  }
  pointer_ = {x, y};
  // Not over the toolbar, so its buttons stay in sight.
  const HitTarget over = HitTest(x, y);
  if (over.kind == HitTarget::Kind::kButton || over.kind == HitTarget::Kind::kToolbar) {
    loupe_.visible = false;
    return;
  }
  loupe_ = LoupeAt(pointer_, metrics_.Monitors(), services_.window.FrozenPixel(x, y));
}

// --- The surface: drawing, moving and clearing the selection ----------------------------

void Overlay::SurfacePress(MouseButton button, int x, int y) {
  // A left press on an empty overlay may be a click on the highlighted window; the highlight
  // goes at the press either way (UpdateHover).
  click_target_.reset();
  if (button == MouseButton::kLeft && !selection_.Finished()) {
    click_target_ = hover_.Highlighted();
    // Where the highlight was found: the click's window is looked up there.
    click_at_ = pointer_;
    click_.Press({x, y});
  }
  toolbar_.Hide();
  const bool was_finished = selection_.Finished();
  if (was_finished) services_.pointer.Set(Pointer::kCrosshair);
  if (selection_.Press(button, x, y)) {
    handles_.Hide();
    services_.pointer.Set(Pointer::kDefault);
  }
}

void Overlay::SurfaceMove(MouseButtons held, int x, int y) {
  if (click_target_ && held == MouseButton::kLeft) {
    click_.Move({x, y});
    // Inside the drag rectangle it is still a click: nothing is drawn yet. Once out, it is a
    // drag, drawn from the press as it always was.
    if (click_.Click()) return;
  }
  const std::uint32_t colour = services_.window.FrozenPixel(x, y);
  bool drawn = false;
  services_.pointer.Set(selection_.Move(held, x, y, colour, drawn));
  if (drawn) handles_.PlaceAround(selection_.Rect());
}

void Overlay::SurfaceRelease(MouseButton button) {
  const auto clicked = std::exchange(click_target_, std::nullopt);
  if (button == MouseButton::kLeft && clicked && click_.Click()) {
    SelectClicked(*clicked);
    return;
  }
  switch (selection_.Release(button)) {
    case SurfaceRelease::kClose: Quit(); break;
    case SurfaceRelease::kFinished: ShowToolbar(); break;
    case SurfaceRelease::kClick:
      // Selects nothing: the overlay is empty, whatever the press may have cleared.
      selection_.Clear();
      handles_.Hide();
      break;
    case SurfaceRelease::kNothing: break;
  }
}

void Overlay::SelectClicked(const RectI& rect) {
  // The selection's own drawing from corner to corner, so the outline, the read-outs, the
  // handles and the toolbar follow the rules of a drawn one.
  const std::uint32_t colour = services_.window.FrozenPixel(pointer_.x, pointer_.y);
  bool drawn = false;
  clicked_ = targets_.ChoiceAt(click_at_, rect);
  selection_.Press(MouseButton::kLeft, rect.left, rect.top);
  services_.pointer.Set(
      selection_.Move(MouseButton::kLeft, rect.right, rect.bottom, colour, drawn));
  if (selection_.Release(MouseButton::kLeft) == SurfaceRelease::kFinished) {
    handles_.PlaceAround(selection_.Rect());
    ShowToolbar();
  }
}

// --- Resize handles ---------------------------------------------------------------------

void Overlay::HandlePress(int index) {
  // Only a finished selection can be resized.
  if (!ResizeHandles::Valid(index) || !selection_.Finished()) return;
  handles_.BeginDrag(selection_.Rect());
  toolbar_.Hide();
}

void Overlay::HandleMove(int index) {
  if (!ResizeHandles::Valid(index)) return;
  services_.pointer.Set(ResizeHandles::PointerFor(index));
  if (!handles_.Dragging()) return;
  // The cursor itself, not the event's point: the handle is the element under the press.
  const auto next = handles_.DragTo(index, services_.window.CursorPos());
  selection_.Resize(next.value_or(selection_.Rect()));
  handles_.PlaceAround(selection_.Rect());
}

void Overlay::HandleRelease(int index) {
  if (!ResizeHandles::Valid(index)) return;
  // Whatever the press did, the release ends the drag and brings the toolbar back.
  handles_.EndDrag();
  ShowToolbar();
}

// --- The toolbar ------------------------------------------------------------------------

void Overlay::ButtonHover(int index) { toolbar_.HoverButton(index); }

void Overlay::ToolbarHover() {
  services_.pointer.Set(Pointer::kArrow);
  toolbar_.HoverStrip();
}

void Overlay::ButtonClick(int index) {
  switch (index) {
    case kUndo:
      // Back to an empty selection; the pointer and the next right release stay as they are.
      selection_.Clear();
      handles_.Hide();
      toolbar_.Hide();
      break;
    case kCopyAndExit:
      // Copies nothing now: the main window's pace starts the cuts, the overlay waits in the
      // tray with its selection kept.
      ChooseFollow();
      services_.auto_cut_timer.SetEnabled(true);
      services_.pointer.Set(Pointer::kDefault);
      services_.window.Minimise();
      if (in_tray_) services_.events.OnAreaSet();
      break;
    case kExitCapture: Quit(); break;
    default: break;
  }
}

}  // namespace pelvanto::overlay
