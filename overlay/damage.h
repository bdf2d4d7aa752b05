#pragma once
// Which parts of the overlay need repainting after its elements changed.

#include <vector>

#include "overlay/elements.h"
#include "host/types.h"

namespace pelvanto::overlay {

// Rectangles (overlay pixels, right and bottom exclusive) to repaint so that a painting of
// `before` becomes one of `after`. A moved outline costs four thin strips, not its area.
// `pad` widens every rectangle, for drawing that reaches past its element's edges.
std::vector<RectI> ChangedAreas(const Elements& before, const Elements& after, int pad);

// The rectangles the visible elements cover when painted.
std::vector<RectI> PaintedAreas(const Elements& elements);

}  // namespace pelvanto::overlay
