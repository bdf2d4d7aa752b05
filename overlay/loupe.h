#pragma once
// The loupe: near the pointer, the frozen pixels around it enlarged on a grid, with the
// pointer's coordinates and colour, so an edge can be put on an exact pixel.

#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "host/types.h"
#include "overlay/desktop.h"

namespace pelvanto::overlay {

// The loupe's sizes at a DPI, in physical pixels.
struct LoupeMetrics {
  explicit LoupeMetrics(unsigned dpi = kDesignDpi);

  int span;         // pixels shown across and down; odd, so the pointer's pixel is the middle
  int cell;         // side of one enlarged pixel, its grid line included
  int text_height;  // the read-out strip below the picture
  int gap;          // distance from the pointer to the loupe's nearer corner
  int Width() const { return span * cell + 3; }  // the grid's closing line and a border
  int Height() const { return span * cell + 3 + text_height; }
};

// What the loupe shows, as plain data; the window draws exactly this.
struct LoupeView {
  bool visible = false;
  RectI rect;             // the whole loupe, border included
  RectI grid;             // the enlarged picture: `span` cells a side, plus the closing grid line
  int cell = 0;           // side of a cell in `grid`
  PointI pixel;           // the pointer's pixel, shown in the middle cell
  RectI source;           // the frozen pixels shown, clipped to the frozen picture
  RectI target;           // where `source` lands inside `grid`; the rest of the grid is black
  RectI text;             // the read-out strip
  std::wstring position;  // "x, y" of the pointer's pixel
  std::wstring colour;    // its colour, as the colour read-out writes it
  friend bool operator==(const LoupeView&, const LoupeView&) = default;
};

// Where a loupe of the given size goes: below and right of the pointer, on the other side of
// it along each axis where it would cross the monitor's edge, and always wholly on the monitor.
RectI PlaceLoupe(PointI pointer, int width, int height, int gap, const RectI& monitor);

// The loupe for the pointer's pixel on a monitor; `frozen` is the frozen picture's extent and
// `colour` (0x00BBGGRR) the pixel's colour in it.
LoupeView MakeLoupe(PointI pixel, const LoupeMetrics& metrics, const RectI& monitor,
                    const RectI& frozen, std::uint32_t colour);

// The loupe's position line for a pixel: "x, y" ("-1280, 5" left of the primary monitor).
std::wstring PositionText(PointI pixel);

// The loupe for the pointer's pixel: on the monitor that shows it, at that monitor's DPI;
// hidden where no monitor shows it. `colour` is the frozen picture's colour there.
LoupeView LoupeAt(PointI pixel, const Desktop& desktop, std::uint32_t colour);

// What to repaint when the loupe goes from `before` to `after`: its old and new rectangles.
std::vector<RectI> LoupeDamage(const LoupeView& before, const LoupeView& after);

}  // namespace pelvanto::overlay
