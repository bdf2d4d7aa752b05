#include "overlay/damage.h"

#include <cmath>

namespace pelvanto::overlay {

namespace {

int Round(float v) { return static_cast<int>(std::lround(v)); }

RectI Pad(RectI r, int pad) { return {r.left - pad, r.top - pad, r.right + pad, r.bottom + pad}; }

// The outline is a one-pixel border drawn inside its rectangle; a zero-size one is a dot.
void AddOutline(const RectF& rect, int pad, std::vector<RectI>& out) {
  RectI r = DeviceRect(rect);
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
  if (before.visible) out.push_back(Pad(DeviceRect(before.rect), pad));
  if (after.visible) out.push_back(Pad(DeviceRect(after.rect), pad));
}

}  // namespace

RectI DeviceRect(const RectF& rect) {
  return {Round(rect.left), Round(rect.top), Round(rect.left + rect.width),
          Round(rect.top + rect.height)};
}

std::vector<RectI> ChangedAreas(const Elements& before, const Elements& after, int pad) {
  std::vector<RectI> out;
  if (before.Shape1 != after.Shape1) {
    if (before.Shape1.visible) AddOutline(before.Shape1.rect, pad, out);
    if (after.Shape1.visible) AddOutline(after.Shape1.rect, pad, out);
  }
  AddBox(before.LblPos, after.LblPos, pad, out);
  AddBox(before.lblInfo, after.lblInfo, pad, out);
  for (std::size_t i = 0; i < before.Image1.size(); ++i)
    AddBox(before.Image1[i], after.Image1[i], pad, out);
  // The toolbar repaints whole when anything on it changed.
  const bool toolbar_changed = before.Picture1 != after.Picture1 ||
                               before.Shape3 != after.Shape3 || before.Image2 != after.Image2 ||
                               before.Shape2 != after.Shape2;
  if (toolbar_changed) {
    if (before.Picture1.visible) out.push_back(Pad(DeviceRect(before.Picture1.rect), pad));
    if (after.Picture1.visible) out.push_back(Pad(DeviceRect(after.Picture1.rect), pad));
  }
  return out;
}

std::vector<RectI> PaintedAreas(const Elements& elements) {
  // Everything visible differs from the same elements all hidden.
  Elements hidden = elements;
  hidden.Shape1.visible = hidden.LblPos.visible = hidden.lblInfo.visible = false;
  hidden.Picture1.visible = false;
  for (auto& handle : hidden.Image1) handle.visible = false;
  return ChangedAreas(hidden, elements, 0);
}

}  // namespace pelvanto::overlay
