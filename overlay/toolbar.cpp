#include "overlay/toolbar.h"

namespace pelvanto::overlay {

namespace {

// Left and top edges inside, right and bottom outside.
bool Inside(const RectF& r, float x, float y) {
  return x >= r.left && x < r.Right() && y >= r.top && y < r.Bottom();
}

}  // namespace

Toolbar::Toolbar(const Metrics& m)
    : gap_(m.toolbar_gap), buttons_(m.buttons), frame_(m.frame) {
  // Out of sight until the first selection: its bottom edge on the window's top edge.
  strip_.rect = m.toolbar;
  strip_.rect.top = -m.toolbar.height;
  for (std::size_t i = 0; i < hovers_.size(); ++i) hovers_[i].rect = m.hovers[i];
}

void Toolbar::PlaceBeside(const RectF& selection, float bounds_height) {
  RectF& bar = strip_.rect;
  bar.left = selection.Right() - bar.width;
  // Exactly filling the space below the selection still counts as room.
  if (selection.Bottom() + gap_ + bar.height > bounds_height) {
    bar.top = selection.Bottom() - bar.height - gap_;
  } else {
    bar.top = selection.Bottom() + gap_;
  }
  if (bar.left < 0) bar.left = 0;
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
