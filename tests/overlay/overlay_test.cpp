#include "overlay/overlay.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/version.h"
#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

using fakes::OpenOverlayRig;
using fakes::OverlayRig;

bool AnythingShown(const Elements& e) {
  bool shown =
      e.outline.visible || e.size_label.visible || e.colour_label.visible || e.toolbar.visible;
  for (const auto& h : e.handles) shown = shown || h.visible;
  for (const auto& s : e.hover_squares) shown = shown || s.visible;
  return shown;
}

std::wstring ExpectedTip() {
  return VersionTip(L"Pelvanto", kVersionMajor, kVersionMinor, kVersionPatch);
}

// --- Opening

struct ScreenCase {
  int width, height;
  unsigned dpi;
  int toolbar_height;  // 26 at 96 dpi, scaled and rounded
};

class OverlayLoadTest : public testing::TestWithParam<ScreenCase> {};

TEST_P(OverlayLoadTest, FreezesTheWholeScreenAndStartsWithNothingShown) {
  const ScreenCase& c = GetParam();
  OverlayRig rig(c.width, c.height, c.dpi);
  EXPECT_TRUE(rig.overlay.Open());

  // Physical pixels at every DPI: never a part of the screen.
  EXPECT_EQ(rig.window.frozen, (RectI{0, 0, c.width, c.height}));
  EXPECT_TRUE(rig.window.maximised);
  EXPECT_TRUE(rig.window.layered);
  EXPECT_EQ(rig.pointer.current, Pointer::kCrosshair);
  EXPECT_FALSE(rig.overlay.Closed());

  EXPECT_FALSE(rig.overlay.CurrentSelection().Finished());
  EXPECT_FALSE(rig.overlay.CurrentSelection().ClearedByPress());
  EXPECT_FALSE(rig.overlay.Handles().Dragging());
  const Elements e = rig.overlay.Scene();
  EXPECT_FALSE(AnythingShown(e));
  // The toolbar waits above the screen, its bottom edge on the top edge.
  EXPECT_EQ(e.toolbar.rect.top, -e.toolbar.rect.Height());
  EXPECT_EQ(e.toolbar.rect.Height(), c.toolbar_height);
  EXPECT_FALSE(rig.cut_timer.Enabled());
  EXPECT_FALSE(rig.auto_cut_timer.Enabled());
  EXPECT_TRUE(rig.tray.icons.empty());
}

INSTANTIATE_TEST_SUITE_P(Screens, OverlayLoadTest,
                         testing::Values(ScreenCase{1024, 768, 96, 26},
                                         ScreenCase{1920, 1080, 120, 33},
                                         ScreenCase{2560, 1440, 144, 39},
                                         ScreenCase{3840, 2160, 192, 52}),
                         [](const testing::TestParamInfo<ScreenCase>& param) {
                           return std::to_string(param.param.width) + "x" +
                                  std::to_string(param.param.height) + "At" +
                                  std::to_string(param.param.dpi) + "Dpi";
                         });

// The services of one run of the program, which a sequence of overlays shares.
struct Program {
  Overlay& NewOverlay() {
    overlay.reset();
    overlay.emplace(OverlayServices{window, pointer, clock, screen, clipboard, tray, cut_timer,
                                    auto_cut_timer, events, windows},
                    SingleMonitorDesktop(800, 600, 96), 7);
    return *overlay;
  }
  fakes::FakeOverlayView window;
  fakes::FakePointer pointer;
  fakes::FakeClock clock;
  fakes::FakeScreen screen{800, 600};
  fakes::FakeClipboard clipboard;
  fakes::FakeTray tray;
  fakes::FakeAreaEvents events;
  fakes::FakeWindowWatch windows;
  fakes::FakeTimer cut_timer, auto_cut_timer;
  std::optional<Overlay> overlay;
};

TEST(OverlayTest, AFailedScreenCopyClosesTheOverlayCleanlyAndSaysSo) {
  OverlayRig rig;
  rig.window.freeze_fails = true;
  EXPECT_FALSE(rig.overlay.Open());
  EXPECT_TRUE(rig.overlay.Closed());
  EXPECT_TRUE(rig.window.destroyed);
  EXPECT_FALSE(rig.window.maximised);
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.auto_cut_timer.Enabled());
}

TEST(OverlayTest, EveryStartGetsAFreshOverlay) {
  Program program;
  Overlay& first = program.NewOverlay();
  first.Open();
  first.OnMouseDown(MouseButton::kLeft, 100, 100);
  first.OnMouseMove(MouseButton::kLeft, 300, 200);
  first.OnMouseUp(MouseButton::kLeft, 300, 200);
  // A right press outside the selection clears it and keeps the overlay open.
  first.OnMouseDown(MouseButton::kRight, 500, 500);
  first.OnMouseUp(MouseButton::kRight, 500, 500);
  first.OnMouseDown(MouseButton::kLeft, 10, 10);
  first.OnMouseMove(MouseButton::kLeft, 50, 40);
  first.OnMouseUp(MouseButton::kLeft, 50, 40);
  ASSERT_TRUE(first.CurrentSelection().ClearedByPress());
  ASSERT_TRUE(first.CurrentSelection().Finished());
  first.Close();
  program.window.frozen = {};

  Overlay& second = program.NewOverlay();
  second.Open();
  EXPECT_FALSE(second.CurrentSelection().Finished());
  EXPECT_FALSE(second.CurrentSelection().ClearedByPress());
  EXPECT_EQ(second.Scene(), OverlayRig(800, 600).overlay.Scene());
  EXPECT_EQ(program.window.frozen.right, 800);  // frozen anew
  EXPECT_FALSE(second.Closed());
}

// --- Minimising into the tray

TEST(OverlayTest, MinimisingAddsOneIconWithTheVersionTipAndHides) {
  OpenOverlayRig rig;
  rig.overlay.OnMinimised();
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  const TrayRecord& icon = rig.tray.icons[0];
  EXPECT_EQ(icon.window, rig.window.Id());
  EXPECT_EQ(icon.icon, rig.window.IconHandle());
  EXPECT_EQ(icon.id, kOverlayTrayId);
  EXPECT_EQ(icon.tip, ExpectedTip());
  EXPECT_FALSE(rig.window.visible);
  EXPECT_FALSE(rig.overlay.Closed());
}

TEST(OverlayTest, TheTipNamesTheVersionInBrackets) {
  EXPECT_EQ(VersionTip(L"Pelvanto", 3, 2, 105), L"Pelvanto(版本 3.2.105)");
  EXPECT_EQ(VersionTip(L"Pelvanto", 1, 0, 0), L"Pelvanto(版本 1.0.0)");
  EXPECT_EQ(ExpectedTip(), L"Pelvanto(版本 " + std::to_wstring(kVersionMajor) + L"." +
                               std::to_wstring(kVersionMinor) + L"." +
                               std::to_wstring(kVersionPatch) + L")");
}

TEST(OverlayTest, ARecreatedTaskbarGetsTheIconBackOnlyWhileItIsShown) {
  OpenOverlayRig rig;
  rig.overlay.OnTaskbarCreated();
  EXPECT_EQ(rig.tray.adds, 0);

  rig.overlay.OnMinimised();
  rig.tray.icons.clear();  // the shell restarted and lost it
  rig.overlay.OnTaskbarCreated();
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0].tip, ExpectedTip());

  rig.overlay.Close();
  rig.overlay.OnTaskbarCreated();
  EXPECT_TRUE(rig.tray.icons.empty());
}

// --- Closing

// A cut copies at once, with nothing hidden first: that holds because the overlay is never
// on screen while the auto-cut runs. Only "copy and exit" starts the pace, and it sends the
// overlay to the tray in the same step.
TEST(OverlayTest, ThePaceStartsOnlyAsTheOverlayLeavesTheScreen) {
  const std::vector<std::function<void(OverlayRig&)>> steps = {
      [](OverlayRig& rig) { rig.Drag(100, 100, 300, 200); },
      [](OverlayRig& rig) { rig.Drag(150, 150, 180, 170); },  // moved
      [](OverlayRig& rig) { rig.HoverButton(kCopyAndExit); },
      [](OverlayRig& rig) { rig.ClickButton(kUndo); },
      [](OverlayRig& rig) { rig.Drag(50, 60, 70, 80); },
  };
  OpenOverlayRig rig;
  for (const auto& step : steps) {
    step(rig);
    EXPECT_FALSE(rig.auto_cut_timer.Enabled());
  }
  rig.ClickButton(kCopyAndExit);
  EXPECT_TRUE(rig.auto_cut_timer.Enabled());
  EXPECT_FALSE(rig.window.visible);
}

struct CloseCase {
  const char* name;
  std::function<void(OverlayRig&)> reach;
};

class OverlayCloseTest : public testing::TestWithParam<CloseCase> {};

TEST_P(OverlayCloseTest, RemovesTheIconStopsThePaceAndClosesOnce) {
  OpenOverlayRig rig;
  GetParam().reach(rig);

  rig.overlay.Close();
  EXPECT_TRUE(rig.overlay.Closed());
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.auto_cut_timer.Enabled());
  EXPECT_FALSE(rig.cut_timer.Enabled());
  EXPECT_TRUE(rig.window.destroyed);

  // A second close finds nothing to do.
  const int deletes = rig.tray.deletes;
  rig.window.destroyed = false;
  rig.auto_cut_timer.SetEnabled(true);
  rig.overlay.Close();
  EXPECT_EQ(rig.tray.deletes, deletes);
  EXPECT_FALSE(rig.window.destroyed);
  EXPECT_TRUE(rig.auto_cut_timer.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    States, OverlayCloseTest,
    testing::Values(CloseCase{"JustOpened", [](OverlayRig&) {}},
                    CloseCase{"MidDrag",
                              [](OverlayRig& rig) {
                                rig.overlay.OnMouseDown(MouseButton::kLeft, 100, 100);
                                rig.overlay.OnMouseMove(MouseButton::kLeft, 300, 200);
                              }},
                    CloseCase{"Selected", [](OverlayRig& rig) { rig.Drag(100, 100, 300, 200); }},
                    CloseCase{"InTrayWithACutPending",
                              [](OverlayRig& rig) {
                                rig.Drag(100, 100, 300, 200);
                                rig.ClickButton(kCopyAndExit);
                                rig.cut_timer.SetEnabled(true);
                              }}),
    [](const testing::TestParamInfo<CloseCase>& param) { return std::string(param.param.name); });

TEST(OverlayTest, AnClosedOverlayIgnoresEveryHandler) {
  OpenOverlayRig rig;
  rig.overlay.Close();
  const Elements before = rig.overlay.Scene();
  const int pointer_sets = rig.pointer.sets;

  rig.overlay.OnMouseDown(MouseButton::kLeft, 100, 100);
  rig.overlay.OnMouseMove(MouseButton::kLeft, 300, 200);
  rig.overlay.OnMouseUp(MouseButton::kLeft, 300, 200);
  rig.overlay.OnMinimised();
  rig.overlay.OnTaskbarCreated();
  rig.overlay.OnCutTimer();
  rig.overlay.Open();

  EXPECT_EQ(rig.overlay.Scene(), before);
  EXPECT_EQ(rig.pointer.sets, pointer_sets);
  EXPECT_EQ(rig.tray.adds, 0);
  EXPECT_EQ(rig.screen.copies, 0);
  // Opening it again does not bring it back: only a new overlay opens.
  EXPECT_TRUE(rig.overlay.Closed());
}

// --- The read-outs

struct SizeCase {
  int width, height;
  std::wstring text;
};

class SizeTextTest : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, WritesEachSideInPlainDecimal) {
  EXPECT_EQ(SizeText(GetParam().width, GetParam().height), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeTextTest,
                         testing::Values(SizeCase{145, 97, L"145x97"},
                                         SizeCase{500, 400, L"500x400"}, SizeCase{0, 0, L"0x0"},
                                         SizeCase{1, 1000000, L"1x1000000"},
                                         SizeCase{3840, 2160, L"3840x2160"}));

TEST(OverlayTest, ColourTextReadsRedGreenBlueFromTheLowByteUp) {
  EXPECT_EQ(ColourText(0x000080FF), L"RGB(255,128,0)");
  EXPECT_EQ(ColourText(0), L"RGB(0,0,0)");
  EXPECT_EQ(ColourText(0x00EC7A00), L"RGB(0,122,236)");
  // The top byte is not a colour.
  EXPECT_EQ(ColourText(0xFF010203), L"RGB(3,2,1)");
}

}  // namespace
}  // namespace pelvanto::overlay
