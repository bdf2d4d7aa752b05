#pragma once
// The eight resize handles around a finished selection, and dragging one of them.
//
// Numbering: 0 top-left, 1 top edge, 2 top-right, 3 left edge, 4 bottom-left, 5 bottom edge,
// 6 bottom-right, 7 right edge.

#include <array>
#include <optional>

#include "host/types.h"
#include "overlay/elements.h"

namespace pelvanto::overlay {

inline constexpr int kHandleCount = 8;

class ResizeHandles {
 public:
  explicit ResizeHandles(float side);

  // Shows every handle centred on its corner or edge midpoint of `selection`.
  void PlaceAround(const RectF& selection);
  void Hide();

  // A press on a handle of `selection`: the drag keeps the edges the handle does not carry.
  void BeginDrag(const RectF& selection);
  // The selection with handle `index`'s edges at `cursor`; nothing when no drag is running or
  // the step would turn the selection inside out (the whole step is dropped, so a corner
  // handle freezes both sizes until the cursor comes back; zero is a valid size).
  std::optional<RectF> DragTo(int index, PointI cursor) const;
  void EndDrag() { dragging_ = false; }
  bool Dragging() const { return dragging_; }

  const std::array<Element, kHandleCount>& Boxes() const { return boxes_; }

  // The sizing pointer that shows over handle `index`.
  static Pointer PointerFor(int index);
  static bool Valid(int index) { return index >= 0 && index < kHandleCount; }

 private:
  float side_;
  std::array<Element, kHandleCount> boxes_;
  bool dragging_ = false;
  float fixed_left_ = 0;  // the selection's edges when the drag began
  float fixed_top_ = 0;
  float far_right_ = 0;
  float far_bottom_ = 0;
};

}  // namespace pelvanto::overlay
