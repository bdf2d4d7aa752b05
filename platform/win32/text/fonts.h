#pragma once
// The program's Chinese type faces, by whichever name the system knows them.

#include <windows.h>

#include <array>
#include <span>
#include <string>

namespace pelvanto::win32 {

// Older systems name the faces by their GB2312 names, newer ones only by the plain or the
// English name.
inline constexpr std::array<const wchar_t*, 4> kKaitiFaces = {L"楷体_GB2312", L"楷体", L"KaiTi",
                                                              L"KaiTi_GB2312"};
inline constexpr std::array<const wchar_t*, 3> kSongtiFaces = {L"宋体", L"SimSun", L"NSimSun"};

// The first face of the list that is installed; the first of all when none is, so the font
// mapper picks its substitute as for any missing face.
std::wstring InstalledFace(std::span<const wchar_t* const> faces);

// 宋体 at a point size in tenths and 楷体 in hundredths, for a DPI; the caller owns the font.
// Each face is looked up once for the whole program.
HFONT CreateSongtiFont(int tenths_of_point, unsigned dpi, int weight = FW_NORMAL);
HFONT CreateKaitiFont(int hundredths_of_point, unsigned dpi, int weight = FW_NORMAL);

}  // namespace pelvanto::win32
