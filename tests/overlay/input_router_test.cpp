#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;
constexpr MouseButton kLeft = MouseButton::kLeft;
constexpr MouseButton kRight = MouseButton::kRight;
using Kind = HitTarget::Kind;

struct InputRouterTest : ::testing::Test {
  InputRouterTest() { rig.overlay.Open(); }
  Elements el() const { return rig.overlay.Scene(); }
  Overlay& o() { return rig.overlay; }
  OverlayRig rig;
};

TEST_F(InputRouterTest, HitTestPutsButtonsOverStripOverHandlesOverSurface) {
  // Bottom on the screen's edge: the toolbar sits inside the selection, over handle 7.
  rig.Drag(300, 728, 500, 768);
  ASSERT_EQ(el().toolbar.rect, SizedRect(425, 738, 75, 26));
  const struct {
    int x, y;
    HitTarget expected;
  } cases[] = {
      {480, 745, {Kind::kButton, 2}},  {499, 747, {Kind::kToolbar, 0}},
      {501, 747, {Kind::kHandle, 7}},  {400, 745, {Kind::kSurface, 0}},
      {305, 733, {Kind::kSurface, 0}},  // on the size label: labels are not targets
      {430, 740, {Kind::kToolbar, 0}},  // the strip's own top-left corner
      {500, 748, {Kind::kHandle, 7}},   // the strip's right edge is outside it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(o().HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
  }
}

TEST_F(InputRouterTest, HiddenElementsAreNotHit) {
  rig.Drag(100, 100, 300, 200);
  o().OnMouseDown(kLeft, 600, 600);  // clears: handles and toolbar hidden
  EXPECT_EQ(o().HitTest(300, 200), (HitTarget{Kind::kSurface, 0}));
  EXPECT_EQ(o().HitTest(240, 210), (HitTarget{Kind::kSurface, 0}));
}

TEST_F(InputRouterTest, SurfaceDragOverAHandleKeepsDrawing) {
  o().OnMouseDown(kLeft, 100, 100);
  o().OnMouseMove(kLeft, 200, 200);
  ASSERT_EQ(o().HitTest(201, 201), (HitTarget{Kind::kHandle, 6}));
  o().OnMouseMove(kLeft, 201, 201);
  EXPECT_EQ(el().outline.rect, SizedRect(100, 100, 101, 101));
  EXPECT_EQ(rig.pointer.current, Pointer::kCrosshair);
  o().OnMouseUp(kLeft, 201, 201);
  EXPECT_FALSE(o().Captured());
}

TEST_F(InputRouterTest, HandleDragKeepsGoingToTheHandleAfterLeavingIt) {
  rig.Drag(200, 150, 600, 450);
  const std::wstring info = el().colour_label.caption;
  rig.window.frozen_pixel = [](int, int) { return 0x00FFFFFFu; };
  o().OnMouseDown(kLeft, 600, 450);  // handle 6
  rig.window.cursor = {50, 700};
  o().OnMouseMove(kLeft, 50, 700);  // far from the handle, over the surface
  EXPECT_EQ(el().outline.rect, SizedRect(200, 150, 400, 300));  // width would be negative
  rig.window.cursor = {700, 700};
  o().OnMouseMove(kLeft, 700, 700);
  EXPECT_EQ(el().outline.rect, SizedRect(200, 150, 500, 550));
  EXPECT_EQ(rig.pointer.current, Pointer::kSizeNwSe);
  EXPECT_EQ(el().colour_label.caption, info);  // the surface saw none of these moves
}

TEST_F(InputRouterTest, CaptureLastsUntilEveryButtonIsUp) {
  rig.Drag(200, 150, 600, 450);
  o().OnMouseDown(kLeft, 600, 450);
  o().OnMouseDown(kRight, 600, 450);
  o().OnMouseUp(kLeft, 600, 450);
  EXPECT_TRUE(o().Captured());
  rig.window.cursor = {650, 500};
  o().OnMouseMove(kRight, 650, 500);  // still the handle's, though its drag has ended
  EXPECT_EQ(rig.pointer.current, Pointer::kSizeNwSe);
  o().OnMouseUp(kRight, 650, 500);
  EXPECT_FALSE(o().Captured());
  EXPECT_FALSE(o().Closed());
}

TEST_F(InputRouterTest, ToolbarClickNeedsLeftPressAndReleaseOnTheSameButton) {
  rig.Drag(100, 100, 300, 200);
  const RectI bar = el().toolbar.rect;
  const int undo_x = bar.left + el().toolbar_buttons[kUndo].left + 2;
  const int exit_x = bar.left + el().toolbar_buttons[kExitCapture].left + 2;
  const int y = bar.top + el().toolbar_buttons[kUndo].top + 2;

  o().OnMouseDown(kLeft, exit_x, y);
  o().OnMouseUp(kLeft, undo_x, y);  // released on another button: no click
  o().OnMouseDown(kRight, exit_x, y);
  o().OnMouseUp(kRight, exit_x, y);
  EXPECT_FALSE(o().Closed());
  EXPECT_TRUE(o().CurrentSelection().Finished());

  o().OnMouseDown(kLeft, undo_x, y);
  o().OnMouseUp(kLeft, undo_x, y);
  EXPECT_FALSE(o().CurrentSelection().Finished());
}

TEST_F(InputRouterTest, MovesWithoutCaptureGoToWhateverIsUnderThePointer) {
  rig.Drag(100, 100, 300, 200);
  const RectI bar = el().toolbar.rect;
  const RectI copy = el().toolbar_buttons[kCopyAndExit];
  o().OnMouseMove({}, bar.left + copy.left + 1, bar.top + copy.top + 1);
  EXPECT_TRUE(el().hover_squares[kCopyAndExit].visible);
  o().OnMouseMove({}, bar.left + 1, bar.top + 1);
  EXPECT_FALSE(el().hover_squares[kCopyAndExit].visible);
  EXPECT_EQ(rig.pointer.current, Pointer::kArrow);
  o().OnMouseMove({}, 200, 100);  // handle 1
  EXPECT_EQ(rig.pointer.current, Pointer::kSizeNs);
  o().OnMouseMove({}, 150, 150);
  EXPECT_EQ(rig.pointer.current, Pointer::kMove);
}

TEST_F(InputRouterTest, ReleaseWithoutItsPressIsIgnored) {
  o().OnMouseUp(kRight, 200, 200);  // pressed before the overlay showed
  o().OnMouseUp(kLeft, 200, 200);
  EXPECT_FALSE(o().Closed());
  EXPECT_FALSE(o().CurrentSelection().Finished());
  EXPECT_FALSE(el().toolbar.visible);
}

TEST_F(InputRouterTest, LostReleaseEndsTheHandleDrag) {
  rig.Drag(200, 150, 600, 450);
  o().OnMouseDown(kLeft, 600, 450);
  o().OnMouseMove({}, 650, 500);  // the button is up, but its release never came
  EXPECT_FALSE(o().Captured());
  EXPECT_FALSE(o().Handles().Dragging());
  EXPECT_TRUE(el().toolbar.visible);
}

TEST_F(InputRouterTest, EventsAfterCloseChangeNothing) {
  rig.Drag(100, 100, 300, 200);
  const Elements before = el();
  o().Close();
  o().OnMouseDown(kLeft, 150, 150);
  o().OnMouseMove(kLeft, 250, 250);
  EXPECT_FALSE(o().Captured());
  EXPECT_EQ(el(), before);
}

}  // namespace
}  // namespace pelvanto::overlay
