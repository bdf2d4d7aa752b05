#include "overlay/toolbar.h"

#include <algorithm>

#include "core/geometry.h"

namespace pelvanto::overlay {

Toolbar::Toolbar(const DesktopMetrics& metrics) : metrics_(metrics) {
  const Metrics& m = metrics.Primary();
  Scale(m);
  // Out of sight until the first selection: its bottom edge on the window's top edge.
  strip_.rect = Offset(m.toolbar, 0, -m.toolbar.Height());
}

void Toolbar::Scale(const Metrics& m) {
  gap_ = m.toolbar_gap;
  buttons_ = m.buttons;
  frame_ = m.frame;
  for (std::size_t i = 0; i < hovers_.size(); ++i) hovers_[i].rect = m.hovers[i];
}

void Toolbar::PlaceBeside(const RectI& selection) {
  // The selection's last pixel; its corner itself when it has no size.
  const int x = std::max(selection.left, selection.right - 1);
  const int y = std::max(selection.top, selection.bottom - 1);
  const Metrics& m = metrics_.At(x, y);
  Scale(m);
  strip_.rect = PlaceToolbarStrip(selection, m.toolbar.Width(), m.toolbar.Height(), gap_,
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
