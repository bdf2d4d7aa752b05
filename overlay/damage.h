#pragma once
// Which parts of the overlay need repainting after its elements changed.

#include <vector>

#include "overlay/elements.h"
#include "host/types.h"

namespace pelvanto::overlay {

// Rectangles (overlay pixels, right and bottom exclusive) to repaint so that a painting of
// `before` becomes one of `after`. A moved outline costs four thin strips, not its area.
// `pad` widens every rectangle to cover anti-aliasing and rounding.
std::vector<RectI> ChangedAreas(const Elements& before, const Elements& after, int pad);

// The rectangles the visible elements cover when painted.
std::vector<RectI> PaintedAreas(const Elements& elements);

// The device pixels an element covers: edges rounded to nearest, ties away from zero.
RectI DeviceRect(const RectF& rect);

}  // namespace pelvanto::overlay
