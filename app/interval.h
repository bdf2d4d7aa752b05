#pragma once
#include <string_view>
#include <vector>

namespace pelvanto::app {

// The number at the start of a text, after leading blanks; 0 when the text does not begin
// with a number. A fraction counts ("2.5 s" reads 2.5).
double LeadingNumber(std::wstring_view text);

// The auto-cut interval the list offers: 0 to 50 seconds.
inline constexpr int kMaxIntervalSeconds = 50;

// What the interval list offers, in order: every second up to 36, then every other second up to
// kMaxIntervalSeconds.
std::vector<int> IntervalChoices();

// True when the interval text reads as a number outside 0..50.
bool IntervalOutOfRange(std::wstring_view text);

// The whole seconds an interval text stands for: its leading number, halves to even
// ("2.5" gives 2, "3.5" gives 4).
int ParseInterval(std::wstring_view text);

}  // namespace pelvanto::app
