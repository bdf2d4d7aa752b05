#include "platform/win32/display/surface_release.h"

#include <array>

namespace pelvanto::win32 {

void ReleaseCachedSurfaces(HWND keeper) {
  // More than the cache's DCs in use at once, so that every one of them is taken.
  std::array<HDC, 8> cached{};
  for (HDC& dc : cached) dc = ::GetDCEx(keeper, nullptr, DCX_CACHE);
  for (HDC dc : cached)
    if (dc) ::ReleaseDC(keeper, dc);
}

}  // namespace pelvanto::win32
