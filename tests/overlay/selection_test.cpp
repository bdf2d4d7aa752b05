#include <gtest/gtest.h>

#include <string>

#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;
constexpr MouseButton kLeft = MouseButton::kLeft;
constexpr MouseButton kMiddle = MouseButton::kMiddle;
constexpr MouseButton kRight = MouseButton::kRight;

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override { rig.overlay.Open(); }
  Elements el() const { return rig.overlay.Scene(); }
  const Selection& st() const { return rig.overlay.CurrentSelection(); }
  void Press(MouseButton button, int x, int y) { rig.overlay.OnMouseDown(button, x, y); }
  void Move(MouseButtons held, int x, int y) { rig.overlay.OnMouseMove(held, x, y); }
  void Release(MouseButton button, int x, int y) { rig.overlay.OnMouseUp(button, x, y); }
  void Click(MouseButton button, int x, int y) {
    Press(button, x, y);
    Release(button, x, y);
  }
  // A finished selection at (100, 100), 200 x 100.
  void Select() { rig.Drag(100, 100, 300, 200); }
  OverlayRig rig;
};

struct QuadrantCase {
  int x, y;
  RectI expected;
};

TEST_F(SelectionTest, DrawingNormalisesEachQuadrantAroundTheAnchor) {
  const QuadrantCase cases[] = {
      {160, 130, SizedRect(100, 100, 60, 30)},
      {40, 160, SizedRect(40, 100, 60, 60)},
      {130, 40, SizedRect(100, 40, 30, 60)},
      {70, 80, SizedRect(70, 80, 30, 20)},
  };
  for (const auto& c : cases) {
    fakes::OpenOverlayRig fresh;
    fresh.overlay.OnMouseDown(kLeft, 100, 100);
    fresh.overlay.OnMouseMove(kLeft, c.x, c.y);
    EXPECT_EQ(fresh.overlay.Scene().outline.rect, c.expected) << c.x << "," << c.y;
  }
}

TEST_F(SelectionTest, DrawingShowsOutlineLabelsAndHandles) {
  Press(kLeft, 100, 100);
  Move(kLeft, 40, 160);
  EXPECT_EQ(el().outline.rect, SizedRect(40, 100, 60, 60));
  EXPECT_EQ(el().size_label.caption, L"60x60");
  EXPECT_EQ(el().size_label.rect.left, 42);
  EXPECT_EQ(el().size_label.rect.top, 102);
  EXPECT_EQ(el().colour_label.rect.top, 102 + el().size_label.rect.Height() + 2);
  EXPECT_TRUE(el().outline.visible && el().size_label.visible && el().colour_label.visible);
  for (const auto& handle : el().handles) EXPECT_TRUE(handle.visible);
  EXPECT_FALSE(el().toolbar.visible);
}

TEST_F(SelectionTest, MoveOnAnchorRowOrColumnKeepsPreviousOutline) {
  Press(kLeft, 100, 100);
  Move(kLeft, 150, 180);
  Move(kLeft, 150, 100);
  Move(kLeft, 100, 50);
  EXPECT_EQ(el().outline.rect, SizedRect(100, 100, 50, 80));
  EXPECT_EQ(el().size_label.caption, L"50x80");
}

TEST_F(SelectionTest, DragAlongAnchorRowLeavesZeroSizeSelection) {
  rig.Drag(100, 100, 300, 100);
  EXPECT_EQ(el().outline.rect, SizedRect(100, 100, 0, 0));
  EXPECT_EQ(el().size_label.caption, L"0x0");
  EXPECT_TRUE(st().Finished());
  EXPECT_TRUE(el().toolbar.visible);
}

TEST_F(SelectionTest, EveryMoveReadsTheFrozenColourEvenWithTwoButtons) {
  rig.window.frozen_pixel = [](int x, int y) {
    return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 8 | 0x7F0000u;
  };
  Move({}, 12, 34);
  EXPECT_EQ(el().colour_label.caption, L"RGB(12,34,127)");
  Press(kLeft, 100, 100);
  Move({kLeft, kRight}, 200, 150);
  EXPECT_EQ(el().colour_label.caption, L"RGB(200,150,127)");
  EXPECT_EQ(el().outline.rect, SizedRect(100, 100, 0, 0));  // Button 3 does not draw
}

TEST_F(SelectionTest, TwoButtonsHeldDoNotMoveTheSelection) {
  Select();
  Press(kLeft, 150, 150);
  Move({kLeft, kRight}, 160, 160);
  EXPECT_EQ(el().outline.rect, SizedRect(100, 100, 200, 100));
  EXPECT_EQ(rig.pointer.current, Pointer::kMove);
}

TEST_F(SelectionTest, PointerIsMoveArrowOnlyStrictlyInside) {
  Select();
  const struct {
    int x, y;
    Pointer expected;
  } cases[] = {
      {150, 150, Pointer::kMove},      {100, 120, Pointer::kCrosshair},
      {300, 120, Pointer::kCrosshair}, {150, 100, Pointer::kCrosshair},
      {150, 200, Pointer::kCrosshair}, {500, 500, Pointer::kCrosshair},
  };
  for (const auto& c : cases) {
    Move({}, c.x, c.y);
    EXPECT_EQ(rig.pointer.current, c.expected) << c.x << "," << c.y;
  }
}

TEST_F(SelectionTest, PressOnLeftOrTopEdgeMovesButRightOrBottomEdgeResets) {
  const struct {
    int x, y;
    bool inside;
  } cases[] = {
      {100, 120, true},
      {150, 100, true},
      {300, 120, false},
      {150, 200, false},
  };
  for (const auto& c : cases) {
    fakes::OpenOverlayRig fresh;
    fresh.Drag(100, 100, 300, 200);
    fresh.overlay.OnMouseDown(kLeft, c.x, c.y);
    fresh.overlay.OnMouseMove(kLeft, c.x + 10, c.y + 20);
    const auto& o = fresh.overlay;
    if (c.inside) {
      EXPECT_EQ(o.Scene().outline.rect, SizedRect(110, 120, 200, 100)) << c.x << "," << c.y;
    } else {
      // The reset made the press point the anchor of a new drawing.
      EXPECT_EQ(o.Scene().outline.rect, SizedRect(c.x, c.y, 10, 20)) << c.x << "," << c.y;
      EXPECT_TRUE(o.CurrentSelection().ClearedByPress());
    }
  }
}

TEST_F(SelectionTest, MovingClampsToEveryScreenEdgeWithoutAccumulating) {
  const struct {
    int x, y;
    RectI expected;
  } cases[] = {
      {0, 150, SizedRect(0, 100, 200, 100)},
      {150, 0, SizedRect(100, 0, 200, 100)},
      {1000, 150, SizedRect(824, 100, 200, 100)},
      {150, 750, SizedRect(100, 668, 200, 100)},
  };
  for (const auto& c : cases) {
    fakes::OpenOverlayRig fresh;
    fresh.Drag(100, 100, 300, 200);
    fresh.overlay.OnMouseDown(kLeft, 150, 150);
    fresh.overlay.OnMouseMove(kLeft, c.x, c.y);
    EXPECT_EQ(fresh.overlay.Scene().outline.rect, c.expected) << c.x << "," << c.y;
    // Back at the press point: the offset is measured from the press, not from the clamp.
    fresh.overlay.OnMouseMove(kLeft, 160, 170);
    EXPECT_EQ(fresh.overlay.Scene().outline.rect, SizedRect(110, 120, 200, 100));
  }
}

TEST_F(SelectionTest, SelectionLargerThanScreenKeepsFarEdgesOnScreen) {
  rig.Drag(-100, -100, 1200, 900);
  Press(kLeft, 500, 400);
  Move(kLeft, 510, 410);
  EXPECT_EQ(el().outline.rect, SizedRect(1024 - 1300, 768 - 1000, 1300, 1000));
}

TEST_F(SelectionTest, ToolbarGoesBelowWhenItFitsElseInside) {
  const struct {
    int bottom;
    int toolbar_top;
  } cases[] = {
      {700, 704},  // needs 730
      {738, 742},  // needs exactly 768: still fits
      {740, 710},  // needs 770: inside, 4 above the bottom edge
  };
  for (const auto& c : cases) {
    fakes::OpenOverlayRig fresh;
    fresh.Drag(300, 600, 500, c.bottom);
    const auto& bar = fresh.overlay.Scene().toolbar;
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.rect, SizedRect(500 - 75, c.toolbar_top, 75, 26)) << c.bottom;
  }
}

TEST_F(SelectionTest, ToolbarNeverLeavesTheLeftEdge) {
  rig.Drag(10, 100, 40, 200);
  EXPECT_EQ(el().toolbar.rect.left, 0);
  EXPECT_EQ(el().toolbar.rect.top, 204);
}

TEST_F(SelectionTest, RightOrMiddleClickOnFreshOverlayCloses) {
  for (MouseButton button : {kRight, kMiddle}) {
    fakes::OpenOverlayRig fresh;
    fresh.overlay.OnMouseDown(button, 200, 200);
    EXPECT_FALSE(fresh.window.destroyed);
    fresh.overlay.OnMouseUp(button, 200, 200);
    EXPECT_TRUE(fresh.window.destroyed);
    EXPECT_TRUE(fresh.overlay.Closed());
  }
}

TEST_F(SelectionTest, RightClickClearsSelectionThenSecondRightClickCloses) {
  for (int x : {150, 600}) {  // inside and outside the selection
    fakes::OpenOverlayRig fresh;
    fresh.Drag(100, 100, 300, 200);
    fresh.Click(x, 150, kRight);
    const auto& e = fresh.overlay.Scene();
    EXPECT_FALSE(fresh.overlay.Closed());
    EXPECT_FALSE(fresh.overlay.CurrentSelection().Finished());
    EXPECT_FALSE(e.outline.visible || e.size_label.visible || e.colour_label.visible ||
                 e.toolbar.visible);
    for (const auto& handle : e.handles) EXPECT_FALSE(handle.visible);
    EXPECT_EQ(fresh.pointer.current, Pointer::kDefault);
    fresh.Click(x, 150, kRight);
    EXPECT_TRUE(fresh.overlay.Closed());
  }
}

TEST_F(SelectionTest, MiddleClickAfterResetLeavesZeroSizeOutline) {
  Select();
  Click(kRight, 600, 600);
  Click(kMiddle, 50, 60);
  EXPECT_FALSE(rig.overlay.Closed());
  EXPECT_TRUE(el().outline.visible);
  EXPECT_EQ(el().outline.rect, SizedRect(50, 60, 0, 0));
}

// Nothing is live that is not drawn: after each sequence, either a whole selection is on the
// screen (outline, read-outs, handles, toolbar) and the keys and Enter act on it, or the overlay
// is empty and they do nothing.
struct SeenCase {
  const char* name;
  bool drawn_first;  // the steps start from a selection drawn from (100, 100) to (400, 300)
  void (*steps)(OverlayRig&);
  bool selected;
  RectI outline;  // where the selection is, when there is one
};

void Draw(OverlayRig& rig) { rig.Drag(100, 100, 400, 300); }
void CtrlShift(OverlayRig& rig, Key key, int times) {
  for (int i = 0; i < times; ++i) rig.overlay.OnKey({key, true, true, false});
}

class SeenTest : public testing::TestWithParam<SeenCase> {};

TEST_P(SeenTest, KeysAndEnterActOnlyOnASelectionThatIsOnTheScreen) {
  const SeenCase& c = GetParam();
  OverlayRig rig;
  // Without window snapping: with it, a click selects the outlined window instead (snapping's
  // own table), which is then on the screen as well.
  rig.window.snapping = false;
  rig.overlay.Open();
  if (c.drawn_first) Draw(rig);
  c.steps(rig);
  const Elements e = rig.overlay.Scene();
  EXPECT_EQ(e.outline.visible, c.selected);
  EXPECT_EQ(e.size_label.visible && e.colour_label.visible, c.selected);
  for (const Element& handle : e.handles) EXPECT_EQ(handle.visible, c.selected);
  EXPECT_EQ(e.toolbar.visible, c.selected);
  if (c.selected) {
    EXPECT_EQ(e.outline.rect, c.outline);
  }

  for (Key key : {Key::kRight, Key::kDown}) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(rig.overlay.OnKey({key, true, true, false}), c.selected);
  }
  if (c.selected) {
    const RectI& o = c.outline;
    EXPECT_EQ(rig.overlay.Scene().outline.rect,
              SizedRect(o.left, o.top, o.Width() + 120, o.Height() + 120));
  } else {
    EXPECT_EQ(rig.overlay.Scene(), e);
  }

  EXPECT_EQ(rig.overlay.OnKey({Key::kEnter, false, false, false}), c.selected);
  EXPECT_EQ(rig.auto_cut_timer.Enabled(), c.selected);
  EXPECT_EQ(rig.window.minimise_requests, c.selected ? 1 : 0);
  EXPECT_FALSE(rig.overlay.Closed());
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, SeenTest,
    testing::Values(SeenCase{"ClickOnAnEmptyOverlay", false,
                             [](OverlayRig& r) { r.Click(600, 500); }, false, RectI{}},
                    SeenCase{"ClickOutsideASelection", true,
                             [](OverlayRig& r) { r.Click(600, 500); }, false, RectI{}},
                    // The system may report a move on the press's own pixel.
                    SeenCase{"ClickOutsideWithAMoveOnItsPixel", true,
                             [](OverlayRig& r) { r.Drag(600, 500, 600, 500); }, false, RectI{}},
                    SeenCase{"DoubleClickOnAnEmptyOverlay", false,
                             [](OverlayRig& r) { r.DoubleClick(600, 500); }, false, RectI{}},
                    SeenCase{"DoubleClickOutsideASelection", true,
                             [](OverlayRig& r) { r.DoubleClick(600, 500); }, false, RectI{}},
                    SeenCase{"RightClickOutsideThenLeftClick", true,
                             [](OverlayRig& r) {
                               r.Click(600, 500, kRight);
                               r.Click(600, 500);
                             },
                             false, RectI{}},
                    SeenCase{"PressOutsideAndDragDrawsAnew", true,
                             [](OverlayRig& r) { r.Drag(600, 500, 700, 560); }, true,
                             SizedRect(600, 500, 100, 60)},
                    SeenCase{"ClickInsideKeepsTheSelection", true,
                             [](OverlayRig& r) { r.Click(200, 200); }, true,
                             SizedRect(100, 100, 300, 200)},
                    // Shrunk to nothing, it stays in sight at its corner, and can grow again.
                    SeenCase{"ShrunkToZeroByTheKeys", true,
                             [](OverlayRig& r) {
                               CtrlShift(r, Key::kLeft, 30);
                               CtrlShift(r, Key::kUp, 20);
                             },
                             true, SizedRect(100, 100, 0, 0)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SelectionTest, HandlersDoNothingOnceClosed) {
  Select();
  rig.overlay.Close();
  const Elements before = el();
  rig.Drag(600, 600, 700, 700);
  EXPECT_EQ(el(), before);
}

}  // namespace
}  // namespace pelvanto::overlay
