#pragma once
// Paints the overlay's elements (outline, read-outs, handles, toolbar) exactly as the logic's
// data says; it decides nothing.

#include <windows.h>

#include <array>
#include <utility>
#include <vector>

#include "overlay/toolbar.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// Draws the overlay's elements exactly as their data says; it decides nothing.
class OverlayPainter {
 public:
  OverlayPainter(HINSTANCE instance, unsigned dpi);
  void Paint(HDC dc, const overlay::Elements& elements) const;

 private:
  void PaintToolbar(HDC dc, const overlay::Elements& elements) const;
  // The read-outs' font for a monitor's DPI, made at its first use.
  HFONT LabelFont(unsigned dpi) const;

  mutable std::vector<std::pair<unsigned, OwnedFont>> label_fonts_;  // by DPI
  std::array<OwnedIcon, overlay::kToolbarButtonCount> icons_;        // as the toolbar orders them
};

}  // namespace pelvanto::win32
