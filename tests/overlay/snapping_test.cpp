#include "overlay/snapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pelvanto::overlay {
namespace {

// A 1000 x 800 primary and a monitor left of it, 200 px lower: no monitor shows the desktop's
// corners (-1000..0, 0..200) and (0..1000, 800..1000).
Desktop TwoMonitors() {
  return MakeDesktop({{{0, 0, 1000, 800}, {0, 0, 1000, 800}, 96},
                      {{-1000, 200, 0, 1000}, {-1000, 200, 0, 1000}, 96}});
}

// A fake desktop, in z-order:
//   0 editor     (100,100)-(600,500), top level, topmost
//   1   panel    (120,150)-(400,450), its child
//   2     button (130,160)-(230,200), the panel's child, on top of the field
//   3     field  (130,160)-(390,300), the panel's child, under the button
//   4   sticker  (550,450)-(700,600), the editor's child, reaching past the editor
//   5 browser    (300,300)-(900,700), below the editor
//   6   page     (300,300)-(900,700), fills the browser
//   7 spanning   (-200,600)-(200,700), across both monitors
//   8 huge       (-5000,-5000)-(5000,5000), larger than the desktop
//   9 flat       (20,20)-(20,90), no width
//  10   inner    (20,20)-(60,60), child of the flat one
//  11 offscreen  (-900,50)-(-800,150), where no monitor is
const std::vector<WindowRecord> kTree = {
    {{100, 100, 600, 500}, -1},  {{120, 150, 400, 450}, 0},       {{130, 160, 230, 200}, 1},
    {{130, 160, 390, 300}, 1},   {{550, 450, 700, 600}, 0},       {{300, 300, 900, 700}, -1},
    {{300, 300, 900, 700}, 5},   {{-200, 600, 200, 700}, -1},     {{-5000, -5000, 5000, 5000}, -1},
    {{20, 20, 20, 90}, -1},      {{20, 20, 60, 60}, 9},           {{-900, 50, -800, 150}, -1},
};

constexpr RectI kPrimary{0, 0, 1000, 800};
constexpr RectI kLeft{-1000, 200, 0, 1000};
constexpr RectI kEditor{100, 100, 600, 500};
constexpr RectI kPanel{120, 150, 400, 450};
constexpr RectI kHuge{-1000, 0, 1000, 1000};  // clipped to the desktop's bounds

TEST(SnapTargetsTest, TheTargetsUnderAPointGoFromTheTopmostInnermostOutwards) {
  const SnapTargets targets(TwoMonitors(), kTree);
  struct Case {
    const char* what;
    PointI at;
    std::vector<RectI> under;
  };
  const Case cases[] = {
      {"the upper of two siblings", {150, 170}, {{130, 160, 230, 200}, kPanel, kEditor, kPrimary}},
      {"the lower sibling beside it", {300, 170}, {{130, 160, 390, 300}, kPanel, kEditor, kPrimary}},
      {"the upper window where two overlap", {350, 350}, {kPanel, kEditor, kPrimary}},
      {"a child filling its window counts once", {800, 650}, {{300, 300, 900, 700}, kPrimary}},
      {"a child clipped to its window", {580, 480}, {{550, 450, 600, 500}, kEditor, kPrimary}},
      {"past its window the child is gone", {650, 550}, {{300, 300, 900, 700}, kPrimary}},
      {"a window larger than the desktop", {950, 50}, {kHuge, kPrimary}},
      {"a zero-size window and its child are left out", {40, 40}, {kHuge, kPrimary}},
      {"a window across monitors, on the left one", {-100, 650}, {{-200, 600, 200, 700}, kLeft}},
      {"the same window on the primary", {100, 650}, {{-200, 600, 200, 700}, kPrimary}},
      {"negative coordinates", {-500, 900}, {kHuge, kLeft}},
      {"the gap between monitors", {-500, 100}, {}},
      {"off-screen windows are left out: the gap", {-850, 100}, {}},
      {"right edge exclusive", {1000, 100}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(targets.At(c.at), c.under) << c.what;
  EXPECT_EQ(targets.WindowCount(), 9u);  // all but the flat one, its child, the off-screen one
}

TEST(SnapTargetsTest, BadTreesLeaveOutWhatCannotBePlacedAndNeverFail) {
  const Desktop desktop = SingleMonitorDesktop(800, 600, 96);
  const RectI screen{0, 0, 800, 600};
  struct Case {
    const char* what;
    std::vector<WindowRecord> windows;
    std::vector<RectI> under_100_100;
  };
  const Case cases[] = {
      {"nothing recorded", {}, {screen}},
      {"a parent after its child", {{{0, 0, 500, 500}, 1}, {{50, 50, 400, 400}, -1}},
       {{50, 50, 400, 400}, screen}},
      {"a parent index past the end", {{{50, 50, 400, 400}, 7}}, {screen}},
      {"a child after its parent's subtree closed",
       {{{0, 0, 300, 300}, -1}, {{400, 400, 500, 500}, -1}, {{50, 50, 200, 200}, 0}},
       {{0, 0, 300, 300}, screen}},
      {"thousands of windows",
       std::vector<WindowRecord>(5000, WindowRecord{{90, 90, 110, 110}, -1}),
       {{90, 90, 110, 110}, screen}},
  };
  for (const Case& c : cases) EXPECT_EQ(SnapTargets(desktop, c.windows).At({100, 100}), c.under_100_100) << c.what;
  EXPECT_TRUE(SnapTargets().At({0, 0}).empty());
}

TEST(CoveredTest, OnlyARectangleWhollyUnderWindowsAboveIsCovered) {
  const RectI r{100, 100, 200, 200};
  struct Case {
    const char* what;
    std::vector<RectI> above;
    bool covered;
  };
  const Case cases[] = {
      {"nothing above", {}, false},
      {"one window over all of it", {{0, 0, 300, 300}}, true},
      {"exactly over it", {r}, true},
      {"four quarters", {{100, 100, 150, 150}, {150, 100, 200, 150}, {100, 150, 150, 200}, {150, 150, 200, 200}}, true},
      {"overlapping halves", {{0, 0, 160, 300}, {140, 0, 300, 300}}, true},
      {"a one-pixel slit between two", {{0, 0, 150, 300}, {151, 0, 300, 300}}, false},
      {"one pixel short at the bottom", {{0, 0, 300, 199}}, false},
      {"a hole in a frame of four", {{100, 100, 200, 120}, {100, 180, 200, 200}, {100, 100, 120, 200}, {180, 100, 200, 200}}, false},
      {"beside it", {{200, 100, 300, 200}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Covered(r, c.above), c.covered) << c.what;
  // Hundreds of dots cut it into too many pieces before the window over all of it comes: the
  // answer errs towards recording.
  std::vector<RectI> dots;
  for (int i = 0; i < 400; ++i) dots.push_back({102 + i % 20 * 5, 102 + i / 20 * 5, 103 + i % 20 * 5, 103 + i / 20 * 5});
  dots.push_back({0, 0, 300, 300});
  EXPECT_FALSE(Covered(r, dots));
}

TEST(HoverTest, TabStepsOutwardsAndBackThroughTheTargetsUnderThePointer) {
  const SnapTargets targets(TwoMonitors(), kTree);
  const RectI button{130, 160, 230, 200};
  enum Step { kTab, kShiftTab, kSmallMove, kOtherWindow };
  struct Case {
    std::vector<Step> steps;
    std::optional<RectI> highlighted;
    bool last_step_changed;
  };
  const Case cases[] = {
      {{}, button, true},
      {{kTab}, kPanel, true},
      {{kTab, kTab, kTab}, kPrimary, true},
      {{kTab, kTab, kTab, kTab}, kPrimary, false},  // the monitor is the last
      {{kTab, kTab, kShiftTab}, kPanel, true},
      {{kShiftTab}, button, false},                 // nothing inside the innermost
      {{kTab, kSmallMove}, kPanel, true},           // still over the same targets
      {{kTab, kOtherWindow}, RectI{300, 300, 900, 700}, true},  // a new innermost
  };
  for (const Case& c : cases) {
    Hover hover;
    hover.Follow(targets, {150, 170});
    bool changed = true;
    for (const Step step : c.steps) {
      switch (step) {
        case kTab: changed = hover.StepOutwards(); break;
        case kShiftTab: changed = hover.StepInwards(); break;
        case kSmallMove: hover.Follow(targets, {152, 171}); break;
        case kOtherWindow: hover.Follow(targets, {800, 650}); break;
      }
    }
    EXPECT_EQ(hover.Highlighted(), c.highlighted) << c.steps.size();
    EXPECT_EQ(changed, c.last_step_changed) << c.steps.size();
  }
  Hover hover;
  hover.Follow(targets, {-500, 100});  // the gap: nothing to highlight, nothing to step to
  EXPECT_EQ(hover.Highlighted(), std::nullopt);
  EXPECT_FALSE(hover.StepOutwards());
  hover.Follow(targets, {150, 170});
  hover.Hide();
  EXPECT_EQ(hover.Highlighted(), std::nullopt);
}

TEST(ClickOrDragTest, AClickStaysInsideTheDragRectangleUpToItsEdges) {
  struct Case {
    int width, height;
    std::vector<PointI> moves;  // from a press at (100, 100)
    bool click;
  };
  const Case cases[] = {
      {4, 4, {}, true},
      {4, 4, {{102, 98}, {98, 102}}, true},  // on the edges
      {4, 4, {{103, 100}}, false},
      {4, 4, {{100, 97}}, false},
      {4, 4, {{110, 100}, {100, 100}}, false},  // out and back is a drag
      {8, 4, {{104, 102}}, true},               // wider than high
      {8, 4, {{104, 103}}, false},
      {1, 1, {{101, 100}}, false},              // the smallest rectangle is the press itself
  };
  for (const Case& c : cases) {
    ClickOrDrag press(c.width, c.height);
    EXPECT_FALSE(press.Click());
    press.Press({100, 100});
    for (const PointI& p : c.moves) press.Move(p);
    EXPECT_EQ(press.Click(), c.click) << c.width << "x" << c.height << ", " << c.moves.size();
    press.Reset();
    EXPECT_FALSE(press.Click());
  }
}

TEST(HighlightDamageTest, AChangeRepaintsOnlyTheOldAndNewOutlinesAndReadOuts) {
  const Highlight a{{100, 100, 600, 500}, true, {102, 102, 287, 119}, L"500x400", 96};
  const Highlight b{{130, 160, 230, 200}, true, {132, 162, 317, 179}, L"100x40", 96};
  const Highlight hidden{};
  auto covered = [](const std::vector<RectI>& areas, int x, int y) {
    return std::any_of(areas.begin(), areas.end(), [&](const RectI& r) {
      return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
  };
  EXPECT_TRUE(HighlightDamage(a, a, 1).empty());
  EXPECT_TRUE(HighlightDamage(hidden, hidden, 1).empty());
  const auto areas = HighlightDamage(a, b, 1);
  for (const Highlight& h : {a, b}) {
    const RectI& r = h.rect;
    for (int x = r.left; x < r.right; ++x)
      EXPECT_TRUE(covered(areas, x, r.top) && covered(areas, x, r.bottom - 1)) << x;
    for (int y = r.top; y < r.bottom; ++y)
      EXPECT_TRUE(covered(areas, r.left, y) && covered(areas, r.right - 1, y)) << y;
    EXPECT_TRUE(covered(areas, h.label.left, h.label.top));
    EXPECT_TRUE(covered(areas, h.label.right - 1, h.label.bottom - 1));
  }
  EXPECT_FALSE(covered(areas, 350, 300));  // inside the old outline, outside the new one
  long long repainted = 0;
  for (const RectI& r : areas) repainted += static_cast<long long>(r.Width()) * r.Height();
  EXPECT_LT(repainted, 500LL * 400 / 10);  // strips and read-outs, not the area
  EXPECT_EQ(HighlightDamage(hidden, a, 1).size(), 5u);
}

}  // namespace
}  // namespace pelvanto::overlay
