#include "app/interval.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelvanto::app {
namespace {

struct ReadCase {
  std::wstring text;
  double value;
  bool out_of_range;
};

class IntervalTextTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IntervalTextTest, ReadsTheLeadingNumberAndJudgesItsRange) {
  const ReadCase& c = GetParam();
  EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value);
  EXPECT_EQ(IntervalOutOfRange(c.text), c.out_of_range);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntervalTextTest,
    testing::Values(
        // The list's own values, ends included.
        ReadCase{L"0", 0, false}, ReadCase{L"2", 2, false}, ReadCase{L"36", 36, false},
        ReadCase{L"50", 50, false},
        // Fractions count.
        ReadCase{L"0.4", 0.4, false}, ReadCase{L"49.6", 49.6, false}, ReadCase{L".5", 0.5, false},
        ReadCase{L"7.", 7, false},
        // Just past either end.
        ReadCase{L"51", 51, true}, ReadCase{L"50.01", 50.01, true}, ReadCase{L"-1", -1, true},
        ReadCase{L"-0.5", -0.5, true}, ReadCase{L"999999999999999999999", 1e21, true},
        // Leading blanks are skipped; whatever follows the number is ignored.
        ReadCase{L"  12", 12, false}, ReadCase{L"\t3", 3, false}, ReadCase{L"2.5 s", 2.5, false},
        ReadCase{L"+4", 4, false}, ReadCase{L"60秒", 60, true},
        // Not a number: 0, which is in range.
        ReadCase{L"", 0, false}, ReadCase{L"abc", 0, false}, ReadCase{L"-", 0, false},
        ReadCase{L".", 0, false}, ReadCase{L"x51", 0, false}, ReadCase{L"   ", 0, false}));

TEST(IntervalChoicesTest, EverySecondTo36ThenEveryOtherToTheTopEachReadingBackAsItself) {
  std::vector<int> expected;
  for (int s = 0; s <= 36; ++s) expected.push_back(s);
  for (int s = 38; s <= 50; s += 2) expected.push_back(s);
  const std::vector<int> choices = IntervalChoices();
  EXPECT_EQ(choices, expected);
  EXPECT_EQ(choices.back(), kMaxIntervalSeconds);
  for (int s : choices) {
    EXPECT_FALSE(IntervalOutOfRange(std::to_wstring(s))) << s;
    EXPECT_EQ(ParseInterval(std::to_wstring(s)), s);
  }
}

}  // namespace
}  // namespace pelvanto::app
