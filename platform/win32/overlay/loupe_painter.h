#pragma once
// Paints the loupe that follows the pointer over the frozen picture, from the logic's view of
// it.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "overlay/loupe.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/display/screen_capture.h"

namespace pelvanto::win32 {

// Draws the loupe exactly as its data says, from the frozen picture's pixels. It follows every
// move of the pointer, so a move costs one copy to the window: the loupe is put together in a
// small picture of its own (the cells and lines by overlay::DrawLoupePicture), where each line
// of the read-out stays as drawn until its text changes.
class LoupePainter {
 public:
  explicit LoupePainter(unsigned dpi);
  // `frozen` holds the frozen picture, to which `loupe.source` refers; null paints it black.
  void Paint(HDC dc, const overlay::LoupeView& loupe, const ScreenPixels* frozen) const;

 private:
  // The loupe's picture, a 32-bit top-down DIB section selected into its own DC.
  struct Canvas {
    int width = 0, height = 0;
    OwnedDc dc;
    OwnedBitmap bitmap;
    std::optional<SelectGuard> select;  // put back before the bitmap and the DC go
    std::span<std::uint32_t> pixels;
    std::wstring lines[2];  // the read-out as the picture shows it: position, colour
  };
  // False when no picture of that size can be made.
  bool Fit(HDC dc, int width, int height) const;
  void PaintLine(const RECT& box, const std::wstring& text, std::wstring& shown) const;

  OwnedFont font_;
  mutable Canvas canvas_;
};

}  // namespace pelvanto::win32
