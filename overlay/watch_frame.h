#pragma once
// The frame around the watched area on the live screen: where its four edges go, and how
// thick each is on its monitor.

#include <array>

#include "host/types.h"
#include "overlay/desktop.h"

namespace pelvanto::overlay {

// The frame's thickness at a DPI: 2 px at 96 dpi, halves rounding up.
int FrameThickness(unsigned dpi);

// The four edges just outside `area`: top, bottom, left, right. The top and bottom edges hold
// the corners. Each edge is as thick as its monitor's DPI asks (the monitor at the edge's
// middle, or the nearest); an edge that no monitor shows is empty.
std::array<RectI, 4> FrameEdges(const RectI& area, const Desktop& desktop);

// The area kept where it is as far as the desktop allows: moved inside its bounds, and shrunk
// to them when it is larger.
RectI ClampIntoDesktop(const RectI& area, const Desktop& desktop);

}  // namespace pelvanto::overlay
