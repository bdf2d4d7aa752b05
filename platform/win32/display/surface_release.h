#pragma once
// Letting a window surface that is no longer on the screen leave memory.

#include <windows.h>

namespace pelvanto::win32 {

// Under Wine a cached DC keeps the surface of the window it last drew on, the whole window's
// pixels, until it draws on another, also after that window was hidden, given a new surface
// or destroyed. Taking the cache's DCs for `keeper` (a window of this thread) and giving them
// back moves them all onto its surface, and the old surfaces go. On Windows it costs a few
// calls and changes nothing.
void ReleaseCachedSurfaces(HWND keeper);

}  // namespace pelvanto::win32
