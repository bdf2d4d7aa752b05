#include "app/capture_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/interval.h"
#include "fakes/fakes.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::app {
namespace {

using fakes::CallLog;

constexpr WindowId kMainWindow = 0xA100;
constexpr std::uintptr_t kMainIcon = 0xB200;

// The window as the user sees it.
class FakeMainView : public MainView {
 public:
  explicit FakeMainView(CallLog& log) : log_(log) {}
  void SetCaptureCaption(std::wstring_view text) override { caption = text; }
  void SetIntervalText(std::wstring_view text) override {
    interval_text = text;
    ++interval_sets;
  }
  void Hide() override {
    visible = false;
    log_.push_back("hide");
  }
  void ShowNoActivate() override {
    visible = true;
    log_.push_back("show no activate");
  }
  void Show() override {
    visible = true;
    log_.push_back("show");
  }
  TrayRecord OwnTrayRecord() const override { return {kMainWindow, 0, icon, L"not the tip"}; }
  void EndProgram() override { log_.push_back("end"); }

  std::wstring caption{kStartCaption};
  std::wstring interval_text{kInitialInterval};
  int interval_sets = 0;
  bool visible = true;
  std::uintptr_t icon = kMainIcon;  // replaced at a DPI change

 private:
  CallLog& log_;
};

// The single overlay as the main window reaches it: closing stops the auto-cut timer, as the
// real overlay does.
class FakeOverlayControl : public OverlayControl {
 public:
  FakeOverlayControl(CallLog& log, Timer& auto_cut_timer)
      : log_(log), auto_cut_timer_(auto_cut_timer) {}
  bool Open() override {
    log_.push_back("overlay open");
    ++open_requests;
    if (failure == Failure::kNoWindow) return false;
    if (!is_open) {
      is_open = true;
      ++opens;
    }
    // An overlay was made, but it could not copy the screen and closed itself.
    if (failure == Failure::kNoScreenCopy) CloseItself();
    return is_open;
  }
  void Close() override {
    log_.push_back("overlay close");
    ++close_requests;
    CloseItself();
  }
  bool IsOpen() const override { return is_open; }
  // A cut asked for is under way until the overlay's cut timer ticks (MakeCut).
  void StartCut() override {
    ++cuts;
    cut_under_way = true;
  }
  void CancelCut() override {
    ++cancels;
    cut_under_way = false;
  }
  bool CutUnderWay() const override { return cut_under_way; }
  void MakeCut() { cut_under_way = false; }
  bool Adjust() override { return is_open; }
  void ShowFrame(FrameStyle style) override { frame = style; }
  void CheckFollowed() override {}
  bool SetFollowing(bool) override { return false; }

  // The overlay's own exit button, or any other closing path of its own.
  void CloseItself() {
    if (!is_open) return;
    is_open = false;
    auto_cut_timer_.SetEnabled(false);
  }
  // The overlay's "copy and exit": the auto-cut pace starts.
  void CopyAndExit() { auto_cut_timer_.SetEnabled(true); }

  enum class Failure { kNone, kNoWindow, kNoScreenCopy };
  Failure failure = Failure::kNone;  // how the next openings fail
  bool is_open = false;
  bool cut_under_way = false;
  int open_requests = 0, opens = 0, close_requests = 0, cuts = 0, cancels = 0;
  FrameStyle frame = FrameStyle::kHidden;

 private:
  CallLog& log_;
  Timer& auto_cut_timer_;
};

class LoggingShell : public fakes::FakeShell {
 public:
  explicit LoggingShell(CallLog& log) : log_(log) {}
  void Unsubscribe() override {
    log_.push_back("unsubscribe");
    FakeShell::Unsubscribe();
  }

 private:
  CallLog& log_;
};

class LoggingTray : public fakes::FakeTray {
 public:
  explicit LoggingTray(CallLog& log) : log_(log) {}
  bool Add(const TrayRecord& record) override {
    log_.push_back("tray add");
    return FakeTray::Add(record);
  }
  void Delete(const TrayRecord& record) override {
    log_.push_back("tray delete");
    FakeTray::Delete(record);
  }

 private:
  CallLog& log_;
};

struct MainRig {
  MainRig() { window.Start(); }

  CallLog log;
  fakes::FakeTimer auto_cut, title_watch, pointer_reset;
  FakeMainView view{log};
  FakeOverlayControl overlay{log, auto_cut};
  fakes::FakePointer pointer;
  LoggingTray tray{log};
  LoggingShell shell{log};
  fakes::FakeWindowInfo queries;
  fakes::FakeClipboard clipboard;
  tracking::ChatTracker tracker{queries, clipboard};
  fakes::FakeHotkeyBoard hotkeys;
  CaptureControl window{view,    overlay, {auto_cut, title_watch, pointer_reset},
                        pointer, tray,    shell,
                        tracker, hotkeys};

  // Started, the selection made and "copy and exit" pressed: the pace runs.
  void StartAutoCut() {
    window.OnCaptureClick();
    overlay.CopyAndExit();
  }
  void Press(Hotkey key) { window.OnHotkey(static_cast<int>(key)); }
};

// --- Start-up

TEST(CaptureControlTest, LoadSubscribesToTheShellAndStartsOnlyTheChatWatch) {
  MainRig rig;
  EXPECT_TRUE(rig.shell.subscribed);
  EXPECT_TRUE(rig.title_watch.Enabled());
  EXPECT_EQ(rig.title_watch.Interval(), 1000U);
  EXPECT_FALSE(rig.auto_cut.Enabled());
  EXPECT_EQ(rig.auto_cut.Interval(), 1000U);
  EXPECT_FALSE(rig.pointer_reset.Enabled());
  EXPECT_EQ(rig.pointer_reset.Interval(), 10U);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_EQ(rig.window.IntervalSeconds(), 2);
}

// --- The interval text

struct IntervalCase {
  std::wstring typed;
  std::wstring kept;
};

class IntervalChangeTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(IntervalChangeTest, TextOutside0To50TurnsInto0AtOnce) {
  MainRig rig;
  rig.window.OnIntervalChange(GetParam().typed);
  EXPECT_EQ(rig.window.IntervalSeconds(), ParseInterval(GetParam().kept));
  // The window is told only when the text is replaced.
  const bool replaced = GetParam().kept != GetParam().typed;
  EXPECT_EQ(rig.view.interval_sets, replaced ? 1 : 0);
  if (replaced) {
    EXPECT_EQ(rig.view.interval_text, L"0");
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, IntervalChangeTest,
                         testing::Values(IntervalCase{L"0.4", L"0.4"},
                                         IntervalCase{L"49.6", L"49.6"}, IntervalCase{L"50", L"50"},
                                         IntervalCase{L"0", L"0"}, IntervalCase{L"51", L"0"},
                                         IntervalCase{L"-1", L"0"}, IntervalCase{L"50.5", L"0"},
                                         IntervalCase{L"abc", L"abc"}, IntervalCase{L"  7", L"  7"},
                                         IntervalCase{L"", L""}));

// --- The auto-cut pace

struct PaceCase {
  std::wstring text;
  bool cuts;
  unsigned interval;  // the auto-cut timer's interval after the tick
};

class AutoCutPaceTest : public testing::TestWithParam<PaceCase> {};

TEST_P(AutoCutPaceTest, EachTickCutsOnceAndSetsTheNextIntervalOrDoesNothing) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnIntervalChange(GetParam().text);

  rig.window.OnAutoCutTimer();

  EXPECT_EQ(rig.overlay.cuts, GetParam().cuts ? 1 : 0);
  EXPECT_EQ(rig.auto_cut.Interval(), GetParam().interval);
  EXPECT_TRUE(rig.auto_cut.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AutoCutPaceTest,
    testing::Values(PaceCase{L"2", true, 2000}, PaceCase{L"36", true, 36000},
                    PaceCase{L"50", true, 50000}, PaceCase{L"49.6", true, 50000},
                    PaceCase{L"2.5", true, 2000}, PaceCase{L"3.5", true, 4000},
                    PaceCase{L" 1", true, 1000},
                    // No cut, and the design interval stays.
                    PaceCase{L"0", false, 1000}, PaceCase{L"0.4", false, 1000},
                    PaceCase{L"0.5", false, 1000}, PaceCase{L"abc", false, 1000},
                    PaceCase{L"51", false, 1000}, PaceCase{L"-1", false, 1000}));

TEST(CaptureControlTest, ZeroPausesAtTheLastIntervalAndAPositiveValueResumes) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnIntervalChange(L"5");
  rig.window.OnAutoCutTimer();
  ASSERT_EQ(rig.overlay.cuts, 1);

  rig.window.OnIntervalChange(L"0");
  rig.window.OnAutoCutTimer();
  rig.window.OnAutoCutTimer();
  EXPECT_EQ(rig.overlay.cuts, 1);
  EXPECT_EQ(rig.auto_cut.Interval(), 5000U);
  EXPECT_TRUE(rig.auto_cut.Enabled());

  rig.window.OnIntervalChange(L"3");
  rig.window.OnAutoCutTimer();
  EXPECT_EQ(rig.overlay.cuts, 2);
  EXPECT_EQ(rig.auto_cut.Interval(), 3000U);
}

TEST(CaptureControlTest, TheLastIntervalCarriesOverToTheNextOverlay) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnIntervalChange(L"7");
  rig.window.OnAutoCutTimer();
  rig.window.OnCaptureClick();  // stop: the overlay's close stops the pace
  ASSERT_FALSE(rig.auto_cut.Enabled());

  rig.StartAutoCut();
  EXPECT_EQ(rig.auto_cut.Interval(), 7000U);
  EXPECT_TRUE(rig.auto_cut.Enabled());
}

// --- Starting and stopping

TEST(CaptureControlTest, StartHidesIntoTheTrayShowsTheOverlayAndOffersStop) {
  MainRig rig;
  rig.window.OnCaptureClick();

  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0], (TrayRecord{kMainWindow, kMainTrayId, kMainIcon, L"Pelvanto"}));
  EXPECT_FALSE(rig.view.visible);
  // The icon waits until the overlay is up; the hide comes first, so the picture is clean.
  EXPECT_EQ(rig.log, (CallLog{"hide", "overlay open", "tray add"}));
  EXPECT_EQ(rig.overlay.opens, 1);
  EXPECT_TRUE(rig.overlay.IsOpen());
  EXPECT_EQ(rig.window.CaptureCaption(), kStopCaption);
  EXPECT_EQ(rig.view.caption, kStopCaption);
}

class FailedStartTest : public testing::TestWithParam<FakeOverlayControl::Failure> {};

TEST_P(FailedStartTest, BringsTheWindowBackIdleWithNoIconAndTheNextStartTriesAgain) {
  MainRig rig;
  rig.overlay.failure = GetParam();
  rig.pointer.Set(Pointer::kCrosshair);
  rig.window.OnCaptureClick();

  EXPECT_EQ(rig.log, (CallLog{"hide", "overlay open", "show"}));
  EXPECT_TRUE(rig.view.visible);
  EXPECT_EQ(rig.view.caption, kStartCaption);
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.window.TrayShown());
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
  EXPECT_FALSE(rig.overlay.IsOpen());
  EXPECT_FALSE(rig.auto_cut.Enabled());

  rig.overlay.failure = FakeOverlayControl::Failure::kNone;
  rig.window.OnCaptureClick();
  EXPECT_TRUE(rig.overlay.IsOpen());
  EXPECT_EQ(rig.view.caption, kStopCaption);
  EXPECT_EQ(rig.tray.icons.size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedStartTest,
                         testing::Values(FakeOverlayControl::Failure::kNoWindow,
                                         FakeOverlayControl::Failure::kNoScreenCopy),
                         [](const auto& param) {
                           return param.param == FakeOverlayControl::Failure::kNoWindow
                                      ? std::string("NoOverlayWindow")
                                      : std::string("NoScreenCopy");
                         });

TEST(CaptureControlTest, StopClosesTheOverlayAndResetsThePointer) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.window.OnTrayDoubleClick();
  rig.pointer.Set(Pointer::kCrosshair);

  rig.window.OnCaptureClick();

  EXPECT_EQ(rig.overlay.close_requests, 1);
  EXPECT_FALSE(rig.overlay.IsOpen());
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_EQ(rig.view.caption, kStartCaption);
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
}

TEST(CaptureControlTest, AfterTheOverlayClosedItselfStopOnlyChangesTheCaptionAndStartWorksAgain) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.overlay.CloseItself();  // its own exit button
  ASSERT_FALSE(rig.overlay.IsOpen());

  rig.window.OnCaptureClick();
  EXPECT_EQ(rig.overlay.close_requests, 0);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_EQ(rig.overlay.open_requests, 1);

  rig.window.OnCaptureClick();
  EXPECT_EQ(rig.overlay.opens, 2);
  EXPECT_TRUE(rig.overlay.IsOpen());
  EXPECT_EQ(rig.window.CaptureCaption(), kStopCaption);
}

TEST(CaptureControlTest, ClicksAlternateStartAndStopWithAFreshOverlayEachStart) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  // Two full rounds, each with its own fresh overlay.
  EXPECT_EQ(rig.overlay.opens, 2);
  EXPECT_EQ(rig.overlay.close_requests, 2);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
}

// --- Shut-down

TEST(CaptureControlTest, ShutdownUnhooksClosesTheOverlayRemovesTheIconThenEnds) {
  MainRig rig;
  rig.window.OnCaptureClick();  // hidden, icon shown, overlay open
  rig.log.clear();

  rig.window.Shutdown();

  EXPECT_EQ(rig.log, (CallLog{"unsubscribe", "overlay close", "tray delete", "end"}));
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.overlay.IsOpen());
  EXPECT_FALSE(rig.auto_cut.Enabled());
}

TEST(CaptureControlTest, ShutdownWithoutAnOverlayRunsOnceThoughAskedTwice) {
  MainRig rig;
  rig.window.OnExitClick();
  rig.window.Shutdown();  // the close box after the exit button
  EXPECT_EQ(rig.log, (CallLog{"unsubscribe", "tray delete", "end"}));
  EXPECT_EQ(rig.shell.unsubscribes, 1);
}

// --- Hiding into the tray and coming back

TEST(CaptureControlTest, MinimisingHidesIntoTheTrayWhileOtherResizesOnlyResetThePointer) {
  MainRig rig;
  rig.pointer.Set(Pointer::kMove);
  rig.window.OnResize(false);
  EXPECT_EQ(rig.pointer.current, Pointer::kDefault);
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_TRUE(rig.view.visible);

  rig.window.OnResize(true);
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0].tip, L"Pelvanto");
  EXPECT_FALSE(rig.view.visible);
  EXPECT_TRUE(rig.window.TrayShown());
}

TEST(CaptureControlTest, EveryRestoreShowsTheWindowDropsTheIconAndSettlesThePointerFor11Ticks) {
  MainRig rig;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    rig.window.OnResize(true);
    rig.log.clear();

    rig.window.OnTrayDoubleClick();
    EXPECT_EQ(rig.log, (CallLog{"show no activate", "show", "tray delete"}));
    EXPECT_TRUE(rig.view.visible);
    EXPECT_TRUE(rig.tray.icons.empty());
    EXPECT_FALSE(rig.window.TrayShown());
    ASSERT_TRUE(rig.pointer_reset.Enabled());

    for (int tick = 1; tick <= 11; ++tick) {
      rig.pointer.Set(Pointer::kCrosshair);
      rig.window.OnPointerResetTimer();
      EXPECT_EQ(rig.pointer.current, Pointer::kDefault) << tick;
      EXPECT_EQ(rig.pointer_reset.Enabled(), tick < 11) << tick;
      EXPECT_EQ(rig.window.PointerResetTicks(), tick < 11 ? tick : 0) << tick;
    }
  }
}

TEST(CaptureControlTest, ARecreatedTaskbarGetsTheIconBackOnlyWhileItIsShown) {
  MainRig rig;
  rig.window.OnTaskbarCreated();
  EXPECT_EQ(rig.tray.adds, 0);

  rig.window.OnResize(true);
  rig.tray.icons.clear();  // the shell restarted and lost it
  rig.window.OnTaskbarCreated();
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0].tip, L"Pelvanto");

  rig.window.OnTrayDoubleClick();
  rig.window.OnTaskbarCreated();
  EXPECT_TRUE(rig.tray.icons.empty());
}

TEST(CaptureControlTest, AnIconTheShellRefusedIsOfferedAgainWhenTheTaskbarComesBack) {
  MainRig rig;
  rig.tray.refuse = true;
  rig.window.OnResize(true);
  EXPECT_FALSE(rig.view.visible);  // hidden all the same

  rig.tray.refuse = false;
  rig.window.OnTaskbarCreated();
  EXPECT_EQ(rig.tray.icons.size(), 1U);
}

TEST(CaptureControlTest, ANewIconReplacesTheOldInTheRecordShownOrNot) {
  constexpr std::uintptr_t kDpiIcon = 0xB300;
  for (const bool shown : {true, false}) {
    MainRig rig;
    rig.window.OnResize(true);
    if (!shown) rig.window.OnTrayDoubleClick();
    rig.view.icon = kDpiIcon;
    rig.window.OnIconChanged();
    EXPECT_EQ(rig.tray.modifies, shown ? 1 : 0) << shown;
    EXPECT_EQ(rig.tray.adds, 1) << shown;  // changed in place, not added again

    // What the taskbar gets back, or the next hide open_requests, is the live icon.
    if (shown) {
      rig.tray.icons.clear();
      rig.window.OnTaskbarCreated();
    } else {
      rig.window.OnResize(true);
    }
    ASSERT_EQ(rig.tray.icons.size(), 1U) << shown;
    EXPECT_EQ(rig.tray.icons[0].icon, kDpiIcon) << shown;
    EXPECT_EQ(rig.tray.icons[0].id, kMainTrayId) << shown;
  }
}

// --- The chat-title watch

TEST(CaptureControlTest, TitleWatchEmptiesTheClipboardWhenTheChatTitleChanges) {
  MainRig rig;
  constexpr WindowId kChat = 0x77;
  rig.queries.paths[kChat] = L"c:\\program files\\tencent\\qq\\bin\\qq.exe";
  rig.queries.titles[kChat] = L"张三";
  rig.tracker.OnActivate(kChat);

  rig.window.OnTitleWatchTimer();
  EXPECT_EQ(rig.clipboard.empties, 1);
  rig.window.OnTitleWatchTimer();
  EXPECT_EQ(rig.clipboard.empties, 1);

  rig.queries.titles[kChat] = L"技术交流群等5人";
  rig.window.OnTitleWatchTimer();
  EXPECT_EQ(rig.clipboard.empties, 2);
}

// --- The icons' menu and the status tip

const std::wstring& Tip(const MainRig& rig) { return rig.tray.icons.at(0).tip; }

TEST(CaptureControlMenuTest, CommandsRunWhileTheyApplyAndTheTipFollowsTheState) {
  MainRig rig;
  rig.window.OnMenuCommand(MenuCommand::kStopCapture);  // idle: nothing to stop
  EXPECT_EQ(rig.overlay.open_requests, 0);
  rig.StartAutoCut();
  rig.window.OnAreaSet();
  EXPECT_EQ(Tip(rig), L"Pelvanto\n每 2 秒切图 · 已切 0 张");
  EXPECT_EQ(rig.overlay.frame, FrameStyle::kSolid);

  rig.window.OnMenuCommand(MenuCommand::kCutNow);
  EXPECT_EQ(rig.overlay.cuts, 1);
  rig.window.OnCut({overlay::CutOutcome::kLanded, 412, 300, {14, 3, 21}, {}});
  EXPECT_EQ(Tip(rig), L"Pelvanto\n每 2 秒切图 · 已切 1 张 · 上次 14:03:21 412×300");
  const int modifies = rig.tray.modifies;
  rig.window.OnTitleWatchTimer();  // nothing changed: the shell is not asked
  EXPECT_EQ(rig.tray.modifies, modifies);

  rig.window.OnMenuCommand(MenuCommand::kPause);
  EXPECT_FALSE(rig.auto_cut.Enabled());
  EXPECT_EQ(Tip(rig), L"Pelvanto\n已暂停");
  rig.window.OnAutoCutTimer();
  EXPECT_EQ(rig.overlay.cuts, 1);
  rig.window.OnSessionChange(false);
  rig.window.OnMenuCommand(MenuCommand::kResume);
  EXPECT_EQ(Tip(rig), L"Pelvanto\n会话已锁定，暂停切图");
  rig.window.OnMenuCommand(MenuCommand::kAdjust);  // greyed while locked
  rig.window.OnSessionChange(true);

  // "切图结束" from the menu stops as the button does; a command posted before does nothing.
  rig.window.OnMenuCommand(MenuCommand::kStopCapture);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_FALSE(rig.overlay.IsOpen());
  EXPECT_EQ(rig.overlay.frame, FrameStyle::kHidden);
  rig.window.OnMenuCommand(MenuCommand::kCutNow);
  EXPECT_EQ(rig.overlay.cuts, 1);
  rig.window.OnMenuCommand(MenuCommand::kExit);
  EXPECT_EQ(rig.log.back(), "end");
}

TEST(CaptureControlMenuTest, AdjustingFromTheShownMainWindowHidesItFirst) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnAreaSet();
  rig.window.OnTrayDoubleClick();  // the main window is back, its icon gone
  ASSERT_TRUE(rig.view.visible);
  rig.window.OnMenuCommand(MenuCommand::kAdjust);  // from the overlay's icon
  EXPECT_FALSE(rig.view.visible);
  EXPECT_TRUE(rig.window.TrayShown());
  EXPECT_EQ(Tip(rig), L"Pelvanto\n调整选区中，暂停切图");
}

// --- Hotkeys

TEST(CaptureControlHotkeyTest, EachKeyActsAsItsItemAndAGreyedItemsKeyDoesNothing) {
  MainRig rig;
  EXPECT_EQ(rig.hotkeys.held.size(), 4U);  // asked for at the start
  // Idle: only the start key does anything.
  rig.Press(Hotkey::kCutNow);
  rig.Press(Hotkey::kAdjust);
  EXPECT_EQ(rig.overlay.cuts, 0);
  rig.Press(Hotkey::kStartCapture);
  EXPECT_EQ(rig.overlay.opens, 1);
  EXPECT_FALSE(rig.view.visible);
  // The first freeze is on the screen: no key reaches it, not even a second start.
  for (Hotkey k : {Hotkey::kStartCapture, Hotkey::kCutNow, Hotkey::kPauseResume, Hotkey::kAdjust})
    rig.Press(k);
  EXPECT_EQ(rig.overlay.open_requests, 1);
  EXPECT_EQ(rig.overlay.cuts + rig.overlay.cancels, 0);

  rig.overlay.CopyAndExit();
  rig.window.OnAreaSet();
  // Held down: the repeats while the first cut is under way are dropped.
  for (int i = 0; i < 3; ++i) rig.Press(Hotkey::kCutNow);
  EXPECT_EQ(rig.overlay.cuts, 1);
  rig.overlay.MakeCut();
  rig.Press(Hotkey::kCutNow);
  EXPECT_EQ(rig.overlay.cuts, 2);
  rig.overlay.MakeCut();

  rig.Press(Hotkey::kPauseResume);
  EXPECT_FALSE(rig.auto_cut.Enabled());
  rig.Press(Hotkey::kCutNow);  // paused: the clipboard is left alone
  EXPECT_EQ(rig.overlay.cuts, 2);
  rig.Press(Hotkey::kPauseResume);
  EXPECT_TRUE(rig.auto_cut.Enabled());
  rig.window.OnHotkey(0);  // no hotkey of ours
  EXPECT_EQ(rig.overlay.cuts, 2);
}

TEST(CaptureControlHotkeyTest, ATakenKeyIsInTheTipAndOffTheMenuAndAskedForAgainLater) {
  MainRig taken;
  // Another program took the key; Explorer came back, and the program asked again.
  taken.hotkeys.taken = {kHotkeys[1].keys};
  taken.window.OnTaskbarCreated();
  taken.StartAutoCut();
  taken.window.OnAreaSet();
  EXPECT_EQ(Tip(taken), L"Pelvanto\n每 2 秒切图 · 已切 0 张\n热键 Ctrl+Alt+F8 已被占用");
  std::vector<std::wstring> keys;
  for (const MenuEntry& e : taken.window.TrayMenu()) keys.emplace_back(e.keys);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"", L"", L"Ctrl+Alt+F9", L"Ctrl+Alt+F10", L"", L"",
                                             L"", L""}));

  // Let go of while the session was locked: the unlock takes it.
  taken.window.OnSessionChange(false);
  taken.hotkeys.taken.clear();
  const int asked = taken.hotkeys.registrations;
  taken.window.OnSessionChange(false);  // still locked: nothing asked
  EXPECT_EQ(taken.hotkeys.registrations, asked);
  taken.window.OnSessionChange(true);
  EXPECT_EQ(taken.hotkeys.held.size(), 4U);
  EXPECT_EQ(Tip(taken), L"Pelvanto\n每 2 秒切图 · 已切 0 张");
  EXPECT_EQ(taken.window.TrayMenu()[1].keys, L"Ctrl+Alt+F8");

  // Every way out gives them all back, and a late press does nothing.
  taken.window.Shutdown();
  EXPECT_TRUE(taken.hotkeys.held.empty());
  taken.Press(Hotkey::kCutNow);
  EXPECT_EQ(taken.overlay.cuts, 0);
}

TEST(CaptureControlHotkeyTest, ASecondStartBringsTheWindowBackAsTheDoubleClickButNotWhileEnding) {
  MainRig rig;
  rig.StartAutoCut();
  ASSERT_TRUE(rig.window.TrayShown());
  EXPECT_TRUE(rig.window.OnSecondStart());
  EXPECT_TRUE(rig.view.visible);
  EXPECT_FALSE(rig.window.TrayShown());
  EXPECT_TRUE(rig.pointer_reset.Enabled());
  rig.window.Shutdown();
  EXPECT_FALSE(rig.window.OnSecondStart());
}

}  // namespace
}  // namespace pelvanto::app
