#include "overlay/handles.h"

namespace pelvanto::overlay {

ResizeHandles::ResizeHandles(const DesktopMetrics& metrics) : metrics_(metrics) {
  const float side = metrics.Primary().handle;
  for (auto& box : boxes_) box.rect = {0, 0, side, side};
}

Pointer ResizeHandles::PointerFor(int index) {
  static constexpr std::array<Pointer, kHandleCount> kPointers = {
      Pointer::kSizeNwSe, Pointer::kSizeNs, Pointer::kSizeNeSw, Pointer::kSizeWe,
      Pointer::kSizeNeSw, Pointer::kSizeNs, Pointer::kSizeNwSe, Pointer::kSizeWe,
  };
  return Valid(index) ? kPointers[static_cast<std::size_t>(index)] : Pointer::kDefault;
}

void ResizeHandles::PlaceAround(const RectF& s) {
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
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto [x, y] = places[i];
    const float side = metrics_.At(x, y).handle;
    boxes_[i] = {{x - side / 2, y - side / 2, side, side}, true};
  }
}

void ResizeHandles::Hide() {
  for (auto& box : boxes_) box.visible = false;
}

void ResizeHandles::BeginDrag(const RectF& s) {
  dragging_ = true;
  fixed_left_ = s.left;
  fixed_top_ = s.top;
  far_right_ = s.Right();
  far_bottom_ = s.Bottom();
}

std::optional<RectF> ResizeHandles::DragTo(int index, PointI cursor) const {
  if (!dragging_ || !Valid(index)) return std::nullopt;
  const float cx = static_cast<float>(cursor.x);
  const float cy = static_cast<float>(cursor.y);
  const float l = fixed_left_;
  const float t = fixed_top_;
  const float r = far_right_;
  const float b = far_bottom_;
  // The edges the handle carries go to the cursor; the others stay where the press found them.
  RectF next;
  switch (index) {
    case 0: next = {cx, cy, r - cx, b - cy}; break;
    case 1: next = {l, cy, r - l, b - cy}; break;
    case 2: next = {l, cy, cx - l, b - cy}; break;
    case 3: next = {cx, t, r - cx, b - t}; break;
    case 4: next = {cx, t, r - cx, cy - t}; break;
    case 5: next = {l, t, r - l, cy - t}; break;
    case 6: next = {l, t, cx - l, cy - t}; break;
    default: next = {l, t, cx - l, b - t}; break;
  }
  if (next.width < 0 || next.height < 0) return std::nullopt;
  return next;
}

}  // namespace pelvanto::overlay
