#include "overlay/snapping.h"

#include <algorithm>
#include <cstdlib>

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {

bool Meets(const RectI& a, const RectI& b) { return !Intersection(a, b).Empty(); }

}  // namespace

// --- What was recorded -----------------------------------------------------------------------

RecordedWindows::RecordedWindows(const std::vector<WindowRecord>& top_level) {
  for (const WindowRecord& w : top_level) windows_.push_back({{w.frame, -1, w.window}});
}

void RecordedWindows::Add(const ControlBatch& batch) {
  if (batch.window >= windows_.size()) return;
  std::vector<WindowRecord>& list = windows_[batch.window];
  list.insert(list.end(), batch.controls.begin(), batch.controls.end());
}

std::vector<WindowRecord> RecordedWindows::InZOrder() const {
  std::vector<WindowRecord> out;
  for (const std::vector<WindowRecord>& list : windows_) {
    const int base = static_cast<int>(out.size());
    out.push_back(list.front());
    for (std::size_t i = 1; i < list.size(); ++i) {
      const int parent = list[i].parent;
      const int at = base + static_cast<int>(i);
      // Its own place as parent: SnapTargets leaves a child out whose parent is not before it.
      out.push_back({list[i].frame,
                     parent >= 0 && parent < static_cast<int>(i) ? base + parent : at,
                     list[i].window});
    }
  }
  return out;
}

SnapTargets::SnapTargets(const Desktop& desktop, const std::vector<WindowRecord>& windows) {
  for (const Monitor& m : desktop.monitors) monitors_.push_back(m.bounds);
  // kept[i]: where record i went in windows_, or -1 when it was left out. A record's parent
  // comes before it, so its clipped rectangle is known by the time a child needs it.
  std::vector<int> kept(windows.size(), -1);
  // The kept ancestors of the current record, outermost first, to close their subtrees.
  std::vector<int> open;
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const WindowRecord& record = windows[i];
    const bool top_level = record.parent < 0;
    const auto parent = static_cast<std::size_t>(record.parent);
    // A child belongs inside its parent's subtree, which stays open only while the records are
    // inside it: a child of a left-out window, or one out of order, is left out.
    const int parent_place = top_level || parent >= i ? -1 : kept[parent];
    if (!top_level && std::find(open.begin(), open.end(), parent_place) == open.end()) continue;
    RectI rect = Intersection(record.frame, desktop.bounds);
    if (!top_level)
      rect = Intersection(rect, windows_[static_cast<std::size_t>(parent_place)].rect);
    const bool on_a_monitor = std::any_of(monitors_.begin(), monitors_.end(),
                                          [&](const RectI& m) { return Meets(m, rect); });
    if (rect.Empty() || !on_a_monitor) continue;
    // Close the subtrees this record is not part of.
    while (!open.empty() && open.back() != parent_place) {
      windows_[static_cast<std::size_t>(open.back())].end = windows_.size();
      open.pop_back();
    }
    kept[i] = static_cast<int>(windows_.size());
    const std::size_t top =
        top_level ? windows_.size() : windows_[static_cast<std::size_t>(parent_place)].top;
    open.push_back(kept[i]);
    windows_.push_back({rect, 0, record.window, record.frame, top});
  }
  for (const int place : open) windows_[static_cast<std::size_t>(place)].end = windows_.size();
}

std::vector<RectI> SnapTargets::At(PointI p) const {
  std::vector<RectI> under;
  const auto monitor = std::find_if(monitors_.begin(), monitors_.end(),
                                    [&](const RectI& m) { return Contains(m, p); });
  // Nothing is shown where no monitor is, so nothing there can be picked.
  if (monitor == monitors_.end()) return under;
  // Siblings come topmost first: the first one holding the point is the one on top. Each
  // target that does not hold it is skipped with all of its children.
  std::size_t end = windows_.size();
  for (std::size_t i = 0; i < end;) {
    if (Contains(windows_[i].rect, p)) {
      under.push_back(windows_[i].rect);
      end = windows_[i].end;
      ++i;
    } else {
      i = windows_[i].end;
    }
  }
  under.push_back(*monitor);
  std::reverse(under.begin(), under.end() - 1);
  // A control filling its window, or a window its monitor, would take a Tab that shows nothing.
  under.erase(std::unique(under.begin(), under.end()), under.end());
  return under;
}

std::optional<FollowChoice> SnapTargets::ChoiceAt(PointI p, const RectI& rect) const {
  // The same walk as At's, outermost first: a control filling its window is the window.
  std::size_t end = windows_.size();
  for (std::size_t i = 0; i < end;) {
    const Target& t = windows_[i];
    if (!Contains(t.rect, p)) {
      i = t.end;
      continue;
    }
    if (t.rect == rect) {
      const Target& top = windows_[t.top];
      const bool whole = t.top == i;
      return FollowChoice{top.window, whole ? 0 : t.window,
                          whole ? FollowKind::kWholeWindow : FollowKind::kControl, top.frame, rect};
    }
    end = t.end;
    ++i;
  }
  return std::nullopt;
}

bool Covered(const RectI& r, const std::vector<RectI>& above) {
  constexpr std::size_t kMostPieces = 256;
  if (r.Empty()) return true;
  // What is left of `r` uncovered, as rectangles: each window above cuts up to four from one.
  std::vector<RectI> left{r}, next;
  for (const RectI& o : above) {
    next.clear();
    for (const RectI& p : left) {
      if (!Meets(p, o)) {
        next.push_back(p);
        continue;
      }
      if (p.top < o.top) next.push_back({p.left, p.top, p.right, o.top});
      if (o.bottom < p.bottom) next.push_back({p.left, o.bottom, p.right, p.bottom});
      const int top = std::max(p.top, o.top), bottom = std::min(p.bottom, o.bottom);
      if (p.left < o.left) next.push_back({p.left, top, o.left, bottom});
      if (o.right < p.right) next.push_back({o.right, top, p.right, bottom});
    }
    left.swap(next);
    if (left.empty()) return true;
    if (left.size() > kMostPieces) return false;
  }
  return left.empty();
}

// --- The highlight ----------------------------------------------------------------------------

void Hover::Follow(const SnapTargets& targets, PointI p) {
  std::vector<RectI> under = targets.At(p);
  if (under == under_) return;
  under_ = std::move(under);
  step_ = 0;
}

void Hover::Retarget(const SnapTargets& targets, PointI p) {
  if (under_.empty()) return;  // hidden: the next move follows
  const RectI chosen = under_[step_];
  const bool stepped = step_ > 0;
  under_ = targets.At(p);
  step_ = 0;
  if (!stepped) return;
  const auto kept = std::find(under_.begin(), under_.end(), chosen);
  if (kept != under_.end()) step_ = static_cast<std::size_t>(kept - under_.begin());
}

bool Hover::StepOutwards() {
  if (step_ + 1 >= under_.size()) return false;
  ++step_;
  return true;
}

bool Hover::StepInwards() {
  if (step_ == 0 || under_.empty()) return false;
  --step_;
  return true;
}

void Hover::Hide() {
  under_.clear();
  step_ = 0;
}

std::optional<RectI> Hover::Highlighted() const {
  if (under_.empty()) return std::nullopt;
  return under_[step_];
}

// --- Click or drag ----------------------------------------------------------------------------

void ClickOrDrag::Press(PointI p) {
  press_ = p;
  pressed_ = true;
  click_ = true;
}

void ClickOrDrag::Move(PointI p) {
  // Once out, a move back does not make it a click again: the user dragged.
  if (std::abs(p.x - press_.x) > half_width_ || std::abs(p.y - press_.y) > half_height_)
    click_ = false;
}

}  // namespace pelvanto::overlay
