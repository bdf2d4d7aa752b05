#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/version.h"
#include "fakes/fakes.h"
#include "overlay/overlay.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;

// A rig with a finished selection and the toolbar shown next to it.
struct SelectedRig : OverlayRig {
  SelectedRig() {
    overlay.Open();
    Drag(100, 100, 300, 250);
  }
};

bool AnyHandleShown(const Elements& e) {
  for (const auto& h : e.handles)
    if (h.visible) return true;
  return false;
}

TEST(ToolbarTest, UndoClearsTheSelectionButKeepsItsCornerAndThePointer) {
  SelectedRig rig;
  rig.pointer.Set(Pointer::kMove);
  const RectI before = rig.overlay.Scene().outline.rect;
  const bool cleared_by_press = rig.overlay.CurrentSelection().ClearedByPress();

  rig.ClickButton(kUndo);

  const Elements e = rig.overlay.Scene();
  EXPECT_FALSE(rig.overlay.CurrentSelection().Finished());
  EXPECT_FALSE(e.outline.visible);
  EXPECT_FALSE(e.toolbar.visible);
  EXPECT_FALSE(e.size_label.visible);
  EXPECT_FALSE(e.colour_label.visible);
  EXPECT_FALSE(AnyHandleShown(e));
  EXPECT_EQ(e.outline.rect, SizedRect(before.left, before.top, 0, 0));
  EXPECT_EQ(rig.pointer.current, Pointer::kMove);
  EXPECT_EQ(rig.overlay.CurrentSelection().ClearedByPress(), cleared_by_press);
  EXPECT_FALSE(rig.overlay.Closed());
}

TEST(ToolbarTest, AfterUndoAMiddleClickClosesOnlyWhenNothingWasClearedBefore) {
  // Fresh overlay: no press cleared a selection, so after undo a middle click closes it.
  {
    SelectedRig rig;
    rig.ClickButton(kUndo);
    rig.overlay.OnMouseDown(MouseButton::kMiddle, 500, 500);
    rig.overlay.OnMouseUp(MouseButton::kMiddle, 500, 500);
    EXPECT_TRUE(rig.overlay.Closed());
  }
  // A press outside the selection cleared it first: undo does not undo that.
  {
    SelectedRig rig;
    rig.Drag(600, 600, 700, 650);  // the press outside resets, then draws anew
    ASSERT_TRUE(rig.overlay.CurrentSelection().ClearedByPress());
    rig.ClickButton(kUndo);
    rig.overlay.OnMouseDown(MouseButton::kMiddle, 500, 500);
    rig.overlay.OnMouseUp(MouseButton::kMiddle, 500, 500);
    EXPECT_FALSE(rig.overlay.Closed());
  }
}

TEST(ToolbarTest, CopyAndExitStartsThePaceAndGoesToTheTrayWithoutTouchingTheClipboard) {
  SelectedRig rig;
  rig.clipboard.text = L"the user's text";
  const RectI selection = rig.overlay.Scene().outline.rect;

  rig.ClickButton(kCopyAndExit);

  EXPECT_TRUE(rig.auto_cut_timer.Enabled());
  EXPECT_FALSE(rig.cut_timer.Enabled());
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
  EXPECT_EQ(rig.window.minimise_requests, 1);
  EXPECT_FALSE(rig.window.visible);
  ASSERT_EQ(rig.tray.icons.size(), 1u);
  const std::wstring tip = L"Pelvanto(版本 " + std::to_wstring(kVersionMajor) + L"." +
                           std::to_wstring(kVersionMinor) + L"." + std::to_wstring(kVersionPatch) +
                           L")";
  EXPECT_EQ(rig.tray.icons[0].tip, tip);
  EXPECT_EQ(rig.clipboard.text, L"the user's text");
  EXPECT_EQ(rig.clipboard.pictures_put, 0);
  EXPECT_EQ(rig.screen.copies, 0);
  EXPECT_FALSE(rig.overlay.Closed());
  EXPECT_EQ(rig.overlay.Scene().outline.rect, selection);

  // The first picture comes with the pace's tick.
  rig.overlay.OnCutTimer();
  ASSERT_TRUE(rig.clipboard.content);
  EXPECT_EQ(rig.clipboard.content->left, 100);
}

TEST(ToolbarTest, ExitCaptureClosesWithoutAPicture) {
  SelectedRig rig;
  rig.auto_cut_timer.SetEnabled(true);
  rig.pointer.Set(Pointer::kCrosshair);
  rig.clipboard.text = L"kept";

  rig.ClickButton(kExitCapture);

  EXPECT_TRUE(rig.overlay.Closed());
  EXPECT_TRUE(rig.window.destroyed);
  EXPECT_FALSE(rig.auto_cut_timer.Enabled());
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
  EXPECT_EQ(rig.clipboard.text, L"kept");
  EXPECT_EQ(rig.screen.copies, 0);
}

TEST(ToolbarTest, HoverShowsTheSquareOfTheButtonLastEntered) {
  struct Step {
    int button;  // -1: the strip outside the buttons
    std::array<bool, 3> shown;
    Pointer pointer;
  };
  const std::vector<Step> steps = {
      {kUndo, {true, false, false}, Pointer::kCrosshair},
      {kCopyAndExit, {false, true, false}, Pointer::kCrosshair},
      {kExitCapture, {false, false, true}, Pointer::kCrosshair},
      {-1, {false, false, false}, Pointer::kArrow},
      {kCopyAndExit, {false, true, false}, Pointer::kArrow},
  };
  SelectedRig rig;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    if (steps[i].button < 0) {
      rig.HoverStrip();
    } else {
      rig.HoverButton(steps[i].button);
    }
    const auto& squares = rig.overlay.Scene().hover_squares;
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(squares[k].visible, steps[i].shown[k]);
    EXPECT_EQ(rig.pointer.current, steps[i].pointer);
  }
}

TEST(ToolbarTest, ClosedOverlayIgnoresTheToolbar) {
  SelectedRig rig;
  rig.overlay.Close();
  const Elements before = rig.overlay.Scene();
  rig.auto_cut_timer.SetEnabled(false);
  const int pointer_sets = rig.pointer.sets;
  for (int i = 0; i < 3; ++i) {
    rig.ClickButton(i);
    rig.HoverButton(i);
  }
  rig.HoverStrip();
  EXPECT_EQ(rig.overlay.Scene(), before);
  EXPECT_FALSE(rig.auto_cut_timer.Enabled());
  EXPECT_EQ(rig.window.minimise_requests, 0);
  EXPECT_EQ(rig.pointer.sets, pointer_sets);
}

TEST(ToolbarTest, PartsAreWholePixelsOfTheirDesignAndNestAtEveryDpi) {
  // At 96 dpi, the pixels the painter and a user's clicks have always found.
  fakes::OpenOverlayRig rig;
  rig.Drag(100, 100, 300, 200);
  const Elements e = rig.overlay.Scene();
  EXPECT_EQ(e.toolbar_buttons,
            (std::array<RectI, 3>{{{5, 5, 21, 21}, {29, 5, 45, 21}, {53, 5, 69, 21}}}));
  EXPECT_EQ(e.hover_squares[kCopyAndExit].rect, (RectI{27, 3, 47, 23}));
  EXPECT_EQ(e.toolbar_frame, (RectI{0, 0, 75, 26}));
  for (unsigned dpi : {96u, 120u, 144u, 168u, 192u}) {
    fakes::OpenOverlayRig scaled(1920, 1080, dpi);
    scaled.Drag(100, 100, 300, 200);
    const Elements s = scaled.overlay.Scene();
    const RectI strip = Offset(s.toolbar.rect, -s.toolbar.rect.left, -s.toolbar.rect.top);
    for (std::size_t i = 0; i < kToolbarButtonCount; ++i) {
      EXPECT_EQ(Intersection(s.toolbar_buttons[i], s.hover_squares[i].rect), s.toolbar_buttons[i])
          << dpi;
      EXPECT_EQ(Intersection(s.hover_squares[i].rect, strip), s.hover_squares[i].rect) << dpi;
    }
  }
}

}  // namespace
}  // namespace pelvanto::overlay
