// The eight resize handles: their places around the selection and dragging them.
//
// Numbering: 0 top-left, 1 top edge, 2 top-right, 3 left edge, 4 bottom-left, 5 bottom edge,
// 6 bottom-right, 7 right edge.

#include <array>

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

constexpr int kHandleCount = 8;

constexpr std::array<Pointer, kHandleCount> kHandlePointer = {
    Pointer::SizeNwSe, Pointer::SizeNs, Pointer::SizeNeSw, Pointer::SizeWe,
    Pointer::SizeNeSw, Pointer::SizeNs, Pointer::SizeNwSe, Pointer::SizeWe,
};

bool ValidHandle(int index) { return index >= 0 && index < kHandleCount; }

}  // namespace

void Overlay::ImageMove() {
  if (unloaded_) return;
  const RectF s = elements_.Shape1.rect;
  const float left = s.left;
  const float centre = s.left + s.width / 2;
  const float right = s.left + s.width;
  const float top = s.top;
  const float middle = s.top + s.height / 2;
  const float bottom = s.top + s.height;
  const std::array<std::array<float, 2>, kHandleCount> places = {{
      {left, top}, {centre, top}, {right, top}, {left, middle},
      {left, bottom}, {centre, bottom}, {right, bottom}, {right, middle},
  }};
  // Each handle centred on its corner or edge midpoint, sized for the monitor it is on.
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto [x, y] = places[i];
    const float side = MetricsAt(x, y).handle;
    elements_.Image1[i].rect = {x - side / 2, y - side / 2, side, side};
  }
  for (auto& handle : elements_.Image1) handle.visible = true;
}

void Overlay::Image1MouseDown(int index) {
  if (unloaded_ || !ValidHandle(index)) return;
  // Only a finished selection can be resized.
  if (state_.DrawMode != SelectMode::Move) return;
  state_.ResizeState = ResizePhase::Start;
  const RectF s = elements_.Shape1.rect;
  state_.BoxLeft = s.left;
  state_.BoxTop = s.top;
  state_.EndX = s.Right();
  state_.EndY = s.Bottom();
  elements_.Picture1.visible = false;
}

void Overlay::Image1MouseMove(int index) {
  if (unloaded_ || !ValidHandle(index)) return;
  services_.pointer.Set(kHandlePointer[static_cast<std::size_t>(index)]);
  if (state_.ResizeState != ResizePhase::Start) return;

  state_.DragPt = services_.window.CursorPos();
  const float cx = static_cast<float>(state_.DragPt.x);
  const float cy = static_cast<float>(state_.DragPt.y);
  const float box_left = state_.BoxLeft;
  const float box_top = state_.BoxTop;
  const float end_x = state_.EndX;
  const float end_y = state_.EndY;

  // The edges the handle carries go to the cursor; the others stay where the press found them.
  RectF next;
  switch (index) {
    case 0: next = {cx, cy, end_x - cx, end_y - cy}; break;
    case 1: next = {box_left, cy, end_x - box_left, end_y - cy}; break;
    case 2: next = {box_left, cy, cx - box_left, end_y - cy}; break;
    case 3: next = {cx, box_top, end_x - cx, end_y - box_top}; break;
    case 4: next = {cx, box_top, end_x - cx, cy - box_top}; break;
    case 5: next = {box_left, box_top, end_x - box_left, cy - box_top}; break;
    case 6: next = {box_left, box_top, cx - box_left, cy - box_top}; break;
    default: next = {box_left, box_top, cx - box_left, end_y - box_top}; break;
  }
  // Past the opposite side the whole step is dropped, so a corner handle freezes both
  // dimensions until the cursor comes back; zero is a valid size.
  if (next.width >= 0 && next.height >= 0) elements_.Shape1.rect = next;

  ImageMove();
  PlaceLabels();
  state_.StartX = elements_.Shape1.rect.left;
  state_.StartY = elements_.Shape1.rect.top;
}

void Overlay::Image1MouseUp(int index) {
  if (unloaded_ || !ValidHandle(index)) return;
  // Whatever the press did, the release ends the drag and brings the toolbar back.
  state_.ResizeState = ResizePhase::Stop;
  PlaceToolbar();
  elements_.Picture1.visible = true;
}

}  // namespace pelvanto::overlay
