// The type faces are looked up along their chain of names, and every font the program makes
// draws every character of the texts drawn with it, whatever fonts the machine has.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/text/fonts.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {
namespace {

int CALLBACK KeepFirst(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM face) {
  *reinterpret_cast<std::wstring*>(face) = font->lfFaceName;
  return 0;
}

// Some face this system has, whichever it is.
std::wstring AnInstalledFace() {
  WindowDc screen(nullptr);
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  std::wstring face;
  ::EnumFontFamiliesExW(screen.get(), &any, KeepFirst, reinterpret_cast<LPARAM>(&face), 0);
  return face;
}

TEST(InstalledFace, FirstInstalledNameOfTheChainElseTheFirstName) {
  const std::wstring installed = AnInstalledFace();
  ASSERT_FALSE(installed.empty());
  struct Case {
    std::array<const wchar_t*, 3> chain;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{installed.c_str(), L"No Such Face A", L"No Such Face B"}, installed.c_str()},
      {{L"No Such Face A", L"No Such Face B", installed.c_str()}, installed.c_str()},
      {{L"No Such Face A", L"A name far too long for any font face name", installed.c_str()},
       installed.c_str()},
      {{L"No Such Face A", L"No Such Face B", L"No Such Face C"}, L"No Such Face A"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InstalledFace(c.chain), std::wstring(c.expected)) << c.chain[0];
}

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

// Each font as the program makes it, asked directly which characters of its texts it lacks;
// the output names the face each font was given.
TEST(ProgramFonts, EveryFontHasAGlyphForEveryCharacterOfItsTexts) {
  WindowDc screen(nullptr);
  ASSERT_TRUE(screen);
  for (FontUse use : kFontUses) {
    const OwnedFont font(CreateFontFor(use, 96));
    ASSERT_TRUE(font) << Utf8(NameOf(use));
    SelectGuard selected(screen.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.get(), LF_FACESIZE, face);
    std::printf("font %-12ls  face %s\n", NameOf(use), Utf8(face).c_str());
    const std::wstring texts = TextsOf(use);
    std::vector<WORD> glyphs(texts.size());
    ASSERT_NE(::GetGlyphIndicesW(screen.get(), texts.c_str(), static_cast<int>(texts.size()),
                                 glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    std::wstring missing;
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (glyphs[i] == 0xFFFF && texts[i] >= L' ' && missing.find(texts[i]) == std::wstring::npos)
        missing += texts[i];
    EXPECT_EQ(Utf8(missing), "") << Utf8(NameOf(use)) << " in " << Utf8(face);
    EXPECT_EQ(FaceFor(use).face, std::wstring(face)) << Utf8(NameOf(use));
  }
}

}  // namespace
}  // namespace pelvanto::win32
