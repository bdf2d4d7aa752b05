#include "core/face_choice.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "overlay/loupe.h"
#include "overlay/selection.h"

namespace pelvanto {
namespace {

TEST(FaceChoice, CharactersOnceEachWithoutLineBreaks) {
  EXPECT_EQ(CharactersOf(L"切图\r\n切图 开始\t1"), L"切图 开始1");
  EXPECT_EQ(CharactersOf(L""), L"");
}

TEST(FaceChoice, FirstFullCoverageElseFewestMissingEarlierOfEquals) {
  struct Case {
    std::vector<FaceCoverage> faces;
    std::optional<std::size_t> best;
  };
  const Case cases[] = {
      {{}, std::nullopt},
      {{{L"宋体", L""}, {L"SimHei", L""}}, 0},
      {{{L"宋体", L"1"}, {L"SimHei", L""}, {L"DengXian", L""}}, 1},
      {{{L"Droid", L"0123x"}, {L"A", L"xy"}, {L"B", L"q"}, {L"C", L"r"}}, 2},
      {{{L"Droid", L"0123"}, {L"A", L"0123"}}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(BestFace(c.faces), c.best) << c.faces.size();
}

// The read-outs' font is chosen for kReadOutCharacters; a read-out with another character
// could show a box.
TEST(FaceChoice, ReadOutsAndLoupeLinesHoldOnlyTheReadOutCharacters) {
  const std::wstring texts[] = {
      overlay::SizeText(0, 0),
      overlay::SizeText(INT_MAX, 1234567890),
      overlay::ColourText(0x00FFFFFF),
      overlay::ColourText(0x00012345),
      overlay::PositionText({-32768, -1}),
      overlay::PositionText({7679, 4319}),
      L"宽X高",
  };
  for (const std::wstring& text : texts)
    for (wchar_t c : text)
      EXPECT_NE(overlay::kReadOutCharacters.find(c), std::wstring_view::npos) << text.size();
}

}  // namespace
}  // namespace pelvanto
