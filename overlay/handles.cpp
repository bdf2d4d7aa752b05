#include "overlay/handles.h"

#include "core/geometry.h"

namespace pelvanto::overlay {

ResizeHandles::ResizeHandles(const DesktopMetrics& metrics) : metrics_(metrics) {
  const int side = metrics.Primary().handle;
  for (auto& box : boxes_) box.rect = {0, 0, side, side};
}

Pointer ResizeHandles::PointerFor(int index) {
  static constexpr std::array<Pointer, kHandleCount> kPointers = {
      Pointer::kSizeNwSe, Pointer::kSizeNs, Pointer::kSizeNeSw, Pointer::kSizeWe,
      Pointer::kSizeNeSw, Pointer::kSizeNs, Pointer::kSizeNwSe, Pointer::kSizeWe,
  };
  return Valid(index) ? kPointers[static_cast<std::size_t>(index)] : Pointer::kDefault;
}

void ResizeHandles::PlaceAround(const RectI& s) {
  // Each handle centres on a corner or on the middle of an edge: on the middle of a span
  // [begin, end) across and down, a corner's span being the line itself.
  struct Span {
    int begin, end;
  };
  const Span left{s.left, s.left}, centre{s.left, s.right}, right{s.right, s.right};
  const Span top{s.top, s.top}, middle{s.top, s.bottom}, bottom{s.bottom, s.bottom};
  const std::array<std::array<Span, 2>, kHandleCount> places = {{
      {left, top},
      {centre, top},
      {right, top},
      {left, middle},
      {left, bottom},
      {centre, bottom},
      {right, bottom},
      {right, middle},
  }};
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto [across, down] = places[i];
    const int side =
        metrics_.At(Middle(across.begin, across.end), Middle(down.begin, down.end)).handle;
    boxes_[i] = {SizedRect(CentredStart(across.begin, across.end, side),
                           CentredStart(down.begin, down.end, side), side, side),
                 true};
  }
}

void ResizeHandles::Hide() {
  for (auto& box : boxes_) box.visible = false;
}

void ResizeHandles::BeginDrag(const RectI& s) {
  dragging_ = true;
  start_ = s;
}

std::optional<RectI> ResizeHandles::DragTo(int index, PointI cursor) const {
  if (!dragging_ || !Valid(index)) return std::nullopt;
  const int x = cursor.x, y = cursor.y;
  const int l = start_.left, t = start_.top, r = start_.right, b = start_.bottom;
  // The edges the handle carries go to the cursor; the others stay where the press found them.
  RectI next;
  switch (index) {
    case 0: next = {x, y, r, b}; break;
    case 1: next = {l, y, r, b}; break;
    case 2: next = {l, y, x, b}; break;
    case 3: next = {x, t, r, b}; break;
    case 4: next = {x, t, r, y}; break;
    case 5: next = {l, t, r, y}; break;
    case 6: next = {l, t, x, y}; break;
    default: next = {l, t, x, b}; break;
  }
  if (next.Width() < 0 || next.Height() < 0) return std::nullopt;
  return next;
}

}  // namespace pelvanto::overlay
