#include "overlay/metrics.h"

#include <cstddef>
#include <utility>

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {
// A rectangle laid out in twips.
RectI Twips(int left, int top, int width, int height, unsigned dpi) {
  return ScaleToDpi(SizedRect(left, top, width, height), kTwipsPerInch, dpi);
}
}  // namespace

Metrics::Metrics(unsigned dots_per_inch)
    : dpi(dots_per_inch == 0 ? kDesignDpi : dots_per_inch),
      handle(DesignPixels(4, dpi)),
      label_gap(DesignPixels(2, dpi)),
      size_label(Twips(120, 2640, 2775, 255, dpi)),
      colour_label(Twips(120, 2880, 2625, 255, dpi)),
      first_outline(Twips(600, 2760, 2175, 1455, dpi)) {}

DesktopMetrics::DesktopMetrics(Desktop desktop)
    : desktop_(MakeDesktop(std::move(desktop.monitors))) {
  per_monitor_.reserve(desktop_.monitors.size());
  for (const Monitor& m : desktop_.monitors) per_monitor_.emplace_back(m.dpi);
}

const Metrics& DesktopMetrics::At(int x, int y) const {
  const Monitor& m = MonitorAt(desktop_, x, y);
  return per_monitor_[static_cast<std::size_t>(&m - desktop_.monitors.data())];
}

}  // namespace pelvanto::overlay
