#include "platform/win32/overlay/overlay_painter.h"

#include <algorithm>

#include "core/geometry.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/text/fonts.h"
#include "platform/win32/base/window_class.h"
#include "resource.h"

namespace pelvanto::win32 {

namespace {

int IconResource(overlay::ToolbarIcon icon) {
  switch (icon) {
    case overlay::ToolbarIcon::kUndo: return IDI_UNDO;
    case overlay::ToolbarIcon::kCopyAndExit: return IDI_COPY_EXIT;
    case overlay::ToolbarIcon::kExit: return IDI_EXIT;
  }
  return IDI_EXIT;
}

constexpr int kDash = 4;  // the highlight's outline: 4 pixels drawn, 4 left out, from its corner

// A dashed one-pixel border inside `r`, only where `clip` (the paint's) reaches: a monitor-sized
// highlight would otherwise cost a thousand fills for each thin strip repainted.
void FrameDashed(HDC dc, const RectI& r, const RECT& clip, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  const auto brush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  auto fill = [&](int left, int top, int right, int bottom) {
    const RECT piece{left, top, right, bottom};
    RECT shown{};
    if (::IntersectRect(&shown, &piece, &clip)) ::FillRect(dc, &shown, brush);
  };
  // The first dash in reach of the clip, on the dash grid that starts at the corner.
  auto first = [](int from, int low) {
    return low <= from ? from : from + (low - from) / (2 * kDash) * (2 * kDash);
  };
  for (int x = first(r.left, clip.left); x < std::min<int>(r.right, clip.right); x += 2 * kDash) {
    fill(x, r.top, std::min(x + kDash, r.right), r.top + 1);
    fill(x, r.bottom - 1, std::min(x + kDash, r.right), r.bottom);
  }
  for (int y = first(r.top, clip.top); y < std::min<int>(r.bottom, clip.bottom); y += 2 * kDash) {
    fill(r.left, y, r.left + 1, std::min(y + kDash, r.bottom));
    fill(r.right - 1, y, r.right, std::min(y + kDash, r.bottom));
  }
}

// A child of the toolbar, placed in overlay pixels.
RECT Offset(const RectI& child, const RectI& parent) {
  return ToRect(pelvanto::Offset(child, parent.left, parent.top));
}

}  // namespace

OverlayPainter::OverlayPainter(HINSTANCE instance, unsigned dpi) {
  label_fonts_.emplace_back(dpi, OwnedFont(CreateFontFor(FontUse::kReadOuts, dpi)));
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
  return label_fonts_.emplace_back(dpi, OwnedFont(CreateFontFor(FontUse::kReadOuts, dpi)))
      .second.get();
}

void OverlayPainter::Paint(HDC dc, const overlay::Elements& e) const {
  if (e.highlight.visible) {
    RECT clip{};
    if (::GetClipBox(dc, &clip) != ERROR)
      FrameDashed(dc, e.highlight.rect, clip, overlay::kSelectionColour);
  }
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
  for (const auto* label : {&e.highlight_label, &e.size_label, &e.colour_label}) {
    if (!label->visible) continue;
    RECT r = ToRect(label->rect);
    // Text costs its layout even where the clip hides all of it: most repaints miss the labels.
    if (!::RectVisible(dc, &r)) continue;
    SelectGuard font(dc, LabelFont(label->dpi));
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
    ::DrawIconEx(dc, r.left, r.top, icons_[i].get(), r.right - r.left, r.bottom - r.top, 0, nullptr,
                 DI_NORMAL);
  }
}

}  // namespace pelvanto::win32
