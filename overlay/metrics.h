#pragma once
// Design sizes of the overlay's fixed-size elements, scaled to the monitor's DPI. At 96 dpi
// every value is exactly the design value.

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
  RectF toolbar;      // Picture1's design geometry (75 x 26 at 96 dpi)
  RectF frame;        // Shape2, relative to the toolbar
  std::array<RectF, 3> buttons;  // Image2(0..2), relative to the toolbar
  std::array<RectF, 3> hovers;   // Shape3(0..2), relative to the toolbar
  RectF size_label;   // LblPos's design geometry
  RectF info_label;   // lblInfo's design geometry
};

// Sizes the toolbar's parts (buttons, hover squares, frame) for a monitor's DPI.
void ScaleToolbar(Elements& elements, const Metrics& metrics);

// The elements as the overlay's load finds them: everything hidden, at design places.
Elements DesignElements(const Metrics& metrics);

}  // namespace pelvanto::overlay
