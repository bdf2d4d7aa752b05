#pragma once
// The three-button toolbar next to a finished selection: undo, copy and exit, exit.

#include <array>
#include <optional>

#include "overlay/elements.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {

class Toolbar {
 public:
  explicit Toolbar(const Metrics& metrics);

  // Below the selection, right-aligned with it; inside its bottom edge when there is no room
  // below within `bounds_height`; never left of 0.
  void PlaceBeside(const RectF& selection, float bounds_height);
  void Show() { strip_.visible = true; }
  void Hide() { strip_.visible = false; }
  bool Visible() const { return strip_.visible; }

  // The pointer is over button `index` (its hover square shows) or over the bare strip.
  void HoverButton(int index);
  void HoverStrip();

  // The button at a point of the overlay, when the toolbar shows one there.
  std::optional<int> ButtonAt(float x, float y) const;
  bool Contains(float x, float y) const;

  const Element& Strip() const { return strip_; }
  const std::array<RectF, 3>& Buttons() const { return buttons_; }
  const std::array<Element, 3>& HoverSquares() const { return hovers_; }
  const RectF& Frame() const { return frame_; }

 private:
  float gap_;  // between the selection's bottom edge and the strip
  Element strip_;
  std::array<RectF, 3> buttons_;   // relative to the strip
  std::array<Element, 3> hovers_;  // relative to the strip
  RectF frame_;                    // relative to the strip
};

}  // namespace pelvanto::overlay
