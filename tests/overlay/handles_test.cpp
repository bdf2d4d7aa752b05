#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;
constexpr MouseButton kLeft = MouseButton::kLeft;

// An overlay holding the example selection: left 200, top 150, 400 x 300.
struct Selected {
  explicit Selected(unsigned dpi = 96) : rig(1024, 768, dpi) {
    rig.overlay.Open();
    rig.Drag(200, 150, 600, 450);
  }
  Elements el() const { return rig.overlay.Scene(); }
  // Centre of handle k, where a press lands on it.
  PointI Centre(int k) const {
    const RectI r = el().handles[static_cast<std::size_t>(k)].rect;
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
  }
  void PressHandle(int k) {
    const PointI c = Centre(k);
    rig.overlay.OnMouseDown(kLeft, c.x, c.y);
  }
  // The handles read the cursor itself, not the event's position.
  void DragTo(int x, int y) {
    rig.window.cursor = {x, y};
    rig.overlay.OnMouseMove(kLeft, x, y);
  }
  void ReleaseAt(int x, int y) { rig.overlay.OnMouseUp(kLeft, x, y); }
  OverlayRig rig;
};

struct HandlesTest : ::testing::Test, Selected {};

TEST_F(HandlesTest, PlacementCentresAllEightHandlesOnCornersAndMidpoints) {
  const int expected[8][2] = {{198, 148}, {398, 148}, {598, 148}, {198, 298},
                              {198, 448}, {398, 448}, {598, 448}, {598, 298}};
  for (std::size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(el().handles[k].rect, SizedRect(expected[k][0], expected[k][1], 4, 4)) << k;
    EXPECT_TRUE(el().handles[k].visible);
  }
}

TEST_F(HandlesTest, ZeroSizeSelectionStacksAllHandles) {
  rig.Click(900, 700, MouseButton::kRight);  // clear
  // A press and release in one place is a click (it selects the highlight); the keys shrink a
  // drawn selection to nothing.
  rig.Drag(50, 60, 60, 70);
  rig.overlay.OnKey({Key::kLeft, true, true});
  rig.overlay.OnKey({Key::kUp, true, true});
  for (const auto& handle : el().handles) EXPECT_EQ(handle.rect, SizedRect(48, 58, 4, 4));
}

TEST_F(HandlesTest, EachHandleMovesItsEdgesToTheCursorAndKeepsTheOthers) {
  const struct {
    int k, x, y;
    RectI expected;
  } cases[] = {
      {0, 100, 50, SizedRect(100, 50, 500, 400)},   {1, 123, 50, SizedRect(200, 50, 400, 400)},
      {2, 700, 100, SizedRect(200, 100, 500, 350)}, {3, 100, 77, SizedRect(100, 150, 500, 300)},
      {4, 100, 500, SizedRect(100, 150, 500, 350)}, {5, 1, 500, SizedRect(200, 150, 400, 350)},
      {6, 650, 500, SizedRect(200, 150, 450, 350)}, {7, 650, 1, SizedRect(200, 150, 450, 300)},
  };
  for (const auto& c : cases) {
    Selected t;
    t.PressHandle(c.k);
    t.DragTo(c.x, c.y);
    EXPECT_EQ(t.el().outline.rect, c.expected) << "handle " << c.k;
    EXPECT_EQ(t.el().handles[0].rect.left, c.expected.left - 2);
    // A later move of the selection starts from the resized corner.
    t.ReleaseAt(c.x, c.y);
    const int x = c.expected.left + c.expected.Width() / 2;
    const int y = c.expected.top + c.expected.Height() / 2;
    t.rig.Drag(x, y, x + 3, y + 5);
    EXPECT_EQ(t.el().outline.rect.left, c.expected.left + 3) << "handle " << c.k;
    EXPECT_EQ(t.el().outline.rect.top, c.expected.top + 5) << "handle " << c.k;
  }
}

TEST_F(HandlesTest, TopLeftDragUpdatesReadoutAndKeepsFarEdgesAcrossDrags) {
  PressHandle(0);
  DragTo(100, 50);
  EXPECT_EQ(el().size_label.caption, L"500x400");
  EXPECT_EQ(el().size_label.rect.left, 102);
  EXPECT_EQ(el().size_label.rect.top, 52);
  ReleaseAt(100, 50);
  // A second drag of the same corner must not creep the opposite edges outwards.
  PressHandle(0);
  DragTo(150, 100);
  ReleaseAt(150, 100);
  EXPECT_EQ(el().outline.rect.right, 600);
  EXPECT_EQ(el().outline.rect.bottom, 450);
}

TEST_F(HandlesTest, NegativeSizeRejectsWholeStepButZeroIsTaken) {
  PressHandle(7);
  DragTo(300, 1);
  DragTo(150, 1);
  EXPECT_EQ(el().outline.rect, SizedRect(200, 150, 100, 300));
  EXPECT_EQ(el().size_label.caption, L"100x300");
  DragTo(200, 1);
  EXPECT_EQ(el().outline.rect, SizedRect(200, 150, 0, 300));
  ReleaseAt(200, 1);

  Selected t;
  t.PressHandle(0);
  t.DragTo(650, 100);  // the width would be negative: the top does not follow either
  EXPECT_EQ(t.el().outline.rect, SizedRect(200, 150, 400, 300));
  EXPECT_EQ(t.el().handles[0].rect.left, 198);
}

TEST_F(HandlesTest, HoverShowsEachHandlesSizingPointerAndChangesNothingElse) {
  const Pointer expected[8] = {Pointer::kSizeNwSe, Pointer::kSizeNs,   Pointer::kSizeNeSw,
                               Pointer::kSizeWe,   Pointer::kSizeNeSw, Pointer::kSizeNs,
                               Pointer::kSizeNwSe, Pointer::kSizeWe};
  const Elements before = el();
  for (int k = 0; k < 8; ++k) {
    const PointI c = Centre(k);
    rig.window.cursor = {0, 0};
    rig.overlay.OnMouseMove({}, c.x, c.y);
    EXPECT_EQ(rig.pointer.current, expected[k]) << k;
  }
  EXPECT_EQ(el(), before);
}

TEST_F(HandlesTest, DragHidesToolbarAndReleasePutsItBack) {
  PressHandle(6);
  EXPECT_TRUE(rig.overlay.Handles().Dragging());
  EXPECT_FALSE(el().toolbar.visible);
  DragTo(700, 740);
  ReleaseAt(700, 740);
  EXPECT_FALSE(rig.overlay.Handles().Dragging());
  EXPECT_TRUE(el().toolbar.visible);
  EXPECT_EQ(el().toolbar.rect, SizedRect(625, 710, 75, 26));  // no room below: inside
}

struct HandlesAt144Dpi : ::testing::Test, Selected {
  HandlesAt144Dpi() : Selected(144) {}
};

TEST_F(HandlesAt144Dpi, HandlesToolbarAndGapsScaleWithDpi) {
  EXPECT_EQ(el().handles[0].rect, SizedRect(197, 147, 6, 6));
  EXPECT_EQ(el().toolbar.rect, SizedRect(600 - 113, 456, 113, 39));
  EXPECT_EQ(el().size_label.rect.left, 203);
  PressHandle(6);
  DragTo(650, 500);
  EXPECT_EQ(el().outline.rect, SizedRect(200, 150, 450, 350));
  EXPECT_EQ(el().handles[6].rect, SizedRect(647, 497, 6, 6));
}

}  // namespace
}  // namespace pelvanto::overlay
