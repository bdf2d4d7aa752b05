#include "platform/win32/overlay/loupe_painter.h"

#include "overlay/elements.h"
#include "overlay/loupe_picture.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/text/fonts.h"
#include "platform/win32/overlay/overlay_painter.h"

namespace pelvanto::win32 {

LoupePainter::LoupePainter(unsigned dpi) : font_(CreateFontFor(FontUse::kLoupe, dpi)) {}

bool LoupePainter::Fit(HDC dc, int width, int height) const {
  Canvas& c = canvas_;
  if (c.dc && c.width == width && c.height == height) return true;
  // Another size: the loupe is on a monitor of another DPI now.
  c.select.reset();
  c.bitmap.Reset();
  c.pixels = {};
  c.lines[0].clear();
  c.lines[1].clear();
  c.width = c.height = 0;
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  c.bitmap.Reset(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!c.dc) c.dc.Reset(::CreateCompatibleDC(dc));
  if (!c.bitmap || !bits || !c.dc) return false;
  c.select.emplace(c.dc.get(), c.bitmap.get());
  ::SetBkMode(c.dc.get(), TRANSPARENT);
  ::SetTextColor(c.dc.get(), overlay::kSelectionColour);
  ::SelectObject(c.dc.get(), font_.get());  // stays selected: the DC goes before the font
  c.pixels = {static_cast<std::uint32_t*>(bits),
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
  c.width = width;
  c.height = height;
  // A read-out that matches no text, so both lines are drawn at the first paint.
  c.lines[0] = c.lines[1] = L"\n";
  return true;
}

void LoupePainter::PaintLine(const RECT& box, const std::wstring& text, std::wstring& shown) const {
  if (shown == text) return;
  HDC dc = canvas_.dc.get();
  FillSolid(dc, box, overlay::kToolbarBackColour);
  RECT area = box;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  shown = text;
}

void LoupePainter::Paint(HDC dc, const overlay::LoupeView& loupe,
                         const ScreenPixels* frozen) const {
  if (!loupe.visible) return;
  const RectI& r = loupe.rect;
  if (!Fit(dc, r.Width(), r.Height())) return;
  // The position in the upper half of the strip, the colour in the lower; in the picture's
  // own pixels.
  const RECT text{loupe.text.left - r.left, loupe.text.top - r.top, loupe.text.right - r.left,
                  loupe.text.bottom - r.top};
  const int middle = (text.top + text.bottom) / 2;
  PaintLine({text.left, text.top, text.right, middle}, loupe.position, canvas_.lines[0]);
  PaintLine({text.left, middle, text.right, text.bottom}, loupe.colour, canvas_.lines[1]);
  ::GdiFlush();  // the text may still be queued; the pixels are written directly
  overlay::PixelsView pixels;
  if (frozen) pixels = {frozen->pixels(), frozen->width(), frozen->height()};
  overlay::DrawLoupePicture(loupe, pixels, canvas_.pixels);
  ::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), canvas_.dc.get(), 0, 0, SRCCOPY);
}

}  // namespace pelvanto::win32
