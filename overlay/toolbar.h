#pragma once
// The three-button toolbar next to a finished selection: undo, copy and exit, exit.

#include <array>
#include <optional>

#include "overlay/elements.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {

class Toolbar {
 public:
  explicit Toolbar(const DesktopMetrics& metrics);

  // Below the selection, right-aligned with it; inside its bottom edge when there is no room
  // below; never past the left edge. Kept to the monitor that shows the selection's last
  // pixel (or the nearest one), at that monitor's DPI.
  void PlaceBeside(const RectI& selection);
  void Show() { strip_.visible = true; }
  void Hide() { strip_.visible = false; }

  // The pointer is over button `index` (its hover square shows) or over the bare strip.
  void HoverButton(int index);
  void HoverStrip();

  // The button at a point of the overlay, when the toolbar shows one there.
  std::optional<int> ButtonAt(int x, int y) const;
  bool Contains(int x, int y) const;

  const Element& Strip() const { return strip_; }
  const std::array<RectI, 3>& Buttons() const { return buttons_; }
  const std::array<Element, 3>& HoverSquares() const { return hovers_; }
  const RectI& Frame() const { return frame_; }

 private:
  // Sizes the strip and its parts for a monitor.
  void Scale(const Metrics& metrics);

  const DesktopMetrics& metrics_;
  int gap_ = 0;  // between the selection's bottom edge and the strip
  Element strip_;
  std::array<RectI, 3> buttons_;   // relative to the strip
  std::array<Element, 3> hovers_;  // relative to the strip
  RectI frame_;                    // relative to the strip
};

}  // namespace pelvanto::overlay
