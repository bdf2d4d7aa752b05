#include "overlay/snapping.h"

#include "fakes/fakes.h"
#include "overlay/damage.h"

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
    {{100, 100, 600, 500}, -1}, {{120, 150, 400, 450}, 0},   {{130, 160, 230, 200}, 1},
    {{130, 160, 390, 300}, 1},  {{550, 450, 700, 600}, 0},   {{300, 300, 900, 700}, -1},
    {{300, 300, 900, 700}, 5},  {{-200, 600, 200, 700}, -1}, {{-5000, -5000, 5000, 5000}, -1},
    {{20, 20, 20, 90}, -1},     {{20, 20, 60, 60}, 9},       {{-900, 50, -800, 150}, -1},
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
      {"the lower sibling beside it",
       {300, 170},
       {{130, 160, 390, 300}, kPanel, kEditor, kPrimary}},
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
      {"a parent after its child",
       {{{0, 0, 500, 500}, 1}, {{50, 50, 400, 400}, -1}},
       {{50, 50, 400, 400}, screen}},
      {"a parent index past the end", {{{50, 50, 400, 400}, 7}}, {screen}},
      {"a child after its parent's subtree closed",
       {{{0, 0, 300, 300}, -1}, {{400, 400, 500, 500}, -1}, {{50, 50, 200, 200}, 0}},
       {{0, 0, 300, 300}, screen}},
      {"thousands of windows",
       std::vector<WindowRecord>(5000, WindowRecord{{90, 90, 110, 110}, -1}),
       {{90, 90, 110, 110}, screen}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SnapTargets(desktop, c.windows).At({100, 100}), c.under_100_100) << c.what;
  EXPECT_TRUE(SnapTargets().At({0, 0}).empty());
}

TEST(RecordedWindowsTest, ControlsJoinTheirWindowInZOrderWhateverTheBatches) {
  const RectI a{100, 100, 500, 400}, b{300, 300, 700, 600};
  const RectI panel{110, 110, 300, 300}, button{120, 120, 160, 140}, field{400, 320, 600, 360};
  struct Case {
    const char* what;
    std::vector<ControlBatch> batches;
    std::vector<WindowRecord> in_z_order;
  };
  const Case cases[] = {
      {"none yet", {}, {{a, -1}, {b, -1}}},
      {"one window's",
       {{0, {{panel, 0}, {button, 1}}}},
       {{a, -1}, {panel, 0}, {button, 1}, {b, -1}}},
      {"split over two batches, the second naming a parent of the first",
       {{0, {{panel, 0}}}, {1, {{field, 0}}}, {0, {{button, 1}}}},
       {{a, -1}, {panel, 0}, {button, 1}, {b, -1}, {field, 3}}},
      {"a window that was not recorded", {{2, {{panel, 0}}}}, {{a, -1}, {b, -1}}},
      {"a parent not before the control: left out",
       {{1, {{field, 1}, {button, 7}, {panel, -1}}}},
       {{a, -1}, {b, -1}, {field, 2}, {button, 3}, {panel, 4}}},
  };
  for (const Case& c : cases) {
    RecordedWindows recorded({{a, -1}, {b, -1}});
    for (const ControlBatch& batch : c.batches) recorded.Add(batch);
    EXPECT_EQ(recorded.InZOrder(), c.in_z_order) << c.what;
  }
  // What is left out as a parent not before it never reaches the targets.
  RecordedWindows recorded({{a, -1}});
  recorded.Add({0, {{panel, 1}}});
  const SnapTargets targets(SingleMonitorDesktop(800, 600, 96), recorded.InZOrder());
  EXPECT_EQ(targets.WindowCount(), 1u);
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
      {"four quarters",
       {{100, 100, 150, 150}, {150, 100, 200, 150}, {100, 150, 150, 200}, {150, 150, 200, 200}},
       true},
      {"overlapping halves", {{0, 0, 160, 300}, {140, 0, 300, 300}}, true},
      {"a one-pixel slit between two", {{0, 0, 150, 300}, {151, 0, 300, 300}}, false},
      {"one pixel short at the bottom", {{0, 0, 300, 199}}, false},
      {"a hole in a frame of four",
       {{100, 100, 200, 120}, {100, 180, 200, 200}, {100, 100, 120, 200}, {180, 100, 200, 200}},
       false},
      {"beside it", {{200, 100, 300, 200}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Covered(r, c.above), c.covered) << c.what;
  // Hundreds of dots cut it into too many pieces before the window over all of it comes: the
  // answer errs towards recording.
  std::vector<RectI> dots;
  for (int i = 0; i < 400; ++i)
    dots.push_back({102 + i % 20 * 5, 102 + i / 20 * 5, 103 + i % 20 * 5, 103 + i / 20 * 5});
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
      {{kShiftTab}, button, false},                             // nothing inside the innermost
      {{kTab, kSmallMove}, kPanel, true},                       // still over the same targets
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
      {1, 1, {{101, 100}}, false},  // the smallest rectangle is the press itself
  };
  for (const Case& c : cases) {
    ClickOrDrag press({c.width, c.height});
    EXPECT_FALSE(press.Click());
    press.Press({100, 100});
    for (const PointI& p : c.moves) press.Move(p);
    EXPECT_EQ(press.Click(), c.click) << c.width << "x" << c.height << ", " << c.moves.size();
    press.Reset();
    EXPECT_FALSE(press.Click());
  }
}

TEST(HighlightDamageTest, AChangeRepaintsOnlyTheOldAndNewOutlinesAndReadOuts) {
  auto highlighted = [](RectI rect, RectI label, const wchar_t* caption) {
    Elements e;
    e.highlight = {rect, true};
    e.highlight_label = {label, true, caption, 96};
    return e;
  };
  const Elements a = highlighted({100, 100, 600, 500}, {102, 102, 287, 119}, L"500x400");
  const Elements b = highlighted({130, 160, 230, 200}, {132, 162, 317, 179}, L"100x40");
  const Elements hidden{};
  auto covered = [](const std::vector<RectI>& areas, int x, int y) {
    return std::any_of(areas.begin(), areas.end(), [&](const RectI& r) {
      return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
  };
  EXPECT_TRUE(ChangedAreas(a, a, 1).empty());
  const auto areas = ChangedAreas(a, b, 1);
  for (const Elements& e : {a, b}) {
    const RectI& r = e.highlight.rect;
    for (int x = r.left; x < r.right; ++x)
      EXPECT_TRUE(covered(areas, x, r.top) && covered(areas, x, r.bottom - 1)) << x;
    for (int y = r.top; y < r.bottom; ++y)
      EXPECT_TRUE(covered(areas, r.left, y) && covered(areas, r.right - 1, y)) << y;
    const RectI& label = e.highlight_label.rect;
    EXPECT_TRUE(covered(areas, label.left, label.top));
    EXPECT_TRUE(covered(areas, label.right - 1, label.bottom - 1));
  }
  EXPECT_FALSE(covered(areas, 350, 300));  // inside the old outline, outside the new one
  long long repainted = 0;
  for (const RectI& r : areas) repainted += static_cast<long long>(r.Width()) * r.Height();
  EXPECT_LT(repainted, 500LL * 400 / 10);  // strips and read-outs, not the area
  EXPECT_EQ(ChangedAreas(hidden, a, 1).size(), 5u);
  EXPECT_EQ(PaintedAreas(a).size(), 5u);
}

// The overlay with snapping, step by step: what is highlighted and what is selected after each
// script, on a 1024 x 768 screen with one window (a control in it) and a drag rectangle of 4.
TEST(OverlaySnappingTest, HoverTabAndClickSelectExactlyWhileDragsStillDraw) {
  const RectI window{100, 100, 500, 400}, control{150, 150, 250, 200}, screen{0, 0, 1024, 768};
  enum Do { kMove, kHeldMove, kPress, kRelease, kRightClick, kTab, kShiftTab, kShown };
  const std::vector<ControlBatch> controls_come = {{0, {{control, 0}}}};
  struct Step {
    Do what;
    int x = 0, y = 0;
  };
  auto at = [](Do what) { return [what](int x, int y) { return Step{what, x, y}; }; };
  const auto move = at(kMove), held_move = at(kHeldMove), press = at(kPress),
             release = at(kRelease), right_click = at(kRightClick);
  const Step tab{kTab}, shown{kShown};
  using Script = std::vector<Step>;
  constexpr std::nullopt_t kNone = std::nullopt;
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::optional<RectI> highlighted;
    std::optional<RectI> selected;  // a finished selection
  };
  const Case cases[] = {
      {"nothing before the pointer moves", Script{}, kNone, kNone},
      {"the window under the pointer", Script{move(200, 170)}, window, kNone},
      {"its control, once recorded", Script{shown, move(200, 170)}, control, kNone},
      {"a control joins under a still pointer", Script{move(200, 170), shown}, control, kNone},
      {"Tab's step stays when a control joins", Script{move(200, 170), tab, shown}, screen, kNone},
      {"a click selects what was there at the press",
       Script{move(200, 170), press(200, 170), shown, release(200, 170)}, kNone, window},
      {"Tab out to the monitor", Script{shown, move(200, 170), tab, tab}, screen, kNone},
      {"a click selects the control",
       Script{shown, move(200, 170), press(200, 170), held_move(202, 168), release(202, 168)},
       kNone, control},
      {"a click after Tab selects the window",
       Script{shown, move(200, 170), tab, press(200, 170), release(200, 170)}, kNone, window},
      {"a drag draws from the press",
       Script{shown, move(200, 170), press(200, 170), held_move(203, 170), held_move(300, 260),
              release(300, 260)},
       kNone, RectI{200, 170, 300, 260}},
      {"the highlight goes at the press", Script{move(200, 170), press(200, 170)}, kNone, kNone},
      {"none over a selection",
       Script{move(200, 170), press(200, 170), release(200, 170), move(600, 600)}, kNone, window},
      {"back once it is cleared",
       Script{move(200, 170), press(200, 170), release(200, 170), right_click(600, 600),
              move(610, 600)},
       screen, kNone},
  };
  const DesktopMetrics metrics(SingleMonitorDesktop(1024, 768, 96));
  for (const Case& c : cases) {
    fakes::OverlayRig rig;
    rig.window.top_level = {{window, -1}};
    ASSERT_TRUE(rig.overlay.Open());
    for (const Step& step : c.steps) {
      switch (step.what) {
        case kMove: rig.overlay.OnMouseMove({}, step.x, step.y); break;
        case kHeldMove: rig.overlay.OnMouseMove(MouseButton::kLeft, step.x, step.y); break;
        case kPress: rig.overlay.OnMouseDown(MouseButton::kLeft, step.x, step.y); break;
        case kRelease: rig.overlay.OnMouseUp(MouseButton::kLeft, step.x, step.y); break;
        case kRightClick: rig.Click(step.x, step.y, MouseButton::kRight); break;
        case kTab: EXPECT_TRUE(rig.overlay.OnKey({Key::kTab})) << c.what; break;
        case kShiftTab: rig.overlay.OnKey({Key::kTab, true}); break;
        case kShown: rig.overlay.OnControlsRecorded(controls_come); break;
      }
    }
    const Elements e = rig.overlay.Scene();
    EXPECT_EQ(e.highlight.visible ? std::optional<RectI>(e.highlight.rect) : std::nullopt,
              c.highlighted)
        << c.what;
    if (e.highlight.visible) {
      // Its read-out is the one a selection of it shows.
      EXPECT_EQ(e.highlight_label, SizeReadout(metrics, e.highlight.rect)) << c.what;
    }
    const Selection& selection = rig.overlay.CurrentSelection();
    EXPECT_EQ(selection.Finished() ? std::optional<RectI>(selection.Rect()) : std::nullopt,
              c.selected)
        << c.what;
    if (c.selected) {
      EXPECT_TRUE(e.toolbar.visible && e.handles[0].visible && e.size_label.visible) << c.what;
      EXPECT_FALSE(rig.overlay.OnKey({Key::kTab})) << c.what;  // no stepping over a selection
    }
  }
  // A window that offers no snapping: nothing is highlighted, not even the monitor.
  fakes::OverlayRig rig;
  rig.window.snapping = false;
  ASSERT_TRUE(rig.overlay.Open());
  rig.overlay.OnControlsRecorded(controls_come);
  rig.overlay.OnMouseMove({}, 200, 170);
  EXPECT_FALSE(rig.overlay.Scene().highlight.visible);
  EXPECT_FALSE(rig.overlay.OnKey({Key::kTab}));
}

}  // namespace
}  // namespace pelvanto::overlay
