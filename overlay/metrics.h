#pragma once
// Sizes of the selection's fixed-size elements, scaled to the monitor's DPI. They are laid out
// at 96 dpi (the read-outs in twips), so at 96 dpi every value is exactly the laid-out one.
// The toolbar's sizes are in toolbar.h.

#include <vector>

#include "core/geometry.h"
#include "overlay/desktop.h"
#include "overlay/elements.h"

namespace pelvanto::overlay {

struct Metrics {
  explicit Metrics(unsigned dpi = kDesignDpi);

  unsigned dpi;
  int handle;     // side of a resize handle (4 at 96 dpi)
  int label_gap;  // labels sit this far inside the selection's corner (2)
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
