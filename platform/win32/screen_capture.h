#pragma once
// The live screen and the system clipboard, as the cut needs them.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "host/clipboard.h"
#include "host/screen.h"
#include "host/types.h"
#include "platform/win32/handles.h"

namespace pelvanto::win32 {

// A device-dependent bitmap in the display's format, owned until the clipboard takes it.
class BitmapPicture final : public Picture {
 public:
  BitmapPicture(OwnedBitmap bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HBITMAP get() const { return bitmap_.get(); }
  // Gives up ownership, once the clipboard has accepted the bitmap.
  HBITMAP Release() { return bitmap_.release(); }

 private:
  OwnedBitmap bitmap_;
  int width_;
  int height_;
};

// A copy of an area of the screen in a 32-bit top-down DIB, selected into its own memory DC
// so it can be drawn from and read pixel by pixel.
class ScreenPixels {
 public:
  // Null when the copy cannot be made. The `unshown` parts (virtual-desktop pixels, where no
  // monitor is) are black in the copy, whatever the display returned there.
  static std::unique_ptr<ScreenPixels> Copy(const RECT& area,
                                            std::span<const RectI> unshown = {});

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
class DisplayScreen final : public Screen {
 public:
  std::unique_ptr<Picture> CopyArea(int left, int top, int width, int height) override;
  bool Available() const override { return true; }
};

// The clipboard, opened on behalf of the desktop window. Pictures are kept out of the
// clipboard history and the cloud clipboard.
class SystemClipboard final : public Clipboard {
 public:
  ClipboardPut PutPicture(std::unique_ptr<Picture> picture) override;
  bool Empty() override;
};

}  // namespace pelvanto::win32
