#include "platform/win32/overlay_painter.h"

#include "core/geometry.h"
#include "platform/win32/fonts.h"
#include "platform/win32/window_class.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

constexpr int kLabelPointTenths = 105;  // 10.5 pt

RECT ToRect(const RectI& r) { return {r.left, r.top, r.right, r.bottom}; }

int IconResource(overlay::ToolbarIcon icon) {
  switch (icon) {
    case overlay::ToolbarIcon::kUndo: return IDI_UNDO;
    case overlay::ToolbarIcon::kCopyAndExit: return IDI_COPY_EXIT;
    case overlay::ToolbarIcon::kExit: return IDI_EXIT;
  }
  return IDI_EXIT;
}

// A child of the toolbar, placed in overlay pixels.
RECT Offset(const RectI& child, const RectI& parent) {
  return ToRect(pelvanto::Offset(child, parent.left, parent.top));
}

}  // namespace

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

OverlayPainter::OverlayPainter(HINSTANCE instance, unsigned dpi) {
  label_fonts_.emplace_back(dpi, OwnedFont(CreateSongtiFont(kLabelPointTenths, dpi)));
  for (std::size_t i = 0; i < icons_.size(); ++i) {
    const overlay::ToolbarButtonDesign& button = overlay::kToolbarButtons[i];
    const int size = ScaleToDpi(button.icon_twips.Width(), kTwipsPerInch, dpi);
    icons_[i].Reset(LoadSizedIcon(instance, IconResource(button.icon), size));
  }
}

HFONT OverlayPainter::LabelFont(unsigned dpi) const {
  for (const auto& [font_dpi, font] : label_fonts_)
    if (font_dpi == dpi) return font.get();
  // One more font per monitor DPI at most; a DPI never seen before is rare enough.
  return label_fonts_.emplace_back(dpi, OwnedFont(CreateSongtiFont(kLabelPointTenths, dpi)))
      .second.get();
}

void OverlayPainter::Paint(HDC dc, const overlay::Elements& e) const {
  if (e.outline.visible) {
    RECT r = ToRect(e.outline.rect);
    // A zero-size selection still shows where it is.
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    FrameSolid(dc, r, overlay::kSelectionColour);
  }
  for (const auto& handle : e.handles)
    if (handle.visible) FillSolid(dc, ToRect(handle.rect), overlay::kSelectionColour);

  const int old_mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = ::SetTextColor(dc, overlay::kSelectionColour);
  for (const auto* label : {&e.size_label, &e.colour_label}) {
    if (!label->visible) continue;
    SelectGuard font(dc, LabelFont(label->dpi));
    RECT r = ToRect(label->rect);
    ::DrawTextW(dc, label->caption.c_str(), static_cast<int>(label->caption.size()), &r,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SetTextColor(dc, old_colour);
  ::SetBkMode(dc, old_mode);

  if (e.toolbar.visible) PaintToolbar(dc, e);
}

void OverlayPainter::PaintToolbar(HDC dc, const overlay::Elements& e) const {
  const auto& bar = e.toolbar.rect;
  FillSolid(dc, ToRect(bar), overlay::kToolbarBackColour);
  for (std::size_t i = 0; i < e.hover_squares.size(); ++i) {
    if (!e.hover_squares[i].visible) continue;
    const RECT r = Offset(e.hover_squares[i].rect, bar);
    FillSolid(dc, r, overlay::kHoverBackColour);
    FrameSolid(dc, r, overlay::kHoverBorderColour);
  }
  FrameSolid(dc, Offset(e.toolbar_frame, bar), overlay::kToolbarFrameColour);
  for (std::size_t i = 0; i < e.toolbar_buttons.size(); ++i) {
    if (!icons_[i]) continue;
    const RECT r = Offset(e.toolbar_buttons[i], bar);
    ::DrawIconEx(dc, r.left, r.top, icons_[i].get(), r.right - r.left, r.bottom - r.top, 0,
                 nullptr, DI_NORMAL);
  }
}

}  // namespace pelvanto::win32
