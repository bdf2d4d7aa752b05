#pragma once
// The loupe's enlarged picture, pixel by pixel: drawn by the program itself into the loupe's
// own small picture, so the window needs one copy a move instead of a call per grid line.

#include <cstdint>
#include <span>

#include "overlay/loupe.h"

namespace pelvanto::overlay {

// A picture's pixels, rows top to bottom, each 0x00RRGGBB.
struct PixelsView {
  std::span<const std::uint32_t> pixels;
  int width = 0;
  int height = 0;
};

// Pixels of the loupe's picture, as a 32-bit DIB holds them.
inline constexpr std::uint32_t kLoupeGridPixel = 0x808080;
inline constexpr std::uint32_t kLoupeBorderPixel = 0x007AEC;  // the selection's colour

// Draws the loupe into `out`, a picture of exactly `loupe.rect`'s size: its border, and in the
// grid each cell the frozen pixel it shows (black past the picture) between grey lines, the
// middle cell framed white inside black. `loupe.source` is in the frozen picture's pixels.
// The read-out strip is left as it is. Nothing is drawn when `out` has another size.
void DrawLoupePicture(const LoupeView& loupe, const PixelsView& frozen,
                      std::span<std::uint32_t> out);

}  // namespace pelvanto::overlay
