#include "overlay/cut.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace pelvanto::overlay {

namespace {
constexpr double kMarginRange = 30;  // margins 0 to 29
}  // namespace

RectI CutArea(const RectI& selection, int margin) {
  auto grown = [margin](int edge) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{edge} + margin,
                                                     std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
  };
  return {selection.left, selection.top, grown(selection.right), grown(selection.bottom)};
}

Cutter::Cutter(Clock& clock, Screen& screen, Clipboard& clipboard, std::uint64_t random_seed)
    : clock_(clock), screen_(screen), clipboard_(clipboard), random_(random_seed) {}

bool Cutter::Cut(const RectI& selection) {
  random_.Reseed(clock_.SecondOfMinute());
  margin_ = static_cast<int>(random_.Next() * kMarginRange);
  const RectI area = CutArea(selection, margin_);
  const std::int64_t width = std::int64_t{area.right} - area.left;
  const std::int64_t height = std::int64_t{area.bottom} - area.top;
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  // Nothing to copy: the clipboard keeps what it holds.
  if (width <= 0 || height <= 0 || width > kMax || height > kMax) return false;
  auto picture = screen_.CopyArea(area.left, area.top, static_cast<int>(width),
                                  static_cast<int>(height));
  if (!picture) return false;
  // A refused picture is freed by the clipboard; the next tick cuts anew.
  return clipboard_.PutPicture(std::move(picture));
}

}  // namespace pelvanto::overlay
