#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

// Sets the flag for its lifetime and puts the old value back, on every return path.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(std::exchange(flag, true)) {}
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

constexpr unsigned kCutWaitMs = 10;
constexpr double kMarginRange = 30;  // margins 0 to 29

}  // namespace

// Nearest integer, ties to the even neighbour, whatever the floating-point environment says.
// Values outside int (only from a corrupt selection) are pinned to its ends, NaN gives 0.
int RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  if (v <= kLow) return std::numeric_limits<int>::min();
  if (v >= kHigh) return std::numeric_limits<int>::max();
  const double floor = std::floor(v);
  const double fraction = v - floor;  // exact for doubles of this size
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded += 1.0;
  return static_cast<int>(rounded);
}

RectI CutArea(const RectF& selection, int margin) {
  // Each sum in double precision: the selection is single precision, the margin whole.
  const double left = selection.left;
  const double top = selection.top;
  return {RoundHalfEven(left), RoundHalfEven(top),
          RoundHalfEven(left + static_cast<double>(selection.width) + margin),
          RoundHalfEven(top + static_cast<double>(selection.height) + margin)};
}

void Overlay::OnTimer1() {
  // A tick that arrives while a cut lets events run must not start a second cut inside it.
  if (unloaded_ || cutting_) return;
  {
    FlagScope scope(cutting_);
    services_.events.Sleep(kCutWaitMs);
    services_.events.ProcessPendingEvents();
  }
  // No event runs between here and cutimg taking the flag again.
  if (unloaded_) return;
  cutimg();
  if (unloaded_) return;
  // One enabling, one cut.
  services_.Timer1.SetEnabled(false);
}

void Overlay::cutimg() {
  if (unloaded_ || cutting_) return;
  FlagScope scope(cutting_);
  random_.Reseed(services_.clock.SecondOfMinute());
  cut_margin_ = static_cast<int>(random_.Next() * kMarginRange);
  elements_.Picture1.visible = false;
  // Give the toolbar's repaint time to reach the screen before the copy.
  services_.events.Sleep(kCutWaitMs);
  services_.events.ProcessPendingEvents();
  if (unloaded_) return;
  elements_.Shape1.visible = false;
  const RectI area = CutArea(elements_.Shape1.rect, cut_margin_);
  ScrnCap(area.left, area.top, area.right, area.bottom);
}

void Overlay::ScrnCap(int left, int top, int right, int bottom) {
  if (unloaded_) return;
  FlagScope scope(cutting_);
  elements_.Shape1.visible = false;
  elements_.LblPos.visible = false;
  elements_.lblInfo.visible = false;
  HideHandles();
  // Let the hidden controls repaint so none of them lands in the picture.
  services_.events.ProcessPendingEvents();
  if (unloaded_) return;
  const std::int64_t width = std::int64_t{right} - left;
  const std::int64_t height = std::int64_t{bottom} - top;
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  // Nothing to copy: the clipboard keeps what it holds.
  if (width <= 0 || height <= 0 || width > kMax || height > kMax) return;
  auto picture = services_.screen.CopyArea(left, top, static_cast<int>(width),
                                           static_cast<int>(height));
  if (!picture) return;
  // A refused picture is freed by the clipboard; the next tick cuts anew.
  services_.clipboard.PutPicture(std::move(picture));
}

}  // namespace pelvanto::overlay
