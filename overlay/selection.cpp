// The overlay's own surface: drawing, moving and clearing the selection, the two read-outs
// and the toolbar's place next to a finished selection.

#include <cmath>
#include <cstdint>

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

// Left and top edges inside, right and bottom outside; an empty rectangle holds no point.
bool PtInRect(const RectI& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

void Overlay::FormMouseDown(int button, float x, float y) {
  if (unloaded_) return;
  elements_.Picture1.visible = false;

  auto& shape = elements_.Shape1;
  if (state_.DrawMode == SelectMode::Draw) {
    shape.visible = true;
    state_.StartX = x;
    state_.StartY = y;
    shape.rect = {x, y, 0, 0};
    if (button == mouse::kRight) state_.KeepOpen = 0;
    return;
  }

  services_.pointer.Set(Pointer::Crosshair);
  state_.SelRect = {RoundHalfEven(shape.rect.left), RoundHalfEven(shape.rect.top),
                    RoundHalfEven(shape.rect.Right()), RoundHalfEven(shape.rect.Bottom())};
  const bool hit = PtInRect(state_.SelRect, RoundHalfEven(x), RoundHalfEven(y));
  if (hit) {
    state_.PressX = x;
    state_.PressY = y;
    // Left: the drag that follows moves the selection. Middle: nothing more.
    if (button != mouse::kRight) return;
  }

  // Reset: the selection goes and the press point becomes the anchor of the next drawing.
  state_.StartX = x;
  state_.StartY = y;
  shape.rect = {x, y, 0, 0};
  shape.visible = false;
  elements_.LblPos.visible = false;
  elements_.lblInfo.visible = false;
  HideHandles();
  services_.pointer.Set(Pointer::Default);
  state_.DrawMode = SelectMode::Draw;
  state_.KeepOpen = 1;
}

void Overlay::FormMouseMove(int buttons, float x, float y) {
  if (unloaded_) return;
  // The read-out and the pointer follow every move, whatever the buttons.
  const std::uint32_t colour = services_.window.FrozenPixel(RoundHalfEven(x), RoundHalfEven(y));
  elements_.lblInfo.caption = ColourText(colour);

  auto& shape = elements_.Shape1;
  // Edges count as outside. A hidden outline (its design place before the first press)
  // offers nothing to move.
  const bool inside = shape.visible && x > shape.rect.left && y > shape.rect.top &&
                      x < shape.rect.Right() && y < shape.rect.Bottom();
  services_.pointer.Set(inside ? Pointer::Move : Pointer::Crosshair);

  // Only the left button alone draws or moves.
  if (buttons != mouse::kLeft) return;

  if (state_.DrawMode == SelectMode::Draw) {
    const float sx = state_.StartX;
    const float sy = state_.StartY;
    // On the anchor's row or column the outline keeps the geometry of the previous move.
    if (x != sx && y != sy) {
      shape.rect = {x > sx ? sx : x, y > sy ? sy : y, std::fabs(x - sx), std::fabs(y - sy)};
    }
    PlaceLabels();
    services_.pointer.Set(Pointer::Crosshair);
  } else {
    services_.pointer.Set(Pointer::Move);
    // Measured from the press each time, so clamping never accumulates.
    shape.rect.left = state_.StartX - (state_.PressX - x);
    shape.rect.top = state_.StartY - (state_.PressY - y);
    if (shape.rect.left < 0) shape.rect.left = 0;
    if (shape.rect.top < 0) shape.rect.top = 0;
    // After the tests against 0: a selection larger than the screen keeps its far edges
    // on the screen's far edges.
    if (shape.rect.Right() > ScreenW()) shape.rect.left = ScreenW() - shape.rect.width;
    if (shape.rect.Bottom() > ScreenH()) shape.rect.top = ScreenH() - shape.rect.height;
    PlaceLabels();
  }

  ImageMove();
  shape.visible = true;
  elements_.LblPos.visible = true;
  elements_.lblInfo.visible = true;
}

void Overlay::FormMouseUp(int button, float /*x*/, float /*y*/) {
  if (unloaded_) return;
  if (button != mouse::kLeft) {
    if (state_.KeepOpen == 0) Unload();
    return;
  }
  // Even a zero-size outline is a finished selection.
  state_.DrawMode = SelectMode::Move;
  state_.StartX = elements_.Shape1.rect.left;
  state_.StartY = elements_.Shape1.rect.top;
  PlaceToolbar();
  elements_.Picture1.visible = true;
}

void Overlay::PlaceLabels() {
  const auto& shape = elements_.Shape1.rect;
  auto& size = elements_.LblPos;
  auto& info = elements_.lblInfo;
  size.caption = SizeText(shape.width, shape.height);
  size.rect.left = shape.left + metrics_.label_gap;
  size.rect.top = shape.top + metrics_.label_gap;
  info.rect.left = shape.left + metrics_.label_gap;
  info.rect.top = size.rect.top + size.rect.height + metrics_.label_gap;
}

void Overlay::PlaceToolbar() {
  const auto& shape = elements_.Shape1.rect;
  auto& bar = elements_.Picture1.rect;
  const float gap = metrics_.toolbar_gap;
  bar.left = shape.Right() - bar.width;
  // Exactly filling the screen below the selection still counts as room.
  if (shape.Bottom() + gap + bar.height > ScreenH()) {
    bar.top = shape.Bottom() - bar.height - gap;
  } else {
    bar.top = shape.Bottom() + gap;
  }
  if (bar.left < 0) bar.left = 0;
}

}  // namespace pelvanto::overlay
