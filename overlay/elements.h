#pragma once
// The overlay's on-screen elements as plain data. The window paints exactly what these say.

#include <array>
#include <cstddef>
#include <string>

#include "core/geometry.h"
#include "host/types.h"

namespace pelvanto::overlay {

// Whole pixels of the virtual desktop, as the painter draws them.
struct Element {
  RectI rect;
  bool visible = false;
  friend bool operator==(const Element&, const Element&) = default;
};

struct Label {
  RectI rect;
  bool visible = false;
  std::wstring caption;
  unsigned dpi = kDesignDpi;  // of the monitor it is drawn on: its font's scale
  friend bool operator==(const Label&, const Label&) = default;
};

// The toolbar's buttons, left to right; each is its index in the arrays below and in
// kToolbarButtons (toolbar.h), which describes them.
enum ToolbarButton : int { kUndo = 0, kCopyAndExit = 1, kExitCapture = 2 };
inline constexpr std::size_t kToolbarButtonCount = 3;

// Everything the overlay shows over the frozen picture. Positions are overlay pixels, except
// the toolbar's own parts, which are relative to the toolbar strip.
struct Elements {
  Element outline;                 // the selection outline; its geometry is the selection
  Label size_label;                // "width x height", inside the selection's top-left corner
  Label colour_label;              // colour under the pointer, below the size label
  std::array<Element, 8> handles;  // resize handles, numbered as in handles.h
  Element toolbar;                 // toolbar strip
  std::array<RectI, kToolbarButtonCount> toolbar_buttons;  // each button's icon
  std::array<Element, kToolbarButtonCount> hover_squares;  // around a button under the pointer
  RectI toolbar_frame;                                     // the strip's border
  Element highlight;      // with no selection: the window under the pointer, dashed
  Label highlight_label;  // its size, where a selection of it shows its own
  friend bool operator==(const Elements&, const Elements&) = default;
};

// Colours, 0x00BBGGRR.
inline constexpr unsigned kSelectionColour =
    0x00EC7A00;  // RGB(0,122,236): outline, handles, labels
inline constexpr unsigned kToolbarBackColour = 0x00FFEEDE;   // RGB(222,238,255)
inline constexpr unsigned kToolbarFrameColour = 0x00FF8080;  // RGB(128,128,255)
inline constexpr unsigned kHoverBorderColour = 0x00FB8F24;   // RGB(36,143,251)
inline constexpr unsigned kHoverBackColour = 0x00FFD994;     // RGB(148,217,255)

}  // namespace pelvanto::overlay
