#pragma once
// Every font the program makes. Each is made for what it draws: its face is one that has a
// glyph for every character of its texts, so no machine shows boxes where a face is missing.

#include <windows.h>

#include <array>
#include <span>
#include <string>

#include "core/face_choice.h"

namespace pelvanto::win32 {

// Older systems name the faces by their GB2312 names, newer ones only by the plain or the
// English name.
inline constexpr std::array<const wchar_t*, 4> kKaitiFaces = {L"楷体_GB2312", L"楷体", L"KaiTi",
                                                              L"KaiTi_GB2312"};
inline constexpr std::array<const wchar_t*, 3> kSongtiFaces = {L"宋体", L"SimSun", L"NSimSun"};

// The first face of the list that is installed; the first of all when none is.
std::wstring InstalledFace(std::span<const wchar_t* const> faces);

// What each of the program's fonts draws.
enum class FontUse {
  kButtons,      // the main window's two buttons
  kIntervalBox,  // the interval's numbers
  kLabels,       // the interval's label
  kHelpCaption,  // the help frame's caption, in 楷体
  kHelpText,     // the help text
  kReadOuts,     // the overlay's size and colour read-outs
  kLoupe,        // the loupe's two lines
  kTooltips,     // the main window's and the toolbar's tips
};
inline constexpr std::array kFontUses = {
    FontUse::kButtons,  FontUse::kIntervalBox, FontUse::kLabels, FontUse::kHelpCaption,
    FontUse::kHelpText, FontUse::kReadOuts,    FontUse::kLoupe,  FontUse::kTooltips};

// The font for a use at a DPI; the caller owns it. Its face is chosen once for the program.
HFONT CreateFontFor(FontUse use, unsigned dpi);

// For the trace and the glyph test: the use's name, every text drawn with it, and the face
// chosen for it with the characters that face lacks (none, unless no installed face has all).
const wchar_t* NameOf(FontUse use);
std::wstring TextsOf(FontUse use);
const FaceCoverage& FaceFor(FontUse use);

}  // namespace pelvanto::win32
