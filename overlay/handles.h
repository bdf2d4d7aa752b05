#pragma once
// The eight resize handles around a finished selection, and dragging one of them.
//
// Numbering: 0 top-left, 1 top edge, 2 top-right, 3 left edge, 4 bottom-left, 5 bottom edge,
// 6 bottom-right, 7 right edge.

#include <array>
#include <optional>

#include "host/types.h"
#include "overlay/elements.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {

inline constexpr int kHandleCount = 8;

class ResizeHandles {
 public:
  explicit ResizeHandles(const DesktopMetrics& metrics);

  // Shows every handle centred on its corner or edge midpoint of `selection`, sized for the
  // monitor it is on.
  void PlaceAround(const RectI& selection);
  void Hide();

  // A press on a handle of `selection`: the drag keeps the edges the handle does not carry.
  void BeginDrag(const RectI& selection);
  // The selection with handle `index`'s edges at `cursor`; nothing when no drag is running or
  // the step would turn the selection inside out (the whole step is dropped, so a corner
  // handle freezes both sizes until the cursor comes back; zero is a valid size).
  std::optional<RectI> DragTo(int index, PointI cursor) const;
  void EndDrag() { dragging_ = false; }
  bool Dragging() const { return dragging_; }

  const std::array<Element, kHandleCount>& Boxes() const { return boxes_; }

  // The sizing pointer that shows over handle `index`.
  static Pointer PointerFor(int index);
  static bool Valid(int index) { return index >= 0 && index < kHandleCount; }

 private:
  const DesktopMetrics& metrics_;
  std::array<Element, kHandleCount> boxes_;
  bool dragging_ = false;
  RectI start_;  // the selection when the drag began
};

}  // namespace pelvanto::overlay
