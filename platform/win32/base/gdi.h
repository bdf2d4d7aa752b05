#pragma once
// Small GDI helpers every room draws or reads pixels with: rectangle conversions, solid fills
// through the DC brush, the 32-bit DIB header, and the virtual screen's bounds.

#include <windows.h>

#include "host/types.h"

namespace pelvanto::win32 {

inline RectI ToRectI(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const RectI& r) { return {r.left, r.top, r.right, r.bottom}; }

// Fills or frames a rectangle in a colour, through the DC brush: nothing is left selected.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
void FrameSolid(HDC dc, const RECT& rect, COLORREF colour);

// The header of a 32-bit top-down DIB section: rows top to bottom, pixels 0x00RRGGBB.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// Every monitor's pixels together, in virtual-desktop coordinates.
RECT VirtualScreen();

}  // namespace pelvanto::win32
