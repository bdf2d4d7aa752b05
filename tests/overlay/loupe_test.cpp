#include "overlay/loupe.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

TEST(LoupeTest, SitsBelowRightAndFlipsAtEachEdgeOfTheMonitor) {
  const RectI monitor{0, 0, 1024, 768};
  const RectI left_monitor{-1280, -200, 0, 824};  // left of and above the primary's origin
  const int w = 100, h = 150, gap = 20;
  const struct {
    PointI at;
    RectI monitor;
    RectI expected;
  } cases[] = {
      {{500, 300}, monitor, {520, 320, 620, 470}},       // below right
      {{0, 0}, monitor, {20, 20, 120, 170}},             // top-left corner: no flip needed
      {{950, 300}, monitor, {830, 320, 930, 470}},       // right edge: to the left
      {{500, 700}, monitor, {520, 530, 620, 680}},       // bottom edge: above
      {{1023, 767}, monitor, {903, 597, 1003, 747}},     // bottom-right corner: both
      {{903, 597}, monitor, {923, 617, 1023, 767}},      // exactly fits: no flip
      {{-5, 800}, left_monitor, {-125, 630, -25, 780}},  // negative coordinates
      {{30, 30}, {0, 0, 90, 140}, {0, 0, 100, 150}},     // smaller than the loupe: its corner
  };
  for (const auto& c : cases) {
    const RectI r = PlaceLoupe(c.at, w, h, gap, c.monitor);
    EXPECT_EQ(r, c.expected) << c.at.x << "," << c.at.y;
    EXPECT_EQ(r.Width(), w);
    if (c.monitor.Width() >= w && c.monitor.Height() >= h) {
      EXPECT_TRUE(Encloses(c.monitor, r));
    }
  }
}

TEST(LoupeTest, ScalesWithTheDpiInWholePixelsPerCell) {
  const struct {
    unsigned dpi;
    int cell, width, gap;
  } cases[] = {
      {96, 8, 123, 20}, {120, 10, 153, 25}, {144, 12, 183, 30}, {192, 16, 243, 40}, {0, 8, 123, 20},
  };
  for (const auto& c : cases) {
    const LoupeMetrics m(c.dpi);
    EXPECT_EQ(m.span, 15);
    EXPECT_EQ(m.cell, c.cell) << c.dpi;
    EXPECT_EQ(m.Width(), c.width) << c.dpi;
    EXPECT_EQ(m.gap, c.gap) << c.dpi;
  }
}

TEST(LoupeTest, ShowsTheFifteenPixelsAroundThePointerClippedToThePicture) {
  const RectI screen{0, 0, 1024, 768};
  const LoupeMetrics m(96);
  const struct {
    PointI at;
    RectI source;
    PointI target_offset;
  } cases[] = {
      {{500, 300}, {493, 293, 508, 308}, {0, 0}},
      {{0, 0}, {0, 0, 8, 8}, {7 * 8, 7 * 8}},  // only the lower-right quarter exists
      {{1023, 767}, {1016, 760, 1024, 768}, {0, 0}},
  };
  for (const auto& c : cases) {
    const LoupeView v = MakeLoupe(c.at, m, screen, screen, 0x00FF8000);
    EXPECT_EQ(v.source, c.source) << c.at.x;
    EXPECT_EQ(v.target.left - v.grid.left, c.target_offset.x);
    EXPECT_EQ(v.target.top - v.grid.top, c.target_offset.y);
    EXPECT_EQ(v.target.Width(), v.source.Width() * m.cell);
    EXPECT_EQ(v.grid.Width(), 15 * 8 + 1);
    EXPECT_TRUE(Encloses(v.rect, v.grid) && Encloses(v.rect, v.text));
    EXPECT_EQ(v.colour, L"RGB(0,128,255)");
  }
  EXPECT_EQ(MakeLoupe({12, 345}, m, screen, screen, 0).position, L"12, 345");
}

TEST(LoupeTest, RepaintsOnlyItsOldAndNewRectangles) {
  const RectI screen{0, 0, 3840, 2160};
  const LoupeMetrics m(96);
  const LoupeView a = MakeLoupe({100, 100}, m, screen, screen, 0);
  const LoupeView b = MakeLoupe({104, 101}, m, screen, screen, 0);
  LoupeView hidden = a;
  hidden.visible = false;
  EXPECT_TRUE(LoupeDamage(a, a).empty());
  EXPECT_EQ(LoupeDamage(a, b), (std::vector<RectI>{a.rect, b.rect}));
  EXPECT_EQ(LoupeDamage(a, hidden), (std::vector<RectI>{a.rect}));
  EXPECT_EQ(LoupeDamage(LoupeView{}, a), (std::vector<RectI>{a.rect}));
  // Another colour under a pointer that stayed: the same rectangle, once.
  LoupeView recoloured = a;
  recoloured.colour = L"RGB(1,2,3)";
  EXPECT_EQ(LoupeDamage(a, recoloured), (std::vector<RectI>{a.rect}));
}

TEST(LoupeTest, FollowsThePointerOverTheOverlayButNotOverTheToolbar) {
  fakes::OverlayRig rig;
  rig.window.frozen_pixel = [](int x, int y) { return static_cast<std::uint32_t>(x + 256 * y); };
  rig.overlay.Open();
  EXPECT_FALSE(rig.overlay.Loupe().visible);
  rig.overlay.OnMouseMove({}, 40, 2);  // before the first press
  EXPECT_TRUE(rig.overlay.Loupe().visible);
  EXPECT_EQ(rig.overlay.Loupe().pixel, (PointI{40, 2}));
  EXPECT_EQ(rig.overlay.Loupe().colour, L"RGB(40,2,0)");

  rig.overlay.OnMouseDown(MouseButton::kLeft, 100, 100);
  rig.overlay.OnMouseMove(MouseButton::kLeft, 300, 200);  // while drawing
  EXPECT_EQ(rig.overlay.Loupe().pixel, (PointI{300, 200}));
  rig.overlay.OnMouseUp(MouseButton::kLeft, 300, 200);
  EXPECT_TRUE(rig.overlay.Loupe().visible);
  const RectI bar = rig.overlay.Scene().toolbar.rect;
  rig.overlay.OnMouseMove({}, bar.left + 2, bar.top + 2);
  EXPECT_FALSE(rig.overlay.Loupe().visible);
  rig.overlay.OnMouseMove({}, 150, 150);
  EXPECT_TRUE(rig.overlay.Loupe().visible);
  rig.overlay.OnPointerLeft();
  EXPECT_FALSE(rig.overlay.Loupe().visible);
}

}  // namespace
}  // namespace pelvanto::overlay
