#pragma once
// The frame around the watched area on the live screen: where its four edges go, and how
// thick each is on its monitor. It encloses the largest picture a cut can take, so no picture
// ever holds a pixel of it and it never has to leave the screen for a cut.

#include <array>

#include "host/types.h"
#include "overlay/desktop.h"

namespace pelvanto::overlay {

// The frame's thickness at a DPI: 2 px at 96 dpi, halves rounding up.
int FrameThickness(unsigned dpi);

// What the frame encloses for a watched `area`: the largest picture a cut of it can take, the
// area grown by the largest margin to the right and to the bottom.
RectI FramedArea(const RectI& area);

// The four edges just outside FramedArea(area): top, bottom, left, right. The top and bottom
// edges hold the corners. Each edge is as thick as its monitor's DPI asks (the monitor at the
// edge's middle, or the nearest); an edge that no monitor shows is empty.
std::array<RectI, 4> FrameEdges(const RectI& area, const Desktop& desktop);

// The area kept where it is as far as the desktop allows: moved inside its bounds, and shrunk
// to them when it is larger.
RectI ClampIntoDesktop(const RectI& area, const Desktop& desktop);

}  // namespace pelvanto::overlay
