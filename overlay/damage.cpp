#include "overlay/damage.h"

namespace pelvanto::overlay {

namespace {

RectI Pad(RectI r, int pad) { return {r.left - pad, r.top - pad, r.right + pad, r.bottom + pad}; }

// The outline is a one-pixel border drawn inside its rectangle; a zero-size one is a dot.
void AddOutline(RectI r, int pad, std::vector<RectI>& out) {
  if (r.right <= r.left) r.right = r.left + 1;
  if (r.bottom <= r.top) r.bottom = r.top + 1;
  out.push_back(Pad({r.left, r.top, r.right, r.top + 1}, pad));
  out.push_back(Pad({r.left, r.bottom - 1, r.right, r.bottom}, pad));
  out.push_back(Pad({r.left, r.top, r.left + 1, r.bottom}, pad));
  out.push_back(Pad({r.right - 1, r.top, r.right, r.bottom}, pad));
}

template <typename T>
void AddBox(const T& before, const T& after, int pad, std::vector<RectI>& out) {
  if (before == after) return;
  if (before.visible) out.push_back(Pad(before.rect, pad));
  if (after.visible) out.push_back(Pad(after.rect, pad));
}

}  // namespace

std::vector<RectI> ChangedAreas(const Elements& before, const Elements& after, int pad) {
  std::vector<RectI> out;
  out.reserve(32);  // a drag's move changes about two dozen: one allocation, not six
  if (before.outline != after.outline) {
    if (before.outline.visible) AddOutline(before.outline.rect, pad, out);
    if (after.outline.visible) AddOutline(after.outline.rect, pad, out);
  }
  if (before.highlight != after.highlight) {
    if (before.highlight.visible) AddOutline(before.highlight.rect, pad, out);
    if (after.highlight.visible) AddOutline(after.highlight.rect, pad, out);
  }
  AddBox(before.highlight_label, after.highlight_label, pad, out);
  AddBox(before.size_label, after.size_label, pad, out);
  AddBox(before.colour_label, after.colour_label, pad, out);
  for (std::size_t i = 0; i < before.handles.size(); ++i)
    AddBox(before.handles[i], after.handles[i], pad, out);
  // The toolbar repaints whole when anything on it changed.
  const bool toolbar_changed = before.toolbar != after.toolbar ||
                               before.hover_squares != after.hover_squares ||
                               before.toolbar_buttons != after.toolbar_buttons ||
                               before.toolbar_frame != after.toolbar_frame;
  if (toolbar_changed) {
    if (before.toolbar.visible) out.push_back(Pad(before.toolbar.rect, pad));
    if (after.toolbar.visible) out.push_back(Pad(after.toolbar.rect, pad));
  }
  return out;
}

std::vector<RectI> PaintedAreas(const Elements& elements) {
  // Everything visible differs from the same elements all hidden.
  Elements hidden = elements;
  hidden.outline.visible = hidden.size_label.visible = hidden.colour_label.visible = false;
  hidden.toolbar.visible = false;
  hidden.highlight.visible = hidden.highlight_label.visible = false;
  for (auto& handle : hidden.handles) handle.visible = false;
  return ChangedAreas(hidden, elements, 0);
}

}  // namespace pelvanto::overlay
