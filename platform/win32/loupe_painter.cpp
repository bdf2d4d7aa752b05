#include "platform/win32/loupe_painter.h"

#include <utility>

#include "overlay/elements.h"
#include "platform/win32/fonts.h"
#include "platform/win32/overlay_painter.h"

namespace pelvanto::win32 {

namespace {

constexpr COLORREF kGridColour = RGB(128, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT ToRect(const RectI& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

LoupePainter::LoupePainter(unsigned dpi) : font_(CreateSongtiFont(90, dpi)) {}

void LoupePainter::Paint(HDC dc, const overlay::LoupeView& loupe, HDC frozen) const {
  if (!loupe.visible) return;
  const RECT grid = ToRect(loupe.grid);
  FillSolid(dc, grid, kBlack);  // what lies past the frozen picture
  const RectI& to = loupe.target;
  const RectI& from = loupe.source;
  if (frozen && !from.Empty()) {
    // Whole cells per pixel: plain pixel copies, no smoothing between them.
    const int old_mode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, to.left, to.top, to.Width(), to.Height(), frozen, from.left, from.top,
                 from.Width(), from.Height(), SRCCOPY);
    ::SetStretchBltMode(dc, old_mode);
  }
  // One-pixel grid lines on the left and top of every cell, and the closing ones.
  for (int x = grid.left; x < grid.right; x += loupe.cell)
    FillSolid(dc, {x, grid.top, x + 1, grid.bottom}, kGridColour);
  for (int y = grid.top; y < grid.bottom; y += loupe.cell)
    FillSolid(dc, {grid.left, y, grid.right, y + 1}, kGridColour);
  // The pointer's pixel framed white inside black, visible on any colour.
  const int cells = (loupe.grid.Width() - 1) / loupe.cell;
  const int middle_left = grid.left + cells / 2 * loupe.cell;
  const int middle_top = grid.top + cells / 2 * loupe.cell;
  FrameSolid(dc, {middle_left - 1, middle_top - 1, middle_left + loupe.cell + 2,
                  middle_top + loupe.cell + 2}, kBlack);
  FrameSolid(dc, {middle_left, middle_top, middle_left + loupe.cell + 1,
                  middle_top + loupe.cell + 1}, kWhite);

  RECT text = ToRect(loupe.text);
  FillSolid(dc, text, overlay::kToolbarBackColour);
  FrameSolid(dc, ToRect(loupe.rect), overlay::kSelectionColour);
  const int old_bk = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = ::SetTextColor(dc, overlay::kSelectionColour);
  SelectGuard font(dc, font_.get());
  // The position in the upper half of the strip, the colour in the lower.
  const int middle = (text.top + text.bottom) / 2;
  RECT upper{text.left, text.top, text.right, middle};
  RECT lower{text.left, middle, text.right, text.bottom};
  for (auto [line, box] : {std::pair{&loupe.position, &upper}, std::pair{&loupe.colour, &lower}}) {
    ::DrawTextW(dc, line->c_str(), static_cast<int>(line->size()), box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  font.Restore();
  ::SetTextColor(dc, old_colour);
  ::SetBkMode(dc, old_bk);
}

}  // namespace pelvanto::win32
