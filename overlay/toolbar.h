#pragma once
// The three-button toolbar next to a finished selection: undo, copy and exit, exit.

#include <array>
#include <optional>

#include "core/geometry.h"
#include "overlay/elements.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {

// The pictures on the buttons; the window maps each to its own image.
enum class ToolbarIcon { kUndo, kCopyAndExit, kExit };

// One button, laid out in twips relative to the strip (at 96 dpi 15 twips are a pixel).
struct ToolbarButtonDesign {
  ToolbarButton button;  // what a click on it does
  ToolbarIcon icon;
  const wchar_t* tooltip;
  RectI icon_twips;   // where its icon is drawn; a click there is a click on the button
  RectI hover_twips;  // the square around it while the pointer is over it
};

// The toolbar's buttons, left to right.
inline constexpr std::array<ToolbarButtonDesign, kToolbarButtonCount> kToolbarButtons = {{
    {kUndo, ToolbarIcon::kUndo, L"撤销", SizedRect(70, 75, 240, 240), SizedRect(40, 45, 300, 300)},
    {kCopyAndExit, ToolbarIcon::kCopyAndExit, L"复制退出", SizedRect(440, 75, 240, 240),
     SizedRect(400, 45, 300, 300)},
    {kExitCapture, ToolbarIcon::kExit, L"退出截屏", SizedRect(800, 75, 240, 240),
     SizedRect(760, 45, 300, 300)},
}};
static_assert(kToolbarButtons[kUndo].button == kUndo &&
              kToolbarButtons[kCopyAndExit].button == kCopyAndExit &&
              kToolbarButtons[kExitCapture].button == kExitCapture);

inline constexpr RectI kToolbarStripTwips = SizedRect(0, 0, 1125, 390);  // 75 x 26 at 96 dpi
inline constexpr RectI kToolbarFrameTwips = SizedRect(0, 0, 1120, 390);  // the strip's border
inline constexpr int kToolbarGap = 4;  // 96-dpi pixels between the selection and the strip

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
  const std::array<RectI, kToolbarButtonCount>& Buttons() const { return buttons_; }
  const std::array<Element, kToolbarButtonCount>& HoverSquares() const { return hovers_; }
  const RectI& Frame() const { return frame_; }

 private:
  // Sizes the strip's parts for a monitor's DPI.
  void Scale(unsigned dpi);

  const DesktopMetrics& metrics_;
  int gap_ = 0;  // between the selection's bottom edge and the strip
  Element strip_;
  std::array<RectI, kToolbarButtonCount> buttons_;   // relative to the strip
  std::array<Element, kToolbarButtonCount> hovers_;  // relative to the strip
  RectI frame_;                                      // relative to the strip
};

}  // namespace pelvanto::overlay
