#include "platform/win32/text/fonts.h"

#include <algorithm>
#include <cwchar>

#include "core/geometry.h"
#include "platform/win32/base/owners.h"

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

namespace {
HFONT CreateChineseFont(const std::wstring& face, int hundredths_of_point, unsigned dpi,
                        int weight) {
  const int height = -ScaleToDpi(hundredths_of_point, 7200, dpi);
  return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}
}  // namespace

HFONT CreateSongtiFont(int tenths_of_point, unsigned dpi, int weight) {
  static const std::wstring face = InstalledFace(kSongtiFaces);
  return CreateChineseFont(face, 10 * tenths_of_point, dpi, weight);
}

HFONT CreateKaitiFont(int hundredths_of_point, unsigned dpi, int weight) {
  static const std::wstring face = InstalledFace(kKaitiFaces);
  return CreateChineseFont(face, hundredths_of_point, dpi, weight);
}

}  // namespace pelvanto::win32
