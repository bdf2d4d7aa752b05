// Steering the auto-cut from the tray: the menu in each state, pause and
// resume, one cut now, adjusting, the frame, and the status in the icon's tip.
#include "app/auto_cut.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/tray_icon.h"
#include "fakes/fakes.h"

namespace pelvanto::app {
namespace {

// The overlay as the steering reaches it.
class FakeWatchedArea : public WatchedArea {
 public:
  void StartCut() override { ++cuts_asked; }
  void CancelCut() override { ++cancels; }
  bool CutUnderWay() const override { return under_way; }
  bool Adjust() override {
    ++adjusts;
    return adjust_works;
  }
  void ShowFrame(FrameStyle style) override { frame = style; }
  void CheckFollowed() override { ++checks; }
  bool SetFollowing(bool on) override {
    following = on;
    return true;
  }
  int cuts_asked = 0, cancels = 0, adjusts = 0, checks = 0;
  bool following = false;
  bool adjust_works = true;
  bool under_way = false;  // a cut asked for and not made yet
  FrameStyle frame = FrameStyle::kHidden;
};

struct SteeringRig {
  fakes::FakeTimer pace;
  FakeWatchedArea area;
  AutoCutSteering steering{pace, area};
  // "复制退出" on a fresh overlay: the overlay starts the pace, then reports the area.
  void MarkArea() {
    pace.SetEnabled(true);
    steering.OnAreaSet();
  }
  bool Command(MenuCommand c, int interval = 5) { return steering.OnCommand(c, true, interval); }
};

// --- The menu -----------------------------------------------------------------------------

struct MenuCase {
  const char* name;
  SteeringState state;
  std::vector<MenuCommand> enabled;  // in menu order
  MenuCommand pace_item;             // pause or resume
  bool frame_checked;
  bool follow_checked = false;
};

class MenuTest : public testing::TestWithParam<MenuCase> {};

TEST_P(MenuTest, ItemsInOrderGreyedWhereTheyDoNotApply) {
  const MenuCase& c = GetParam();
  const auto menu = MenuFor(c.state);
  ASSERT_EQ(menu.size(), 8U);
  EXPECT_EQ(menu[0].caption, L"显示主窗口");
  EXPECT_TRUE(menu[0].is_default);
  EXPECT_EQ(menu[2].command, c.pace_item);
  EXPECT_EQ(menu[2].caption, c.pace_item == MenuCommand::kPause ? L"暂停切图" : L"继续切图");
  EXPECT_EQ(menu[4].caption, L"跟随窗口");
  EXPECT_EQ(menu[4].checked, c.follow_checked);
  EXPECT_EQ(menu[5].caption, L"显示选区边框");
  EXPECT_EQ(menu[5].checked, c.frame_checked);
  std::vector<MenuCommand> enabled;
  for (const MenuEntry& e : menu) {
    if (e.enabled) enabled.push_back(e.command);
    EXPECT_EQ(e.is_default, e.command == MenuCommand::kShowMain);
    EXPECT_EQ(Applies(c.state, e.command), e.enabled);
  }
  EXPECT_EQ(enabled, c.enabled);
}

using enum MenuCommand;
using Items = std::vector<MenuCommand>;
constexpr SteeringState kCutting{.capturing = true, .area_set = true};
// kCutting with one more flag set, or the area lying in a window followed as `follow`.
SteeringState Cutting(bool SteeringState::*flag, bool value = true) {
  SteeringState s = kCutting;
  s.*flag = value;
  return s;
}
SteeringState Cutting(overlay::FollowState follow) {
  SteeringState s = kCutting;
  s.follow = follow;
  return s;
}
INSTANTIATE_TEST_SUITE_P(
    States, MenuTest,
    testing::Values(
        MenuCase{"Idle", {}, {kShowMain, kToggleFrame, kStartCapture, kExit}, kPause, true},
        MenuCase{"Marking", SteeringState{.capturing = true},
                 Items{kShowMain, kToggleFrame, kStopCapture, kExit}, kPause, true},
        MenuCase{"Cutting", kCutting,
                 Items{kShowMain, kCutNow, kPause, kAdjust, kToggleFrame, kStopCapture, kExit},
                 kPause, true},
        MenuCase{"Paused", Cutting(&SteeringState::paused),
                 Items{kShowMain, kResume, kAdjust, kToggleFrame, kStopCapture, kExit}, kResume,
                 true},
        MenuCase{"Adjusting", Cutting(&SteeringState::adjusting),
                 Items{kShowMain, kToggleFrame, kStopCapture, kExit}, kPause, true},
        MenuCase{"Locked", Cutting(&SteeringState::session_locked),
                 Items{kShowMain, kPause, kToggleFrame, kStopCapture, kExit}, kPause, true},
        MenuCase{"CutUnderWay", Cutting(&SteeringState::cut_under_way),
                 Items{kShowMain, kPause, kAdjust, kToggleFrame, kStopCapture, kExit}, kPause,
                 true},
        MenuCase{"FrameOff", Cutting(&SteeringState::frame_wanted, false),
                 Items{kShowMain, kCutNow, kPause, kAdjust, kToggleFrame, kStopCapture, kExit},
                 kPause, false},
        MenuCase{"DrawnInAWindow", Cutting(overlay::FollowState::kOff),
                 Items{kShowMain, kCutNow, kPause, kAdjust, kToggleFollow, kToggleFrame,
                       kStopCapture, kExit},
                 kPause, true},
        MenuCase{"Following", Cutting(overlay::FollowState::kFollowing),
                 Items{kShowMain, kCutNow, kPause, kAdjust, kToggleFollow, kToggleFrame,
                       kStopCapture, kExit},
                 kPause, true, true},
        MenuCase{
            "WindowMinimised", Cutting(overlay::FollowState::kMinimised),
            Items{kShowMain, kPause, kAdjust, kToggleFollow, kToggleFrame, kStopCapture, kExit},
            kPause, true, true},
        MenuCase{"WindowGone", Cutting(overlay::FollowState::kGone),
                 Items{kShowMain, kPause, kAdjust, kToggleFrame, kStopCapture, kExit}, kPause, true,
                 true}),
    [](const auto& p) { return std::string(p.param.name); });

// --- Pause, resume, cut now -------------------------------------------------------------

struct PaceCase {
  const char* name;
  int interval;             // the interval box as resume finds it
  unsigned interval_after;  // the pace's interval after resume
};

class PaceTest : public testing::TestWithParam<PaceCase> {};

TEST_P(PaceTest, PauseStopsEveryCutAndResumeGoesOnAtTheBoxValue) {
  const PaceCase& c = GetParam();
  SteeringRig rig;
  rig.pace.SetInterval(2000);
  rig.MarkArea();
  rig.steering.OnPaceTick(2);
  EXPECT_EQ(rig.area.cuts_asked, 1);

  EXPECT_TRUE(rig.Command(kPause));
  EXPECT_FALSE(rig.pace.Enabled());
  EXPECT_EQ(rig.area.cancels, 1);  // the cut already asked for does not land
  EXPECT_EQ(rig.area.frame, FrameStyle::kDashed);
  rig.steering.OnPaceTick(2);  // a tick that was already on its way
  EXPECT_FALSE(rig.Command(kCutNow));
  EXPECT_FALSE(rig.Command(kPause));
  EXPECT_EQ(rig.area.cuts_asked, 1);

  EXPECT_TRUE(rig.Command(kResume, c.interval));
  EXPECT_TRUE(rig.pace.Enabled());
  EXPECT_EQ(rig.pace.Interval(), c.interval_after);
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);
  rig.steering.OnPaceTick(c.interval);
  EXPECT_EQ(rig.area.cuts_asked, c.interval > 0 ? 2 : 1);
  EXPECT_TRUE(rig.Command(kCutNow, c.interval));  // also at 0: the user asked for it
  EXPECT_EQ(rig.area.cuts_asked, c.interval > 0 ? 3 : 2);
}

INSTANTIATE_TEST_SUITE_P(Intervals, PaceTest,
                         testing::Values(PaceCase{"Five", 5, 5000}, PaceCase{"Zero", 0, 2000},
                                         PaceCase{"AboveTheList", 80, 50000}),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Adjusting, the frame, stale commands ------------------------------------------------

TEST(SteeringTest, AdjustStopsCutsUntilTheAreaIsBackAndAPauseOutlastsIt) {
  SteeringRig rig;
  rig.MarkArea();
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);
  EXPECT_TRUE(rig.Command(kPause));
  EXPECT_TRUE(rig.Command(kAdjust));
  EXPECT_EQ(rig.area.adjusts, 1);
  EXPECT_EQ(rig.area.frame, FrameStyle::kHidden);  // not in the new frozen picture
  EXPECT_FALSE(rig.Command(kAdjust));              // the menu opened twice
  EXPECT_FALSE(rig.Command(kResume));
  // Enter on the overlay: it starts the pace, which the pause stops again.
  rig.MarkArea();
  EXPECT_FALSE(rig.pace.Enabled());
  EXPECT_EQ(rig.area.frame, FrameStyle::kDashed);
  EXPECT_TRUE(rig.Command(kResume));

  // Cancelled, the old area is back as it was: the ticks cut it again.
  EXPECT_TRUE(rig.Command(kAdjust));
  rig.steering.OnPaceTick(5);
  EXPECT_EQ(rig.area.cuts_asked, 0);
  rig.steering.OnAreaSet();
  rig.steering.OnPaceTick(5);
  EXPECT_EQ(rig.area.cuts_asked, 1);
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);

  // An overlay that could not open again leaves everything as it was.
  rig.area.adjust_works = false;
  EXPECT_FALSE(rig.Command(kAdjust));
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);
  rig.steering.OnPaceTick(5);
  EXPECT_EQ(rig.area.cuts_asked, 2);
}

TEST(SteeringTest, AWindowThatCannotBeSeenIsReadAtEachTickAndNeverCut) {
  SteeringRig rig;
  rig.MarkArea();
  rig.steering.OnFollowChanged({overlay::FollowState::kFollowing, L"记事本"});
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);
  rig.steering.OnPaceTick(5);
  EXPECT_EQ(rig.area.checks, 0);  // the cut reads the window itself
  EXPECT_EQ(rig.area.cuts_asked, 1);
  const int cancels = rig.area.cancels;
  rig.steering.OnFollowChanged({overlay::FollowState::kMinimised, L"记事本"});
  EXPECT_EQ(rig.area.cancels, cancels + 1);  // a cut on its way is dropped
  EXPECT_EQ(rig.area.frame, FrameStyle::kHidden);
  rig.steering.OnPaceTick(5);
  EXPECT_EQ(rig.area.checks, 1);
  EXPECT_EQ(rig.area.cuts_asked, 1);
  EXPECT_FALSE(rig.Command(kCutNow));
  // "跟随窗口" asks the overlay; gone, it is not offered.
  EXPECT_TRUE(rig.Command(kToggleFollow));
  EXPECT_FALSE(rig.area.following);
  rig.steering.OnFollowChanged({overlay::FollowState::kGone, L"记事本"});
  EXPECT_FALSE(rig.Command(kToggleFollow));
  EXPECT_TRUE(rig.Command(kAdjust));
}

TEST(SteeringTest, CommandsThatArriveAfterTheirStateHasPassedDoNothing) {
  SteeringRig rig;
  rig.MarkArea();
  rig.steering.OnSessionChange(true);
  EXPECT_FALSE(rig.Command(kAdjust));
  EXPECT_FALSE(rig.Command(kCutNow));
  rig.steering.OnSessionChange(false);
  rig.steering.OnAreaGone();  // the capture ended; a command was still posted
  for (MenuCommand c : {kCutNow, kPause, kResume, kAdjust}) EXPECT_FALSE(rig.Command(c));
  EXPECT_EQ(rig.area.cuts_asked + rig.area.adjusts + rig.area.cancels, 0);
  EXPECT_EQ(rig.area.frame, FrameStyle::kHidden);
  // The frame's choice holds for the run, and a new area comes unpaused.
  EXPECT_TRUE(rig.Command(kToggleFrame));
  rig.MarkArea();
  EXPECT_EQ(rig.area.frame, FrameStyle::kHidden);
  EXPECT_TRUE(rig.Command(kToggleFrame));
  EXPECT_EQ(rig.area.frame, FrameStyle::kSolid);
}

// --- The status ---------------------------------------------------------------------------

overlay::CutReport Landed(int w, int h, TimeOfDay at) {
  return {overlay::CutOutcome::kLanded, w, h, at, {}};
}
overlay::CutReport Held(std::wstring holder) {
  return {overlay::CutOutcome::kClipboardHeld, 0, 0, {}, std::move(holder)};
}

struct StatusCase {
  const char* name;
  StatusFacts facts;
  std::wstring line;
};

class StatusTest : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusTest, SaysTheStateBelowTheTitle) {
  const StatusCase& c = GetParam();
  EXPECT_EQ(StatusLine(c.facts), c.line);
  EXPECT_EQ(StatusTip(c.facts), c.line.empty() ? L"Pelvanto" : L"Pelvanto\n" + c.line);
}

// An area watched at an interval, with its cuts so far; a flag set on facts.
StatusFacts Watching(int interval, int cuts = 0, std::optional<overlay::CutReport> last = {},
                     std::optional<overlay::CutReport> landed = {}) {
  StatusFacts f;
  f.area_set = true;
  f.interval_seconds = interval;
  f.cuts_made = cuts;
  f.last_cut = std::move(last);
  f.last_landed = std::move(landed);
  return f;
}
StatusFacts With(StatusFacts f, bool StatusFacts::*flag) {
  f.*flag = true;
  return f;
}
StatusFacts Following(StatusFacts f, overlay::FollowState state, std::wstring title = L"记事本") {
  f.follow = {state, std::move(title)};
  return f;
}
overlay::CutReport Outcome(overlay::CutOutcome outcome) {
  overlay::CutReport r;
  r.outcome = outcome;
  return r;
}

const auto kLast = Landed(412, 300, {14, 3, 21});
INSTANTIATE_TEST_SUITE_P(
    States, StatusTest,
    testing::Values(
        StatusCase{"NoArea", StatusFacts{}, L""},
        StatusCase{"FirstCutToCome", Watching(5), L"每 5 秒切图 · 已切 0 张"},
        StatusCase{"Cutting", Watching(5, 12, kLast, kLast),
                   L"每 5 秒切图 · 已切 12 张 · 上次 14:03:21 412×300"},
        StatusCase{"PaceCappedAtTheList", Watching(90), L"每 50 秒切图 · 已切 0 张"},
        StatusCase{"Paused",
                   With(With(Watching(5), &StatusFacts::paused), &StatusFacts::session_locked),
                   L"已暂停"},
        StatusCase{"Adjusting", With(Watching(5), &StatusFacts::adjusting),
                   L"调整选区中，暂停切图"},
        StatusCase{"IntervalZero", Watching(0), L"间隔为 0，不切图"},
        StatusCase{"Locked", With(Watching(5), &StatusFacts::session_locked),
                   L"会话已锁定，暂停切图"},
        StatusCase{"HeldByNamedProgram", Watching(5, 3, Held(L"notepad.exe"), kLast),
                   L"剪贴板被 notepad.exe 占用，上次未切"},
        StatusCase{"HeldByUnreadableProgram", Watching(5, 0, Held(L"")), L"剪贴板被占用，上次未切"},
        StatusCase{"CopyFailed", Watching(5, 0, Outcome(overlay::CutOutcome::kFailed)),
                   L"屏幕未能复制，上次未切"},
        StatusCase{"FollowingNamesTheWindow",
                   Following(Watching(5), overlay::FollowState::kFollowing),
                   L"跟随“记事本” · 每 5 秒切图 · 已切 0 张"},
        StatusCase{"FollowingALongTitleCutShort",
                   Following(Watching(5), overlay::FollowState::kFollowing,
                             L"一个非常非常非常非常非常长的窗口标题"),
                   L"跟随“一个非常非常非常非常非常长的窗\u2026” · 每 5 秒切图 · 已切 0 张"},
        StatusCase{"DrawnAreaNotFollowed", Following(Watching(5), overlay::FollowState::kOff),
                   L"每 5 秒切图 · 已切 0 张"},
        StatusCase{"WindowMinimised", Following(Watching(5), overlay::FollowState::kMinimised),
                   L"窗口已最小化，暂停切图"},
        StatusCase{"WindowOnNoMonitor", Following(Watching(5), overlay::FollowState::kOffMonitors),
                   L"窗口不在任何显示器上，暂停切图"},
        StatusCase{"WindowClosedEvenWhenPaused",
                   Following(With(Watching(5), &StatusFacts::paused), overlay::FollowState::kGone),
                   L"跟随的窗口已关闭，暂停切图"},
        StatusCase{"WindowMovedDuringTheCopy",
                   Following(Watching(5, 0, Outcome(overlay::CutOutcome::kWindowMoved)),
                             overlay::FollowState::kFollowing),
                   L"窗口移动中，上次未切"},
        StatusCase{"UnlockedAgain",
                   Watching(5, 1, Outcome(overlay::CutOutcome::kSessionLocked), kLast),
                   L"每 5 秒切图 · 已切 1 张 · 上次 14:03:21 412×300"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(StatusTest, ReportsCountLandedCutsOnly) {
  SteeringRig rig;
  rig.MarkArea();
  rig.steering.OnCutReport(Landed(10, 20, {9, 5, 7}));
  rig.steering.OnCutReport(Held(L"clip.exe"));
  const StatusFacts facts = rig.steering.Status(5);
  EXPECT_EQ(facts.cuts_made, 1);
  EXPECT_EQ(StatusLine(facts), L"剪贴板被 clip.exe 占用，上次未切");
  rig.steering.OnCutReport(Landed(11, 21, {9, 5, 9}));
  EXPECT_EQ(StatusLine(rig.steering.Status(5)), L"每 5 秒切图 · 已切 2 张 · 上次 09:05:09 11×21");
  rig.steering.OnAreaGone();
  rig.MarkArea();  // a new capture counts anew
  EXPECT_EQ(StatusLine(rig.steering.Status(5)), L"每 5 秒切图 · 已切 0 张");
}

struct FitCase {
  const char* name;
  std::wstring text;
  std::size_t units;
  std::wstring fitted;
};

class FitTipTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitTipTest, CutsToTheUnitsNeverInsideASurrogatePair) {
  const FitCase& c = GetParam();
  EXPECT_EQ(FitTip(c.text, c.units), c.fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FitTipTest,
    testing::Values(FitCase{"Fits", L"abc", 3, L"abc"}, FitCase{"Cut", L"abcdef", 4, L"abc…"},
                    // U+1F600 is the pair D83D DE00.
                    FitCase{"PairKeptWhole", L"ab\xD83D\xDE00xy", 5, L"ab\xD83D\xDE00…"},
                    FitCase{"PairLeftOut", L"abc\xD83D\xDE00x", 5, L"abc…"},
                    FitCase{"NoRoom", L"abc", 0, L""}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace pelvanto::app
