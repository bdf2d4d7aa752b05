#pragma once
// The live screen as the cut and the overlay read it: a cut as the clipboard takes it, and
// copies of the screen to draw from.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>

#include "host/screen.h"
#include "host/types.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// A cut as the clipboard takes it: a packed DIB (header, then rows bottom to top, 24 bits a
// pixel) in movable global memory, owned until the clipboard has accepted it. Global memory
// of this size is mapped for itself and unmapped when freed, so a long run of cuts leaves no
// screen-sized holes in a heap behind (a bitmap's pixels would sit in one under Wine). Windows
// offers it as CF_BITMAP too, to any program that asks for that.
class DibPicture final : public Picture {
 public:
  DibPicture(OwnedGlobal dib, int width, int height)
      : dib_(std::move(dib)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HGLOBAL get() const { return dib_.get(); }
  // Gives up ownership, once the clipboard has accepted the picture.
  HGLOBAL Release() { return dib_.release(); }

 private:
  OwnedGlobal dib_;
  int width_;
  int height_;
};

// A copy of an area of the screen in a 32-bit top-down DIB, selected into its own memory DC
// so it can be drawn from and read pixel by pixel.
class ScreenPixels {
 public:
  // Null when the copy cannot be made. The `unshown` parts (virtual-desktop pixels, where no
  // monitor is) are black in the copy, whatever the display returned there.
  static std::unique_ptr<ScreenPixels> Copy(const RECT& area, std::span<const RectI> unshown = {});

  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Rows top to bottom, each pixel 0x00RRGGBB.
  std::span<const std::uint32_t> pixels() const { return pixels_; }

 private:
  OwnedDc dc_;
  OwnedBitmap bitmap_;
  std::optional<SelectGuard> select_;  // put back before the bitmap and the DC go
  std::span<const std::uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
};

// The live virtual desktop through the screen's device context; black where no monitor is.
// The screen is read in bands of rows, so that what the display driver allocates for one read
// stays small whatever the area.
class DisplayScreen final : public Screen {
 public:
  std::unique_ptr<Picture> CopyArea(int left, int top, int width, int height) override;
  bool Available() const override { return true; }
};

}  // namespace pelvanto::win32
