#include "platform/win32/display/screen_capture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/win32/base/gdi.h"
#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

namespace {

// Rows of a band of a screen read `width` pixels wide: about 128 KiB of 32-bit pixels, which
// the display driver may take from a heap that never gives such holes back.
int BandRows(int width) {
  constexpr int kBandBytes = 128 * 1024;
  return std::max(1, kBandBytes / (std::max(1, width) * 4));
}

// Blackens the `unshown` parts (virtual-desktop pixels) of a copy whose top-left pixel is
// (left, top).
bool FillUnshown(HDC copy, int left, int top, std::span<const RectI> unshown) {
  for (const RectI& part : unshown) {
    if (!::PatBlt(copy, part.left - left, part.top - top, part.Width(), part.Height(), BLACKNESS))
      return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<ScreenPixels> ScreenPixels::Copy(const RECT& area, std::span<const RectI> unshown) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  // The screen's DC in virtual-desktop coordinates: (0, 0) is the primary's top-left corner,
  // a monitor left of it has negative x. (Wine's "DISPLAY" DC starts at the desktop's corner
  // instead, so it would shift the copy when a monitor is left of or above the primary.)
  WindowDc display(nullptr);
  if (!display || width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  auto copy = std::unique_ptr<ScreenPixels>(new ScreenPixels);
  copy->dc_.Reset(::CreateCompatibleDC(display.get()));
  copy->bitmap_.Reset(::CreateDIBSection(display.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy->dc_ || !copy->bitmap_ || !bits) return nullptr;
  copy->select_.emplace(copy->dc_.get(), copy->bitmap_.get());
  // One blit for every monitor, so they are all taken at the same moment.
  if (!::BitBlt(copy->dc_.get(), 0, 0, width, height, display.get(), area.left, area.top,
                SRCCOPY) ||
      !FillUnshown(copy->dc_.get(), area.left, area.top, unshown))
    return nullptr;
  ::GdiFlush();  // the blit may still be queued; the bits are read directly
  copy->pixels_ = {static_cast<const std::uint32_t*>(bits),
                   static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
  copy->width_ = width;
  copy->height_ = height;
  return copy;
}

namespace {
std::unique_ptr<Picture> CopyDisplay(int left, int top, int width, int height) {
  WindowDc display(nullptr);  // as in ScreenPixels::Copy
  if (!display) return nullptr;
  // The copy goes into a DIB section (its pixels are mapped for it, and unmapped with it) laid
  // out exactly as the clipboard's DIB, so handing it over is one copy of its bytes.
  const std::int64_t stride = (std::int64_t{width} * 3 + 3) / 4 * 4;
  const std::int64_t size = stride * height;
  constexpr std::int64_t kLargest = std::numeric_limits<DWORD>::max() - sizeof(BITMAPINFOHEADER);
  if (size > kLargest) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: what every program reading a DIB expects
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(size);
  void* bits = nullptr;
  OwnedBitmap section(::CreateDIBSection(display.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  OwnedDc memory(::CreateCompatibleDC(display.get()));
  if (!section || !bits || !memory) return nullptr;
  {
    SelectGuard select(memory.get(), section.get());
    if (!select.ok()) return nullptr;
    // Past the desktop's edges, and where no monitor is, a display blit may return
    // anything; those pixels are black. The layout is read at every cut: monitors may have
    // come or gone since the area was marked.
    if (!::PatBlt(memory.get(), 0, 0, width, height, BLACKNESS)) return nullptr;
    const overlay::Desktop desktop = CurrentDesktop();
    const RectI& bounds = desktop.bounds;
    const std::int64_t x0 = std::max<std::int64_t>(left, bounds.left);
    const std::int64_t y0 = std::max<std::int64_t>(top, bounds.top);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{left} + width, bounds.right);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + height, bounds.bottom);
    if (x1 > x0 && y1 > y0) {
      // All four values lie within the area and the desktop, so they fit int.
      const RECT shown{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1),
                       static_cast<int>(y1)};
      const auto unshown =
          overlay::UnshownParts(desktop, {shown.left, shown.top, shown.right, shown.bottom});
      const int shown_width = static_cast<int>(x1 - x0);
      const int band = BandRows(shown_width);
      for (int y = shown.top; y < shown.bottom; y += band) {
        const int rows = std::min(band, static_cast<int>(y1 - y));
        if (!::BitBlt(memory.get(), shown.left - left, y - top, shown_width, rows, display.get(),
                      shown.left, y, SRCCOPY))
          return nullptr;
      }
      if (!FillUnshown(memory.get(), left, top, unshown)) return nullptr;
    }
    ::GdiFlush();  // the blits may still be queued; the bits are read directly
  }
  OwnedGlobal dib(::GlobalAlloc(GMEM_MOVEABLE, sizeof info.bmiHeader + static_cast<SIZE_T>(size)));
  {
    const GlobalLockScope lock(dib.get());
    auto* data = static_cast<unsigned char*>(lock.data());
    if (!data) return nullptr;
    std::memcpy(data, &info.bmiHeader, sizeof info.bmiHeader);
    std::memcpy(data + sizeof info.bmiHeader, bits, static_cast<std::size_t>(size));
  }
  return std::make_unique<DibPicture>(std::move(dib), width, height);
}
}  // namespace

std::unique_ptr<Picture> DisplayScreen::CopyArea(int left, int top, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto picture = CopyDisplay(left, top, width, height);
  if (!picture) TraceFailure(L"the cut's screen copy");
  return picture;
}

}  // namespace pelvanto::win32
