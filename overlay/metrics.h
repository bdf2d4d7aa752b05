#pragma once
// Sizes of the overlay's fixed-size elements, scaled to the monitor's DPI. They are laid out
// at 96 dpi (the toolbar in twips), so at 96 dpi every value is exactly the laid-out one.

#include "overlay/elements.h"

namespace pelvanto::overlay {

struct Metrics {
  explicit Metrics(unsigned dpi = 96);

  // A length given in pixels at 96 dpi.
  float Px(float pixels_at_96) const;
  // A length given in twips (1/1440 inch).
  float Twips(float twips) const;

  unsigned dpi;
  float handle;       // side of a resize handle (4 at 96 dpi)
  float label_gap;    // labels sit this far inside the selection's corner (2)
  float toolbar_gap;  // the toolbar sits this far from the selection's bottom edge (4)
  RectF toolbar;      // the toolbar strip (75 x 26 at 96 dpi)
  RectF frame;        // the strip's border, relative to the strip
  std::array<RectF, 3> buttons;  // relative to the strip
  std::array<RectF, 3> hovers;   // hover squares, relative to the strip
  RectF size_label;
  RectF colour_label;
  RectF first_outline;  // where the hidden outline waits before the first press
};

}  // namespace pelvanto::overlay
