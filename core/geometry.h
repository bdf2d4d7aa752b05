#pragma once
// Whole-pixel rectangles: containment, overlap, centring, and design sizes scaled to a DPI. The
// one place for each rule, for the logic and the Win32 layer alike.

#include "host/types.h"

namespace pelvanto {

// Design sizes are laid out in 96-dpi pixels or in twips (1/1440 inch).
inline constexpr int kDesignDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

// The rectangle of width x height whose top-left pixel is (left, top).
constexpr RectI SizedRect(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// The rectangle moved by (dx, dy).
constexpr RectI Offset(const RectI& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The pixel is in the rectangle: its left and top edges are in it, its right and bottom out.
constexpr bool Contains(const RectI& r, PointI p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// `inner` lies wholly in `outer`: no edge of it is outside.
constexpr bool Encloses(const RectI& outer, const RectI& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The overlap of two rectangles; RectI{} when they do not meet.
RectI Intersection(const RectI& a, const RectI& b);

// Where a span of `length` starts when it is centred on the middle of [begin, end) (on the line
// `begin` itself when the two are equal). A half pixel rounds up.
int CentredStart(int begin, int end, int length);

// The middle pixel of [begin, end), a half rounding up.
int Middle(int begin, int end);

// `start` moved into [low, high - length]; `low` wins when the length does not fit.
int KeepWithin(int start, int length, int low, int high);

// A length of `units` (at `units_per_inch`: kDesignDpi, kTwipsPerInch, or 720 for tenths of a
// point) in whole pixels at `dpi`, a half rounding up; 0 dpi counts as 96. At 96 dpi a design
// pixel is exactly one pixel.
int ScaleToDpi(int units, int units_per_inch, unsigned dpi);
// Each edge scaled, so rectangles that meet in the design still meet.
RectI ScaleToDpi(const RectI& design, int units_per_inch, unsigned dpi);
// A length laid out in 96-dpi pixels, at `dpi`.
inline int DesignPixels(int pixels_at_96, unsigned dpi) {
  return ScaleToDpi(pixels_at_96, kDesignDpi, dpi);
}

}  // namespace pelvanto
