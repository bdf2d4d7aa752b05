#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/version.h"
#include "fakes/fakes.h"
#include "overlay/overlay.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;

// A rig with a finished selection and the toolbar shown next to it.
struct SelectedRig : OverlayRig {
  SelectedRig() {
    overlay.Load();
    Drag(100, 100, 300, 250);
  }
};

bool AnyHandleShown(const Elements& e) {
  for (const auto& h : e.Image1)
    if (h.visible) return true;
  return false;
}

TEST(ToolbarTest, UndoClearsTheSelectionButKeepsItsCornerAndThePointer) {
  SelectedRig rig;
  rig.pointer.Set(Pointer::Move);
  const RectF before = rig.overlay.elements().Shape1.rect;
  const int keep_open = rig.overlay.state().KeepOpen;

  rig.overlay.Image2Click(kUndo);

  const Elements& e = rig.overlay.elements();
  EXPECT_EQ(rig.overlay.state().DrawMode, SelectMode::Draw);
  EXPECT_FALSE(e.Shape1.visible);
  EXPECT_FALSE(e.Picture1.visible);
  EXPECT_FALSE(e.LblPos.visible);
  EXPECT_FALSE(e.lblInfo.visible);
  EXPECT_FALSE(AnyHandleShown(e));
  EXPECT_EQ(e.Shape1.rect, (RectF{before.left, before.top, 0, 0}));
  EXPECT_EQ(rig.pointer.current, Pointer::Move);
  EXPECT_EQ(rig.overlay.state().KeepOpen, keep_open);
  EXPECT_FALSE(rig.overlay.Unloaded());
}

TEST(ToolbarTest, AfterUndoAMiddleClickClosesOnlyWhenNothingWasClearedBefore) {
  // Fresh overlay: KeepOpen is 0, so after undo a middle click closes it.
  {
    SelectedRig rig;
    rig.overlay.Image2Click(kUndo);
    rig.overlay.OnMouseDown(mouse::kMiddle, 500, 500);
    rig.overlay.OnMouseUp(mouse::kMiddle, 500, 500);
    EXPECT_TRUE(rig.overlay.Unloaded());
  }
  // A press outside the selection cleared it first (KeepOpen 1): undo does not undo that.
  {
    SelectedRig rig;
    rig.Drag(600, 600, 700, 650);  // the press outside resets, then draws anew
    ASSERT_EQ(rig.overlay.state().KeepOpen, 1);
    rig.overlay.Image2Click(kUndo);
    rig.overlay.OnMouseDown(mouse::kMiddle, 500, 500);
    rig.overlay.OnMouseUp(mouse::kMiddle, 500, 500);
    EXPECT_FALSE(rig.overlay.Unloaded());
  }
}

TEST(ToolbarTest, CopyAndExitStartsThePaceAndGoesToTheTrayWithoutTouchingTheClipboard) {
  SelectedRig rig;
  rig.clipboard.text = L"the user's text";
  const RectF selection = rig.overlay.elements().Shape1.rect;

  rig.overlay.Image2Click(kCopyAndExit);

  EXPECT_TRUE(rig.main_timer1.Enabled());
  EXPECT_FALSE(rig.timer1.Enabled());
  EXPECT_EQ(rig.pointer.current, Pointer::Default);
  EXPECT_EQ(rig.window.minimise_requests, 1);
  EXPECT_FALSE(rig.window.visible);
  ASSERT_EQ(rig.tray.icons.size(), 1u);
  const std::wstring tip = L"Pelvanto(版本 " + std::to_wstring(app::kVersionMajor) + L"." +
                           std::to_wstring(app::kVersionMinor) + L"." +
                           std::to_wstring(app::kVersionPatch) + L")";
  EXPECT_EQ(rig.tray.icons[0].tip, tip);
  EXPECT_EQ(rig.clipboard.text, L"the user's text");
  EXPECT_EQ(rig.clipboard.pictures_put, 0);
  EXPECT_EQ(rig.screen.copies, 0);
  EXPECT_FALSE(rig.overlay.Unloaded());
  EXPECT_TRUE(rig.cut_form_loaded);
  EXPECT_EQ(rig.overlay.elements().Shape1.rect, selection);

  // The first picture comes with the pace's tick.
  rig.overlay.OnTimer1();
  ASSERT_TRUE(rig.clipboard.content);
  EXPECT_EQ(rig.clipboard.content->left, 100);
}

TEST(ToolbarTest, ExitCaptureUnloadsWithoutAPicture) {
  SelectedRig rig;
  rig.main_timer1.SetEnabled(true);
  rig.pointer.Set(Pointer::Crosshair);
  rig.clipboard.text = L"kept";

  rig.overlay.Image2Click(kExitCapture);

  EXPECT_TRUE(rig.overlay.Unloaded());
  EXPECT_TRUE(rig.window.closed);
  EXPECT_FALSE(rig.cut_form_loaded);
  EXPECT_FALSE(rig.main_timer1.Enabled());
  EXPECT_EQ(rig.pointer.current, Pointer::Default);
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
      {kUndo, {true, false, false}, Pointer::Crosshair},
      {kCopyAndExit, {false, true, false}, Pointer::Crosshair},
      {kExitCapture, {false, false, true}, Pointer::Crosshair},
      {-1, {false, false, false}, Pointer::Arrow},
      {kCopyAndExit, {false, true, false}, Pointer::Arrow},
      {7, {false, true, false}, Pointer::Arrow},  // no such button: nothing changes
  };
  OverlayRig rig;
  rig.overlay.Load();
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    if (steps[i].button < 0) {
      rig.overlay.Picture1MouseMove();
    } else {
      rig.overlay.Image2MouseMove(steps[i].button);
    }
    const auto& squares = rig.overlay.elements().Shape3;
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(squares[k].visible, steps[i].shown[k]);
    EXPECT_EQ(rig.pointer.current, steps[i].pointer);
  }
}

TEST(ToolbarTest, UnloadedOverlayIgnoresTheToolbar) {
  SelectedRig rig;
  rig.overlay.Unload();
  const Elements before = rig.overlay.elements();
  rig.main_timer1.SetEnabled(false);
  const int pointer_sets = rig.pointer.sets;
  for (int i = 0; i < 3; ++i) {
    rig.overlay.Image2Click(i);
    rig.overlay.Image2MouseMove(i);
  }
  rig.overlay.Picture1MouseMove();
  EXPECT_EQ(rig.overlay.elements(), before);
  EXPECT_FALSE(rig.main_timer1.Enabled());
  EXPECT_EQ(rig.window.minimise_requests, 0);
  EXPECT_EQ(rig.pointer.sets, pointer_sets);
}

}  // namespace
}  // namespace pelvanto::overlay
