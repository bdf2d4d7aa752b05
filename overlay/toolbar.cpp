#include "overlay/toolbar.h"

#include <algorithm>

namespace pelvanto::overlay {

namespace {

// Left and top edges inside, right and bottom outside.
bool Inside(const RectF& r, float x, float y) {
  return x >= r.left && x < r.Right() && y >= r.top && y < r.Bottom();
}

}  // namespace

Toolbar::Toolbar(const DesktopMetrics& metrics) : metrics_(metrics) {
  const Metrics& m = metrics.Primary();
  Scale(m);
  // Out of sight until the first selection: its bottom edge on the window's top edge.
  strip_.rect = m.toolbar;
  strip_.rect.top = -m.toolbar.height;
}

void Toolbar::Scale(const Metrics& m) {
  gap_ = m.toolbar_gap;
  buttons_ = m.buttons;
  frame_ = m.frame;
  for (std::size_t i = 0; i < hovers_.size(); ++i) hovers_[i].rect = m.hovers[i];
}

void Toolbar::PlaceBeside(const RectF& selection) {
  // The selection's last pixel; its corner itself when it has no size.
  const float x = std::max(selection.left, selection.Right() - 1);
  const float y = std::max(selection.top, selection.Bottom() - 1);
  const Metrics& m = metrics_.At(x, y);
  Scale(m);
  strip_.rect = PlaceToolbarStrip(selection, m.toolbar.width, m.toolbar.height, gap_,
                                  ToolbarArea(metrics_.desktop(), x, y));
}

void Toolbar::HoverButton(int index) {
  if (index < 0 || index >= static_cast<int>(hovers_.size())) return;
  for (auto& square : hovers_) square.visible = false;
  hovers_[static_cast<std::size_t>(index)].visible = true;
}

void Toolbar::HoverStrip() {
  for (auto& square : hovers_) square.visible = false;
}

std::optional<int> Toolbar::ButtonAt(float x, float y) const {
  if (!strip_.visible) return std::nullopt;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    RectF button = buttons_[i];
    button.left += strip_.rect.left;
    button.top += strip_.rect.top;
    if (Inside(button, x, y)) return static_cast<int>(i);
  }
  return std::nullopt;
}

bool Toolbar::Contains(float x, float y) const {
  return strip_.visible && Inside(strip_.rect, x, y);
}

}  // namespace pelvanto::overlay
