// The type faces are looked up along their chain of names.
#include <gtest/gtest.h>

#include <array>
#include <string>

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

}  // namespace
}  // namespace pelvanto::win32
