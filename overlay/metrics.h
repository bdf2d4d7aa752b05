#pragma once
// Sizes of the overlay's fixed-size elements, scaled to the monitor's DPI. They are laid out
// at 96 dpi (the toolbar in twips), so at 96 dpi every value is exactly the laid-out one.

#include <array>
#include <vector>

#include "overlay/desktop.h"
#include "overlay/elements.h"

namespace pelvanto::overlay {

struct Metrics {
  explicit Metrics(unsigned dpi = 96);

  unsigned dpi;
  int handle;       // side of a resize handle (4 at 96 dpi)
  int label_gap;    // labels sit this far inside the selection's corner (2)
  int toolbar_gap;  // the toolbar sits this far from the selection's bottom edge (4)
  RectI toolbar;    // the toolbar strip (75 x 26 at 96 dpi)
  RectI frame;      // the strip's border, relative to the strip
  std::array<RectI, 3> buttons;  // relative to the strip
  std::array<RectI, 3> hovers;   // hover squares, relative to the strip
  RectI size_label;
  RectI colour_label;
  RectI first_outline;  // where the hidden outline waits before the first press
};

// The sizes on every monitor of a desktop, each at its monitor's DPI.
class DesktopMetrics {
 public:
  explicit DesktopMetrics(Desktop desktop);

  // The monitors, and the rectangle holding them.
  const Desktop& Monitors() const { return desktop_; }
  // On the monitor showing the pixel at (x, y), or else the one nearest to it.
  const Metrics& At(int x, int y) const;
  // On the primary monitor, whose top-left corner is (0, 0).
  const Metrics& Primary() const { return At(0, 0); }

 private:
  Desktop desktop_;
  std::vector<Metrics> per_monitor_;  // in the order of desktop_.monitors
};

}  // namespace pelvanto::overlay
