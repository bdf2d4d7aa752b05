#include "app/main_window.h"

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
class FakeMainWindowView : public MainWindowView {
 public:
  explicit FakeMainWindowView(CallLog& log) : log_(log) {}
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
  TrayRecord OwnTrayRecord() const override {
    return {kMainWindow, 0, icon, L"not the tip"};
  }
  void EndProgram() override { log_.push_back("end"); }

  std::wstring caption{kStartCaption};
  std::wstring interval_text{kInitialInterval};
  int interval_sets = 0;
  bool visible = true;
  std::uintptr_t icon = kMainIcon;  // replaced at a DPI change

 private:
  CallLog& log_;
};

// The single overlay as the main window reaches it: loading sets the overlay-open flag, unloading
// clears it and stops the auto-cut timer, as the real overlay does.
class FakeOverlayControl : public OverlayControl {
 public:
  FakeOverlayControl(CallLog& log, bool& overlay_open, Timer& auto_cut_timer)
      : log_(log), overlay_open_(overlay_open), auto_cut_timer_(auto_cut_timer) {}
  void Show() override {
    log_.push_back("overlay show");
    ++shows;
    if (!loaded) {
      loaded = true;
      ++loads;
      overlay_open_ = true;
    }
  }
  void Unload() override {
    log_.push_back("overlay unload");
    flag_at_unload.push_back(overlay_open_);
    Close();
  }
  void StartCut() override { ++cuts; }

  // The overlay's own exit button, or any other closing path of its own.
  void Close() {
    if (!loaded) return;
    loaded = false;
    overlay_open_ = false;
    auto_cut_timer_.SetEnabled(false);
  }
  // The overlay's "copy and exit": the auto-cut pace starts.
  void CopyAndExit() { auto_cut_timer_.SetEnabled(true); }

  bool loaded = false;
  int shows = 0, loads = 0, cuts = 0;
  std::vector<bool> flag_at_unload;  // the overlay-open flag as each unload found it

 private:
  CallLog& log_;
  bool& overlay_open_;
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
  bool overlay_open = false;
  fakes::FakeTimer auto_cut, title_watch, pointer_reset, tray_icon;
  FakeMainWindowView view{log};
  FakeOverlayControl overlay{log, overlay_open, auto_cut};
  fakes::FakePointer pointer;
  LoggingTray tray{log};
  LoggingShell shell{log};
  fakes::FakeWindowInfo queries;
  fakes::FakeClipboard clipboard;
  tracking::ChatTracker tracker{queries, clipboard};
  MainWindow window{view,  overlay, {auto_cut, title_watch, pointer_reset, tray_icon}, pointer, tray,
                    shell, tracker, overlay_open};

  // Started, the selection made and "copy and exit" pressed: the pace runs.
  void StartAutoCut() {
    window.OnCaptureClick();
    overlay.CopyAndExit();
  }
};

// --- Start-up

TEST(MainWindowTest, LoadSubscribesToTheShellAndStartsOnlyTheChatWatch) {
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

INSTANTIATE_TEST_SUITE_P(
    Texts, IntervalChangeTest,
    testing::Values(IntervalCase{L"0.4", L"0.4"}, IntervalCase{L"49.6", L"49.6"},
                    IntervalCase{L"50", L"50"}, IntervalCase{L"0", L"0"},
                    IntervalCase{L"51", L"0"}, IntervalCase{L"-1", L"0"},
                    IntervalCase{L"50.5", L"0"}, IntervalCase{L"abc", L"abc"},
                    IntervalCase{L"  7", L"  7"}, IntervalCase{L"", L""}));

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

TEST(MainWindowTest, ZeroPausesAtTheLastIntervalAndAPositiveValueResumes) {
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

TEST(MainWindowTest, TheLastIntervalCarriesOverToTheNextOverlay) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnIntervalChange(L"7");
  rig.window.OnAutoCutTimer();
  rig.window.OnCaptureClick();  // stop: the overlay's unload stops the pace
  ASSERT_FALSE(rig.auto_cut.Enabled());

  rig.StartAutoCut();
  EXPECT_EQ(rig.auto_cut.Interval(), 7000U);
  EXPECT_TRUE(rig.auto_cut.Enabled());
}

// --- Starting and stopping

TEST(MainWindowTest, StartHidesIntoTheTrayShowsTheOverlayAndOffersStop) {
  MainRig rig;
  rig.window.OnCaptureClick();

  // The hide comes first, so the picture is clean; the icon a tick after the overlay is up.
  EXPECT_FALSE(rig.view.visible);
  EXPECT_EQ(rig.log, (CallLog{"hide", "overlay show"}));
  EXPECT_TRUE(rig.tray_icon.Enabled());
  EXPECT_EQ(rig.tray_icon.Interval(), 100U);
  rig.window.OnTrayIconTimer();
  rig.window.OnTrayIconTimer();  // a late second tick adds nothing
  EXPECT_FALSE(rig.tray_icon.Enabled());
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0],
            (TrayRecord{kMainWindow, kMainTrayId, kMainIcon, L"Pelvanto"}));
  EXPECT_EQ(rig.log, (CallLog{"hide", "overlay show", "tray add"}));
  EXPECT_EQ(rig.overlay.loads, 1);
  EXPECT_TRUE(rig.overlay_open);
  EXPECT_EQ(rig.window.CaptureCaption(), kStopCaption);
  EXPECT_EQ(rig.view.caption, kStopCaption);
}

TEST(MainWindowTest, StopClearsTheFlagThenUnloadsTheOverlayAndResetsThePointer) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.window.OnTrayDoubleClick();
  rig.pointer.Set(Pointer::Crosshair);

  rig.window.OnCaptureClick();

  EXPECT_EQ(rig.overlay.flag_at_unload, std::vector<bool>{false});
  EXPECT_FALSE(rig.overlay.loaded);
  EXPECT_FALSE(rig.overlay_open);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_EQ(rig.view.caption, kStartCaption);
  EXPECT_EQ(rig.pointer.current, Pointer::Default);
}

TEST(MainWindowTest, AfterTheOverlayClosedItselfStopOnlyChangesTheCaptionAndStartWorksAgain) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.overlay.Close();  // its own exit button
  ASSERT_FALSE(rig.overlay_open);

  rig.window.OnCaptureClick();
  EXPECT_TRUE(rig.overlay.flag_at_unload.empty());
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
  EXPECT_EQ(rig.overlay.shows, 1);

  rig.window.OnCaptureClick();
  EXPECT_EQ(rig.overlay.loads, 2);
  EXPECT_TRUE(rig.overlay_open);
  EXPECT_EQ(rig.window.CaptureCaption(), kStopCaption);
}

TEST(MainWindowTest, ClicksAlternateStartAndStopWithAFreshOverlayEachStart) {
  MainRig rig;
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  rig.window.OnCaptureClick();
  // Two full rounds, each with its own fresh overlay.
  EXPECT_EQ(rig.overlay.loads, 2);
  EXPECT_EQ(rig.overlay.flag_at_unload.size(), 2U);
  EXPECT_EQ(rig.window.CaptureCaption(), kStartCaption);
}

// --- Shut-down

TEST(MainWindowTest, UnloadUnhooksUnloadsTheOverlayRemovesTheIconThenEnds) {
  MainRig rig;
  rig.window.OnCaptureClick();  // hidden, overlay loaded
  rig.window.OnTrayIconTimer();  // icon shown
  rig.log.clear();

  rig.window.Shutdown();

  EXPECT_EQ(rig.log, (CallLog{"unsubscribe", "overlay unload", "tray delete", "end"}));
  rig.window.OnTrayIconTimer();  // a tick that was already queued
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.overlay_open);
  EXPECT_FALSE(rig.auto_cut.Enabled());
}

TEST(MainWindowTest, UnloadWithoutAnOverlayRunsOnceThoughAskedTwice) {
  MainRig rig;
  rig.window.OnExitClick();
  rig.window.Shutdown();  // the close box after the exit button
  EXPECT_EQ(rig.log, (CallLog{"unsubscribe", "tray delete", "end"}));
  EXPECT_EQ(rig.shell.unsubscribes, 1);
}

// --- Hiding into the tray and coming back

TEST(MainWindowTest, MinimisingHidesIntoTheTrayWhileOtherResizesOnlyResetThePointer) {
  MainRig rig;
  rig.pointer.Set(Pointer::Move);
  rig.window.OnResize(false);
  EXPECT_EQ(rig.pointer.current, Pointer::Default);
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_TRUE(rig.view.visible);

  rig.window.OnResize(true);
  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0].tip, L"Pelvanto");
  EXPECT_FALSE(rig.view.visible);
  EXPECT_TRUE(rig.window.TrayShown());
}

TEST(MainWindowTest, EveryRestoreShowsTheWindowDropsTheIconAndSettlesThePointerFor11Ticks) {
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
      rig.pointer.Set(Pointer::Crosshair);
      rig.window.OnPointerResetTimer();
      EXPECT_EQ(rig.pointer.current, Pointer::Default) << tick;
      EXPECT_EQ(rig.pointer_reset.Enabled(), tick < 11) << tick;
      EXPECT_EQ(rig.window.PointerResetTicks(), tick < 11 ? tick : 0) << tick;
    }
  }
}

TEST(MainWindowTest, ARecreatedTaskbarGetsTheIconBackOnlyWhileItIsShown) {
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

TEST(MainWindowTest, AnIconTheShellRefusedIsOfferedAgainWhenTheTaskbarComesBack) {
  MainRig rig;
  rig.tray.refuse = true;
  rig.window.OnResize(true);
  EXPECT_FALSE(rig.view.visible);  // hidden all the same

  rig.tray.refuse = false;
  rig.window.OnTaskbarCreated();
  EXPECT_EQ(rig.tray.icons.size(), 1U);
}

TEST(MainWindowTest, ANewIconReplacesTheOldInTheRecordShownOrNot) {
  constexpr std::uintptr_t kDpiIcon = 0xB300;
  for (const bool shown : {true, false}) {
    MainRig rig;
    rig.window.OnResize(true);
    if (!shown) rig.window.OnTrayDoubleClick();
    rig.view.icon = kDpiIcon;
    rig.window.OnIconChanged();
    EXPECT_EQ(rig.tray.modifies, shown ? 1 : 0) << shown;
    EXPECT_EQ(rig.tray.adds, 1) << shown;  // changed in place, not added again

    // What the taskbar gets back, or the next hide shows, is the live icon.
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

TEST(MainWindowTest, TitleWatchEmptiesTheClipboardWhenTheChatTitleChanges) {
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

}  // namespace
}  // namespace pelvanto::app
