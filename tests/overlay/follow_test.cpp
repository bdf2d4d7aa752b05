// Following a window: where the area goes as the window moves and resizes, which window a
// drawn area lies in, and what the follower makes of a window that hides, closes or is replaced.
#include "overlay/follow.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "fakes/fakes.h"
#include "overlay/toolbar.h"

namespace pelvanto::overlay {
namespace {

constexpr RectI kDesktop{0, 0, 1920, 1080};
constexpr RectI kFrame{100, 100, 500, 400};  // the window at the choice

TEST(FollowedAreaTest, TheAreaKeepsItsPlaceInTheWindow) {
  using enum FollowKind;
  constexpr RectI kDrawn{150, 120, 250, 220};      // a part of kFrame
  constexpr RectI kOnControl{120, 130, 220, 160};  // where a control stood at the choice
  constexpr std::optional<RectI> kNoControl;       // none, or one that cannot be read
  struct Case {
    const char* what;
    FollowKind kind;
    RectI area;  // at the choice, in kFrame at 96 dpi
    RectI frame;
    unsigned dpi;
    std::optional<RectI> control;
    RectI expected;
  };
  const Case cases[] = {
      {"a part moves with the window", kPart, kDrawn, RectI{600, 300, 1000, 600}, 96, kNoControl,
       RectI{650, 320, 750, 420}},
      {"a part keeps offset and size when the window grows", kPart, kDrawn,
       RectI{100, 100, 900, 900}, 96, kNoControl, kDrawn},
      {"a part is clipped to a smaller window", kPart, kDrawn, RectI{100, 100, 200, 150}, 96,
       kNoControl, RectI{150, 120, 200, 150}},
      {"nothing is left when the window is smaller than the offset", kPart, kDrawn,
       RectI{100, 100, 140, 115}, 96, kNoControl, RectI{}},
      {"the whole window stays the whole window", kWholeWindow, kFrame, RectI{50, 60, 850, 700}, 96,
       kNoControl, RectI{50, 60, 850, 700}},
      {"a control is its rectangle read anew", kControl, kOnControl, RectI{0, 0, 600, 500}, 96,
       RectI{30, 40, 330, 90}, RectI{30, 40, 330, 90}},
      {"a control that cannot be read is the part it was", kControl, kOnControl,
       RectI{0, 0, 600, 500}, 96, kNoControl, RectI{20, 30, 120, 60}},
      {"a control reaching out of its window is clipped", kControl, kOnControl,
       RectI{0, 0, 600, 500}, 96, RectI{500, 400, 700, 600}, RectI{500, 400, 600, 500}},
      {"at 144 dpi a part is half as large again, in physical pixels", kPart, kDrawn,
       RectI{2000, 0, 2600, 450}, 144, kNoControl, RectI{2075, 30, 2225, 180}},
      {"a window larger than the desktop keeps what the desktop shows", kWholeWindow, kFrame,
       RectI{-500, -500, 2500, 1500}, 96, kNoControl, kDesktop},
      {"a window partly off every monitor is cut where the desktop is", kPart, kDrawn,
       RectI{-80, 1000, 320, 1300}, 96, kNoControl, RectI{0, 1020, 70, 1080}},
  };
  const RectI wide_desktop{0, 0, 3000, 1080};
  for (const Case& c : cases) {
    const FollowChoice choice{1, 2, c.kind, kFrame, c.area};
    const RectI desktop = c.dpi == 144 ? wide_desktop : kDesktop;
    const RectI got = FollowedArea(choice, 96, c.frame, c.dpi, c.control, desktop);
    // An area with no pixels is empty whatever its edges.
    if (c.expected.Empty())
      EXPECT_TRUE(got.Empty()) << c.what;
    else
      EXPECT_EQ(got, c.expected) << c.what;
  }
}

TEST(ChoiceHoldingTest, ADrawnAreaFollowsOnlyTheOneWindowItLiesIn) {
  const std::vector<WindowPlace> windows = {{11, {400, 300, 700, 600}},  // topmost
                                            {12, {0, 0, 1000, 800}},
                                            {13, {-300, 900, 2200, 1200}}};
  struct Case {
    const char* what;
    RectI area;
    std::optional<WindowId> window;
    FollowKind kind = FollowKind::kPart;
  };
  const Case cases[] = {
      {"inside the lower window, clear of the upper one", {10, 10, 300, 200}, 12},
      {"inside the upper window", {450, 350, 650, 550}, 11},
      {"the upper window shows in it", {350, 250, 450, 350}, std::nullopt},
      {"across the edge of a window", {900, 700, 1100, 850}, std::nullopt},
      {"on the bare desktop", {1200, 10, 1300, 100}, std::nullopt},
      {"exactly the window", {400, 300, 700, 600}, 11, FollowKind::kWholeWindow},
      {"exactly the desktop's part of a larger window",
       {0, 900, 1920, 1080},
       13,
       FollowKind::kWholeWindow},
      {"an empty area", {10, 10, 10, 10}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto choice = ChoiceHolding(windows, c.area, kDesktop);
    ASSERT_EQ(choice.has_value(), c.window.has_value()) << c.what;
    if (!choice) continue;
    EXPECT_EQ(choice->window, *c.window) << c.what;
    EXPECT_EQ(choice->kind, c.kind) << c.what;
    EXPECT_EQ(choice->area, c.area) << c.what;
  }
}

// --- The follower's states ------------------------------------------------------------------

TEST(FollowerTest, TheStateFollowsTheWindowAndGoneStaysGone) {
  enum Change {
    kNothing,
    kMove,
    kMinimise,
    kHide,
    kCloak,
    kOffMonitors,
    kRestore,
    kClose,
    kReuseByOtherProgram,
    kReuseByOtherClass,
    kShrink
  };
  struct Case {
    const char* what;
    std::vector<Change> changes;  // each followed by a check
    FollowState state;
    RectI area;
  };
  const RectI chosen{150, 120, 250, 220};
  const Case cases[] = {
      {"as chosen", {kNothing}, FollowState::kFollowing, chosen},
      {"moved", {kMove}, FollowState::kFollowing, {650, 320, 750, 420}},
      {"minimised keeps the last area",
       {kMove, kMinimise},
       FollowState::kMinimised,
       {650, 320, 750, 420}},
      {"back by itself", {kMinimise, kRestore}, FollowState::kFollowing, chosen},
      {"hidden", {kHide}, FollowState::kHidden, chosen},
      {"cloaked", {kCloak}, FollowState::kCloaked, chosen},
      {"on no monitor", {kOffMonitors}, FollowState::kOffMonitors, chosen},
      {"too small for the area", {kShrink}, FollowState::kOutside, chosen},
      {"closed", {kClose}, FollowState::kGone, chosen},
      {"the handle now another program's", {kReuseByOtherProgram}, FollowState::kGone, chosen},
      {"the handle now another class's", {kReuseByOtherClass}, FollowState::kGone, chosen},
      {"gone stays gone", {kClose, kRestore}, FollowState::kGone, chosen},
  };
  for (const Case& c : cases) {
    fakes::FakeWindowWatch watch;
    WindowLook& w = watch.Add(5, kFrame);
    Follower follower(watch);
    follower.Choose(chosen, FollowChoice{5, 0, FollowKind::kPart, kFrame, chosen}, true);
    EXPECT_EQ(watch.listening, 5U) << c.what;
    for (Change change : c.changes) {
      switch (change) {
        case kNothing: break;
        case kMove: w.frame = Offset(kFrame, 500, 200); break;
        case kMinimise: w.show = WindowShow::kMinimised; break;
        case kHide: w.show = WindowShow::kHidden; break;
        case kCloak: w.show = WindowShow::kCloaked; break;
        case kOffMonitors: w.show = WindowShow::kOffMonitors; break;
        case kRestore: w = watch.Add(5, kFrame); break;
        case kClose: watch.windows.erase(5); break;
        case kReuseByOtherProgram: w.process = 8; break;
        case kReuseByOtherClass: w.class_name = L"Chrome_WidgetWin_1"; break;
        case kShrink: w.frame = {100, 100, 140, 115}; break;
      }
      follower.Check(kDesktop);
    }
    EXPECT_EQ(follower.Facts().state, c.state) << c.what;
    EXPECT_EQ(follower.Area(), c.area) << c.what;
    if (c.state == FollowState::kGone) {
      EXPECT_EQ(watch.listening, 0U) << c.what;
      EXPECT_FALSE(follower.SetOn(true)) << c.what;
    }
  }
}

TEST(FollowerTest, OwnWindowsAndWindowsGoneAtTheChoiceAreNeverFollowed) {
  fakes::FakeWindowWatch watch;
  watch.Add(5, kFrame).process = watch.own_process;
  Follower follower(watch);
  follower.Choose(kFrame, FollowChoice{5, 0, FollowKind::kWholeWindow, kFrame, kFrame}, true);
  EXPECT_EQ(follower.Facts().state, FollowState::kNone);
  EXPECT_FALSE(follower.SetOn(true));
  follower.Choose(kFrame, FollowChoice{6, 0, FollowKind::kWholeWindow, kFrame, kFrame}, true);
  EXPECT_EQ(follower.Facts().state, FollowState::kNone);
  EXPECT_EQ(follower.Area(), kFrame);
  EXPECT_EQ(watch.listening, 0U);
}

// --- In the overlay ---------------------------------------------------------------------------

struct FollowRig : fakes::OverlayRig {
  FollowRig() {
    windows.Add(5, kFrame);
    windows.titles[5] = L"记事本";
    windows.top_level = {{5, kFrame}};
    window.top_level = {{kFrame, -1, 5}};
    EXPECT_TRUE(overlay.Open());
  }
  // A snapping click on the window, then "复制退出".
  void ClickWindow() {
    overlay.OnMouseMove({}, 300, 250);
    Click(300, 250);
    ClickButton(kCopyAndExit);
  }
  const fakes::FakePicture* Picture() const { return clipboard.content.get(); }
};

TEST(OverlayFollowTest, AClickedWindowIsFollowedAndEveryPictureIsOfItsNewPlace) {
  FollowRig rig;
  rig.ClickWindow();
  ASSERT_FALSE(rig.events.follow.empty());
  EXPECT_EQ(rig.overlay.Follow().state, FollowState::kFollowing);
  EXPECT_EQ(rig.overlay.Follow().title, L"记事本");
  rig.windows.windows[5].frame = {300, 200, 900, 700};  // moved and grown
  rig.overlay.OnCutTimer();
  ASSERT_NE(rig.Picture(), nullptr);
  EXPECT_EQ(rig.Picture()->left, 300);
  EXPECT_EQ(rig.Picture()->top, 200);
  EXPECT_EQ(rig.Picture()->width, 600 + rig.overlay.LastMargin());
  EXPECT_EQ(rig.overlay.WatchedArea(), (RectI{300, 200, 900, 700}));
}

TEST(OverlayFollowTest, ADrawnAreaIsOfferedUnfollowedAndStaysPut) {
  FollowRig rig;
  rig.Drag(150, 150, 250, 250);
  rig.ClickButton(kCopyAndExit);
  EXPECT_EQ(rig.overlay.Follow().state, FollowState::kOff);
  rig.windows.windows[5].frame = Offset(kFrame, 300, 0);
  rig.overlay.OnFollowCheck();
  EXPECT_EQ(rig.overlay.WatchedArea(), (RectI{150, 150, 250, 250}));
  // Turned on, it follows from the window as it stands now.
  EXPECT_TRUE(rig.overlay.SetFollowing(true));
  EXPECT_EQ(rig.overlay.WatchedArea(), (RectI{450, 150, 550, 250}));
}

TEST(OverlayFollowTest, NoPictureWhileTheWindowIsAwayAndTheLastStaysOnTheClipboard) {
  FollowRig rig;
  rig.ClickWindow();
  rig.overlay.OnCutTimer();
  ASSERT_EQ(rig.clipboard.pictures_put, 1);
  rig.windows.windows[5].show = WindowShow::kMinimised;
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.overlay.Follow().state, FollowState::kMinimised);
  rig.windows.windows.erase(5);
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.overlay.Follow().state, FollowState::kGone);
  EXPECT_EQ(rig.clipboard.pictures_put, 1);
  EXPECT_EQ(rig.Picture()->left, kFrame.left);
  EXPECT_EQ(rig.screen.copies, 1);  // nothing at the old place was even copied
}

TEST(OverlayFollowTest, AWindowMovingDuringTheCopyGivesNoPictureOfTwoPlaces) {
  FollowRig rig;
  rig.ClickWindow();
  // The window moves while the screen is being copied: between the reading before the copy
  // and the one after it.
  bool moved = false;
  rig.windows.on_look = [&](WindowId) {
    if (rig.screen.copies == 1 && !moved) {
      moved = true;
      rig.windows.windows[5].frame = Offset(kFrame, 40, 0);
    }
  };
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.clipboard.pictures_put, 0);
  ASSERT_FALSE(rig.events.reports.empty());
  EXPECT_EQ(rig.events.reports.back().outcome, CutOutcome::kWindowMoved);
  // Made again at once, at the new place only.
  EXPECT_TRUE(rig.cut_timer.Enabled());
  rig.overlay.OnCutTimer();
  ASSERT_NE(rig.Picture(), nullptr);
  EXPECT_EQ(rig.Picture()->left, kFrame.left + 40);
}

TEST(OverlayFollowTest, AnAdjustmentChoosesAnewAndAWindowClosedMeanwhileStaysGone) {
  struct Case {
    const char* what;
    bool close;    // the window closes during the adjustment
    int right_by;  // the area's right edge moved by, with Ctrl+Right
    FollowState state;
  };
  const Case cases[] = {
      {"within the same window, still followed", false, 10, FollowState::kFollowing},
      {"out of the window, a fixed area", false, 300, FollowState::kNone},
      {"the window closed meanwhile", true, 10, FollowState::kGone},
  };
  for (const Case& c : cases) {
    FollowRig rig;
    rig.Drag(150, 150, 250, 250);
    rig.ClickButton(kCopyAndExit);
    ASSERT_TRUE(rig.overlay.SetFollowing(true)) << c.what;
    ASSERT_TRUE(rig.overlay.Adjust(SingleMonitorDesktop(1024, 768, 96))) << c.what;
    if (c.close) {
      rig.windows.windows.erase(5);
      rig.windows.top_level.clear();
    }
    for (int i = 0; i < c.right_by; ++i) rig.overlay.OnKey({Key::kRight, false, true, false});
    rig.overlay.OnKey({Key::kEnter});
    EXPECT_EQ(rig.overlay.Follow().state, c.state) << c.what;
    const int puts = rig.clipboard.pictures_put;
    rig.overlay.OnCutTimer();
    EXPECT_EQ(rig.clipboard.pictures_put, puts + (c.state == FollowState::kGone ? 0 : 1)) << c.what;
  }
}

}  // namespace
}  // namespace pelvanto::overlay
