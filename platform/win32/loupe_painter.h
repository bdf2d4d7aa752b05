#pragma once
#include <windows.h>

#include "overlay/loupe.h"
#include "platform/win32/handles.h"

namespace pelvanto::win32 {

// Draws the loupe exactly as its data says, from the frozen picture's pixels.
class LoupePainter {
 public:
  explicit LoupePainter(unsigned dpi);
  // `frozen` holds the frozen picture at screen coordinates; null paints the picture black.
  void Paint(HDC dc, const overlay::LoupeView& loupe, HDC frozen) const;

 private:
  OwnedFont font_;
};

}  // namespace pelvanto::win32
