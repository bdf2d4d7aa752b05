#include "platform/win32/fonts.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/handles.h"

namespace pelvanto::win32 {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool Installed(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  const std::size_t length = std::wcslen(face);
  if (length >= LF_FACESIZE) return false;
  std::copy_n(face, length, wanted.lfFaceName);  // the rest stays zero
  bool found = false;
  // Enumeration knows a face by its localised and its English name alike.
  ::EnumFontFamiliesExW(dc, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::wstring InstalledFace(std::span<const wchar_t* const> faces) {
  if (faces.empty()) return {};
  WindowDc screen(nullptr);
  if (screen) {
    for (const wchar_t* face : faces)
      if (Installed(screen.get(), face)) return face;
  }
  return faces.front();
}

}  // namespace pelvanto::win32
