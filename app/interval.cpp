#include "app/interval.h"

#include "core/rounding.h"

namespace pelvanto::app {

namespace {
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
}  // namespace

double LeadingNumber(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
    if (text[i] == L'-') sign = -1;
    ++i;
  }
  double value = 0;
  bool any_digit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - L'0');
    any_digit = true;
  }
  if (i < text.size() && text[i] == L'.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
      value += (text[i] - L'0') * scale;
      any_digit = true;
    }
  }
  return any_digit ? sign * value : 0;
}

std::vector<int> IntervalChoices() {
  constexpr int kEverySecondUpTo = 36;
  std::vector<int> choices;
  for (int s = 0; s <= kMaxIntervalSeconds; s += s < kEverySecondUpTo ? 1 : 2) choices.push_back(s);
  return choices;
}

bool IntervalOutOfRange(std::wstring_view text) {
  const double v = LeadingNumber(text);
  return v < 0 || v > kMaxIntervalSeconds;
}

int ParseInterval(std::wstring_view text) { return RoundHalfEven(LeadingNumber(text)); }

}  // namespace pelvanto::app
