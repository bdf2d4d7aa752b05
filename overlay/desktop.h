#pragma once
// The virtual desktop the overlay covers: every monitor, in physical pixels, with the primary
// monitor's top-left corner at (0, 0). A monitor left of or above the primary has negative
// coordinates, and the bounds may hold areas that no monitor shows.

#include <vector>

#include "core/geometry.h"
#include "host/types.h"

namespace pelvanto::overlay {

struct Monitor {
  RectI bounds;               // the whole monitor
  RectI work_area;            // the monitor less its taskbars and docked bars
  unsigned dpi = kDesignDpi;  // its effective DPI
  friend bool operator==(const Monitor&, const Monitor&) = default;
};

struct Desktop {
  RectI bounds;                   // the smallest rectangle holding every monitor
  std::vector<Monitor> monitors;  // never empty
  friend bool operator==(const Desktop&, const Desktop&) = default;
};

// A desktop of the given monitors; with none, one 96 dpi monitor of 1 x 1 pixel, so every
// rule below always has a monitor to work with.
Desktop MakeDesktop(std::vector<Monitor> monitors);
// One monitor of width x height at (0, 0), its work area the whole monitor.
Desktop SingleMonitorDesktop(int width, int height, unsigned dpi);

// The monitor that shows the pixel at (x, y), or else the one nearest to it.
const Monitor& MonitorAt(const Desktop& desktop, int x, int y);

// The parts of `area` that no monitor shows: a copy of the screen is black there.
std::vector<RectI> UnshownParts(const Desktop& desktop, const RectI& area);

}  // namespace pelvanto::overlay
