// The overlay's own surface: drawing, moving and clearing the selection, the two read-outs
// and the toolbar's place next to a finished selection.

#include <algorithm>
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
    // Kept on the virtual desktop, whose far edges win: a selection larger than the desktop
    // keeps its far edges on the desktop's far edges.
    const auto left = static_cast<float>(desktop_.bounds.left);
    const auto top = static_cast<float>(desktop_.bounds.top);
    const auto right = static_cast<float>(desktop_.bounds.right);
    const auto bottom = static_cast<float>(desktop_.bounds.bottom);
    if (shape.rect.left < left) shape.rect.left = left;
    if (shape.rect.top < top) shape.rect.top = top;
    if (shape.rect.Right() > right) shape.rect.left = right - shape.rect.width;
    if (shape.rect.Bottom() > bottom) shape.rect.top = bottom - shape.rect.height;
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
  // Sized for the monitor the read-outs are drawn on.
  const Metrics& m = MetricsAt(shape.left, shape.top);
  size.dpi = info.dpi = m.dpi;
  size.rect.width = m.size_label.width;
  size.rect.height = m.size_label.height;
  info.rect.width = m.info_label.width;
  info.rect.height = m.info_label.height;
  const PointF origin =
      ReadoutOrigin(desktop_, shape.left, shape.top, m.label_gap,
                    std::max(size.rect.width, info.rect.width),
                    size.rect.height + m.label_gap + info.rect.height);
  size.rect.left = origin.x;
  size.rect.top = origin.y;
  info.rect.left = origin.x;
  info.rect.top = size.rect.top + size.rect.height + m.label_gap;
}

void Overlay::PlaceToolbar() {
  const auto& shape = elements_.Shape1.rect;
  // The monitor showing the selection's last pixel gets the toolbar, at its DPI.
  const float x = std::max(shape.left, shape.Right() - 1);
  const float y = std::max(shape.top, shape.Bottom() - 1);
  const Metrics& m = MetricsAt(x, y);
  ScaleToolbar(elements_, m);
  elements_.Picture1.rect = PlaceToolbarStrip(shape, m.toolbar.width, m.toolbar.height,
                                              m.toolbar_gap, ToolbarArea(desktop_, x, y));
}

}  // namespace pelvanto::overlay
