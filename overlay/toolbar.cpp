#include "overlay/toolbar.h"

#include <algorithm>

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {

// The area the toolbar keeps to when the selection's last pixel is at (x, y). With one
// monitor it is the whole screen, as the overlay covers the taskbar too; with several it is
// the work area of the monitor at that pixel.
RectI ToolbarArea(const Desktop& desktop, int x, int y) {
  if (desktop.monitors.size() == 1) return desktop.monitors.front().bounds;
  return MonitorAt(desktop, x, y).work_area;
}

// The toolbar strip's place next to a finished selection, inside `area`: below the selection
// and right-aligned with it; inside it when there is no room below; never past the area's
// left edge (that rule wins over the right edge when the area is narrower than the strip).
RectI PlaceToolbarStrip(const RectI& selection, int width, int height, int gap, const RectI& area) {
  // Exactly filling the area below the selection still counts as room.
  int top = selection.bottom + gap;
  if (top + height > area.bottom) top = selection.bottom - height - gap;
  // A selection reaching past the area (into a part no monitor shows, or onto another
  // monitor) must not take the strip with it.
  top = KeepWithin(top, height, area.top, area.bottom);
  const int left = KeepWithin(selection.right - width, width, area.left, area.right);
  return SizedRect(left, top, width, height);
}

}  // namespace

Toolbar::Toolbar(const DesktopMetrics& metrics) : metrics_(metrics) {
  const unsigned dpi = metrics.Primary().dpi;
  Scale(dpi);
  // Out of sight until the first selection: its bottom edge on the window's top edge.
  const RectI strip = ScaleToDpi(kToolbarStripTwips, kTwipsPerInch, dpi);
  strip_.rect = Offset(strip, 0, -strip.Height());
}

void Toolbar::Scale(unsigned dpi) {
  gap_ = DesignPixels(kToolbarGap, dpi);
  frame_ = ScaleToDpi(kToolbarFrameTwips, kTwipsPerInch, dpi);
  for (std::size_t i = 0; i < kToolbarButtons.size(); ++i) {
    buttons_[i] = ScaleToDpi(kToolbarButtons[i].icon_twips, kTwipsPerInch, dpi);
    hovers_[i].rect = ScaleToDpi(kToolbarButtons[i].hover_twips, kTwipsPerInch, dpi);
  }
}

void Toolbar::PlaceBeside(const RectI& selection) {
  // The selection's last pixel; its corner itself when it has no size.
  const int x = std::max(selection.left, selection.right - 1);
  const int y = std::max(selection.top, selection.bottom - 1);
  const unsigned dpi = metrics_.At(x, y).dpi;
  Scale(dpi);
  const RectI strip = ScaleToDpi(kToolbarStripTwips, kTwipsPerInch, dpi);
  strip_.rect = PlaceToolbarStrip(selection, strip.Width(), strip.Height(), gap_,
                                  ToolbarArea(metrics_.Monitors(), x, y));
}

void Toolbar::HoverButton(int index) {
  if (index < 0 || index >= static_cast<int>(hovers_.size())) return;
  for (auto& square : hovers_) square.visible = false;
  hovers_[static_cast<std::size_t>(index)].visible = true;
}

void Toolbar::HoverStrip() {
  for (auto& square : hovers_) square.visible = false;
}

std::optional<int> Toolbar::ButtonAt(int x, int y) const {
  if (!strip_.visible) return std::nullopt;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (pelvanto::Contains(Offset(buttons_[i], strip_.rect.left, strip_.rect.top), {x, y}))
      return static_cast<int>(i);
  }
  return std::nullopt;
}

bool Toolbar::Contains(int x, int y) const {
  return strip_.visible && pelvanto::Contains(strip_.rect, {x, y});
}

}  // namespace pelvanto::overlay
