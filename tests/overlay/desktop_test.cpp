#include "overlay/desktop.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "overlay/keys.h"
#include "overlay/loupe.h"

namespace pelvanto::overlay {
namespace {

// Two desks: a taller monitor right of the primary (a gap below the primary), and a smaller
// one left of it at negative x (a gap below that one). Work areas lose a 40 px taskbar.
Monitor Screen(RectI r, unsigned dpi = 96) {
  return {r, {r.left, r.top, r.right, r.bottom - 40}, dpi};
}
const Desktop kTallRight =
    MakeDesktop({Screen({0, 0, 1920, 1080}), Screen({1920, 0, 3200, 1440}, 144)});
const Desktop kLeft = MakeDesktop({Screen({0, 0, 1920, 1080}), Screen({-1280, 0, 0, 1024}, 120)});

TEST(DesktopTest, BoundsHoldEveryMonitorAndEmptyListsStillGiveOne) {
  EXPECT_EQ(kTallRight.bounds, (RectI{0, 0, 3200, 1440}));
  EXPECT_EQ(kLeft.bounds, (RectI{-1280, 0, 1920, 1080}));
  const Desktop none = MakeDesktop({});
  ASSERT_EQ(none.monitors.size(), 1u);
  EXPECT_FALSE(none.bounds.Empty());
  // A work area reaching off its monitor is cut to it.
  const Desktop odd = MakeDesktop({{{0, 0, 100, 100}, {-50, 0, 100, 200}, 0}});
  EXPECT_EQ(odd.monitors[0].work_area, (RectI{0, 0, 100, 100}));
  EXPECT_EQ(odd.monitors[0].dpi, 96u);
}

struct AtCase {
  const char* name;
  const Desktop* desktop;
  int x, y;
  std::size_t monitor;  // index in the desktop's list
};

class MonitorAtTest : public testing::TestWithParam<AtCase> {};

TEST_P(MonitorAtTest, PicksTheMonitorShowingThePointOrTheNearest) {
  const AtCase& c = GetParam();
  EXPECT_EQ(&MonitorAt(*c.desktop, c.x, c.y), &c.desktop->monitors[c.monitor]);
}

INSTANTIATE_TEST_SUITE_P(Points, MonitorAtTest,
                         testing::Values(AtCase{"PrimaryLastPixel", &kTallRight, 1919, 1079, 0},
                                         AtCase{"SecondFirstPixel", &kTallRight, 1920, 0, 1},
                                         AtCase{"GapNearPrimary", &kTallRight, 100, 1100, 0},
                                         AtCase{"GapNearSecond", &kTallRight, 1900, 1400, 1},
                                         AtCase{"NegativeMonitor", &kLeft, -5, 500, 1},
                                         AtCase{"GapBelowNegative", &kLeft, -600, 1070, 1},
                                         AtCase{"OffTheDesktop", &kLeft, -9000, -10, 1}),
                         [](const auto& param) { return std::string(param.param.name); });

struct ToolbarCase {
  const char* name;
  const Desktop* desktop;
  int x0, y0, x1, y1;  // the drag that marks the selection
  RectI bar;           // where the toolbar lands
};

class ToolbarPlaceTest : public testing::TestWithParam<ToolbarCase> {};

TEST_P(ToolbarPlaceTest, StaysOnTheWorkAreaOfTheMonitorAtTheSelectionsCorner) {
  const ToolbarCase& c = GetParam();
  fakes::OpenOverlayRig rig(*c.desktop);
  rig.Drag(c.x0, c.y0, c.x1, c.y1);
  EXPECT_EQ(rig.overlay.Scene().toolbar.rect, c.bar);
}

// At 144 dpi the strip is 113 x 39 (112.5 rounded up) and sits 6 px from the selection; at
// 120 dpi 94 x 33 (93.75 and 32.5 rounded) and 5 px.
INSTANTIATE_TEST_SUITE_P(
    Selections, ToolbarPlaceTest,
    testing::Values(ToolbarCase{"BelowOnTheTallerMonitor", &kTallRight, 2000, 900, 2300, 1200,
                                SizedRect(2187, 1206, 113, 39)},
                    ToolbarCase{"InsideAboveItsTaskbar", &kTallRight, 2000, 900, 2300, 1380,
                                SizedRect(2187, 1335, 113, 39)},
                    ToolbarCase{"CornerInTheGapGoesToTheNearestMonitor", &kTallRight, 1200, 900,
                                1500, 1300, SizedRect(1425, 1014, 75, 26)},
                    ToolbarCase{"AcrossTheSeamOnTheMonitorOfTheCorner", &kTallRight, 1800, 100,
                                1950, 200, SizedRect(1920, 206, 113, 39)},
                    ToolbarCase{"NeverPastTheLeftMonitorsLeftEdge", &kLeft, -1275, 100, -1250, 200,
                                SizedRect(-1280, 205, 94, 33)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(DesktopDpiTest, HandlesAndReadOutsTakeTheDpiOfTheirMonitor) {
  fakes::OpenOverlayRig rig(kTallRight);
  rig.Drag(1800, 100, 2000, 300);  // from the primary onto the 144 dpi monitor
  const Elements e = rig.overlay.Scene();
  EXPECT_EQ(e.handles[0].rect, SizedRect(1798, 98, 4, 4));   // top-left, primary
  EXPECT_EQ(e.handles[6].rect, SizedRect(1997, 297, 6, 6));  // bottom-right, second
  EXPECT_EQ(e.size_label.dpi, 96u);
  // Read-outs near the primary's right edge stay on it.
  fakes::OpenOverlayRig near_seam(kTallRight);
  near_seam.Drag(1900, 100, 2100, 300);
  EXPECT_EQ(near_seam.overlay.Scene().size_label.rect.right, 1920);
}

TEST(DesktopTest, MovingClampsToTheVirtualDesktopNotThePrimary) {
  fakes::OpenOverlayRig rig(kLeft);
  rig.Drag(-100, 100, 100, 200);
  rig.Drag(0, 150, -5000, 2000);  // dragged far past the left and bottom
  EXPECT_EQ(rig.overlay.Scene().outline.rect, SizedRect(-1280, 980, 200, 100));
}

TEST(DesktopTest, ArrowsClampToTheVirtualDesktopToo) {
  fakes::OpenOverlayRig rig(kLeft);
  rig.Drag(-1270, 100, -1200, 200);
  EXPECT_TRUE(rig.overlay.OnKey({Key::kLeft, true, false, false}));
  EXPECT_EQ(rig.overlay.CurrentSelection().Rect().left, -1280);
}

TEST(DesktopDpiTest, TheLoupeStaysOnTheMonitorUnderThePointerAtItsDpi) {
  fakes::OpenOverlayRig rig(kTallRight);
  rig.overlay.OnMouseMove({}, 1915, 500);  // no room right of the pointer on the primary
  EXPECT_LE(rig.overlay.Loupe().rect.right, 1920);
  EXPECT_EQ(rig.overlay.Loupe().cell, LoupeMetrics(96).cell);
  rig.overlay.OnMouseMove({}, 1925, 500);
  EXPECT_GE(rig.overlay.Loupe().rect.left, 1920);
  EXPECT_EQ(rig.overlay.Loupe().cell, LoupeMetrics(144).cell);
}

TEST(DesktopTest, CutsCopyTheSelectionAtNegativeCoordinates) {
  fakes::OpenOverlayRig rig(kLeft);
  EXPECT_EQ(rig.window.frozen, kLeft.bounds);
  rig.Drag(-300, 100, 200, 400);
  rig.overlay.OnCutTimer();
  ASSERT_TRUE(rig.clipboard.content);
  EXPECT_EQ(rig.clipboard.content->left, -300);
  EXPECT_EQ(rig.clipboard.content->width, 500 + rig.overlay.LastMargin());
}

struct UnshownCase {
  const char* name;
  const Desktop* desktop;
  RectI area;
  long long black;  // pixels no monitor shows
};

class UnshownTest : public testing::TestWithParam<UnshownCase> {};

TEST_P(UnshownTest, BlackPartsAreExactlyWhereNoMonitorIs) {
  const UnshownCase& c = GetParam();
  const auto parts = UnshownParts(*c.desktop, c.area);
  long long black = 0;
  for (const RectI& part : parts) {
    EXPECT_EQ(Intersection(part, c.area), part);  // inside the area
    for (const Monitor& m : c.desktop->monitors) EXPECT_TRUE(Intersection(part, m.bounds).Empty());
    black += static_cast<long long>(part.Width()) * part.Height();
  }
  // Disjoint parts inside the area, off every monitor, adding up to the uncovered area.
  EXPECT_EQ(black, c.black);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, UnshownTest,
    testing::Values(UnshownCase{"OnOneMonitor", &kTallRight, {10, 10, 500, 500}, 0},
                    UnshownCase{"AcrossTheSeam", &kTallRight, {1800, 0, 2000, 1000}, 0},
                    UnshownCase{"IntoTheGap", &kTallRight, {1800, 1000, 2000, 1200}, 120 * 120},
                    UnshownCase{"WholeDesktop", &kTallRight, kTallRight.bounds, 1920 * 360},
                    UnshownCase{
                        "PastTheEdge", &kLeft, {-1290, 1000, -1270, 1040}, 20 * 40 - 10 * 24},
                    UnshownCase{"Empty", &kLeft, {5, 5, 5, 9}, 0}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace pelvanto::overlay
