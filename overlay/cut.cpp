#include "overlay/cut.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace pelvanto::overlay {

namespace {
constexpr double kMarginRange = kMaxMargin + 1;  // margins 0 to kMaxMargin
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

CutReport Cutter::Cut(const RectI& selection, const std::function<bool()>& unmoved) {
  CutReport report;
  report.at = clock_.Now();
  // A locked session cannot be copied: the margin is not drawn, so none is wasted.
  if (!screen_.Available()) {
    report.outcome = CutOutcome::kSessionLocked;
    return report;
  }
  random_.Reseed(clock_.SecondOfMinute());
  margin_ = static_cast<int>(random_.Next() * kMarginRange);
  const RectI area = CutArea(selection, margin_);
  const std::int64_t width = std::int64_t{area.right} - area.left;
  const std::int64_t height = std::int64_t{area.bottom} - area.top;
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  // Nothing to copy: the clipboard keeps what it holds.
  if (width <= 0 || height <= 0 || width > kMax || height > kMax) return report;
  auto picture =
      screen_.CopyArea(area.left, area.top, static_cast<int>(width), static_cast<int>(height));
  if (!picture) return report;
  // A window that moved while the screen was copied may be half at its old place in the
  // picture: no such picture reaches the clipboard.
  if (unmoved && !unmoved()) {
    report.outcome = CutOutcome::kWindowMoved;
    return report;
  }
  // A refused picture is freed by the clipboard; the next tick cuts anew.
  ClipboardPut put = clipboard_.PutPicture(std::move(picture));
  switch (put.outcome) {
    case ClipboardPut::Outcome::kPlaced:
      report.outcome = CutOutcome::kLanded;
      report.width = static_cast<int>(width);
      report.height = static_cast<int>(height);
      break;
    case ClipboardPut::Outcome::kHeld:
      report.outcome = CutOutcome::kClipboardHeld;
      report.holder = std::move(put.holder);
      break;
    case ClipboardPut::Outcome::kRefused: break;
  }
  return report;
}

}  // namespace pelvanto::overlay
