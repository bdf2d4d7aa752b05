#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  void SetCommand1Caption(std::wstring_view text) override { caption = text; }
  void SetCombo1Text(std::wstring_view text) override {
    combo = text;
    ++combo_sets;
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
    return {kMainWindow, static_cast<unsigned>(kMainIcon), kMainIcon, L"not the tip"};
  }
  void EndProgram() override { log_.push_back("end"); }

  std::wstring caption{kStartCaption};
  std::wstring combo{kInitialInterval};
  int combo_sets = 0;
  bool visible = true;

 private:
  CallLog& log_;
};

// The single overlay as the main window reaches it: loading sets CutFormLoaded, unloading
// clears it and stops the main window's Timer1, as the real overlay does.
class FakeOverlayControl : public OverlayControl {
 public:
  FakeOverlayControl(CallLog& log, bool& cut_form_loaded, Timer& main_timer1)
      : log_(log), cut_form_loaded_(cut_form_loaded), main_timer1_(main_timer1) {}
  void Show() override {
    log_.push_back("overlay show");
    ++shows;
    if (!loaded) {
      loaded = true;
      ++loads;
      cut_form_loaded_ = true;
    }
  }
  void Unload() override {
    log_.push_back("overlay unload");
    flag_at_unload.push_back(cut_form_loaded_);
    Close();
  }
  void EnableTimer1() override { ++cuts; }

  // The overlay's own exit button, or any other closing path of its own.
  void Close() {
    if (!loaded) return;
    loaded = false;
    cut_form_loaded_ = false;
    main_timer1_.SetEnabled(false);
  }
  // The overlay's "copy and exit": the auto-cut pace starts.
  void CopyAndExit() { main_timer1_.SetEnabled(true); }

  bool loaded = false;
  int shows = 0, loads = 0, cuts = 0;
  std::vector<bool> flag_at_unload;  // CutFormLoaded as each unload found it

 private:
  CallLog& log_;
  bool& cut_form_loaded_;
  Timer& main_timer1_;
};

class LoggingShell : public fakes::FakeShell {
 public:
  explicit LoggingShell(CallLog& log) : log_(log) {}
  void UnHook() override {
    log_.push_back("unhook");
    FakeShell::UnHook();
  }

 private:
  CallLog& log_;
};

class LoggingTray : public fakes::FakeNotificationArea {
 public:
  explicit LoggingTray(CallLog& log) : log_(log) {}
  bool Add(const TrayRecord& record) override {
    log_.push_back("tray add");
    return FakeNotificationArea::Add(record);
  }
  void Delete(const TrayRecord& record) override {
    log_.push_back("tray delete");
    FakeNotificationArea::Delete(record);
  }

 private:
  CallLog& log_;
};

struct MainRig {
  MainRig() { window.FormLoad(); }

  CallLog log;
  bool cut_form_loaded = false;
  fakes::FakeTimer timer1, timer2, timer3;
  FakeMainWindowView view{log};
  FakeOverlayControl overlay{log, cut_form_loaded, timer1};
  fakes::FakePointer pointer;
  LoggingTray tray{log};
  LoggingShell shell{log};
  fakes::FakeWindowQueries queries;
  fakes::FakeClipboard clipboard;
  tracking::ChatTracker tracker{queries, clipboard};
  MainWindow window{view,  overlay, {timer1, timer2, timer3}, pointer, tray, shell, tracker,
                    cut_form_loaded};

  // Started, the selection made and "copy and exit" pressed: the pace runs.
  void StartAutoCut() {
    window.OnCommand1Click();
    overlay.CopyAndExit();
  }
};

// --- Start-up

TEST(MainWindowTest, LoadSubscribesToTheShellAndStartsOnlyTheChatWatch) {
  MainRig rig;
  EXPECT_TRUE(rig.shell.hooked);
  EXPECT_TRUE(rig.timer2.Enabled());
  EXPECT_EQ(rig.timer2.Interval(), 1000U);
  EXPECT_FALSE(rig.timer1.Enabled());
  EXPECT_EQ(rig.timer1.Interval(), 1000U);
  EXPECT_FALSE(rig.timer3.Enabled());
  EXPECT_EQ(rig.timer3.Interval(), 10U);
  EXPECT_EQ(rig.window.Command1Caption(), kStartCaption);
  EXPECT_EQ(rig.window.Combo1Text(), L"2");
}

// --- The interval text

struct ComboCase {
  std::wstring typed;
  std::wstring kept;
};

class Combo1ChangeTest : public testing::TestWithParam<ComboCase> {};

TEST_P(Combo1ChangeTest, TextOutside0To50TurnsInto0AtOnce) {
  MainRig rig;
  rig.window.OnCombo1Change(GetParam().typed);
  EXPECT_EQ(rig.window.Combo1Text(), GetParam().kept);
  // The window is told only when the text is replaced.
  const bool replaced = GetParam().kept != GetParam().typed;
  EXPECT_EQ(rig.view.combo_sets, replaced ? 1 : 0);
  if (replaced) {
    EXPECT_EQ(rig.view.combo, L"0");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Combo1ChangeTest,
    testing::Values(ComboCase{L"0.4", L"0.4"}, ComboCase{L"49.6", L"49.6"},
                    ComboCase{L"50", L"50"}, ComboCase{L"0", L"0"}, ComboCase{L"51", L"0"},
                    ComboCase{L"-1", L"0"}, ComboCase{L"50.5", L"0"}, ComboCase{L"abc", L"abc"},
                    ComboCase{L"  7", L"  7"}, ComboCase{L"", L""}));

// --- The auto-cut pace

struct PaceCase {
  std::wstring text;
  bool cuts;
  unsigned interval;  // Timer1's interval after the tick
};

class Timer1PaceTest : public testing::TestWithParam<PaceCase> {};

TEST_P(Timer1PaceTest, EachTickCutsOnceAndSetsTheNextIntervalOrDoesNothing) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnCombo1Change(GetParam().text);

  rig.window.OnTimer1();

  EXPECT_EQ(rig.overlay.cuts, GetParam().cuts ? 1 : 0);
  EXPECT_EQ(rig.timer1.Interval(), GetParam().interval);
  EXPECT_TRUE(rig.timer1.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Timer1PaceTest,
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
  rig.window.OnCombo1Change(L"5");
  rig.window.OnTimer1();
  ASSERT_EQ(rig.overlay.cuts, 1);

  rig.window.OnCombo1Change(L"0");
  rig.window.OnTimer1();
  rig.window.OnTimer1();
  EXPECT_EQ(rig.overlay.cuts, 1);
  EXPECT_EQ(rig.timer1.Interval(), 5000U);
  EXPECT_TRUE(rig.timer1.Enabled());

  rig.window.OnCombo1Change(L"3");
  rig.window.OnTimer1();
  EXPECT_EQ(rig.overlay.cuts, 2);
  EXPECT_EQ(rig.timer1.Interval(), 3000U);
}

TEST(MainWindowTest, TheLastIntervalCarriesOverToTheNextOverlay) {
  MainRig rig;
  rig.StartAutoCut();
  rig.window.OnCombo1Change(L"7");
  rig.window.OnTimer1();
  rig.window.OnCommand1Click();  // stop: the overlay's unload stops the pace
  ASSERT_FALSE(rig.timer1.Enabled());

  rig.StartAutoCut();
  EXPECT_EQ(rig.timer1.Interval(), 7000U);
  EXPECT_TRUE(rig.timer1.Enabled());
}

// --- Starting and stopping

TEST(MainWindowTest, StartHidesIntoTheTrayShowsTheOverlayAndOffersStop) {
  MainRig rig;
  rig.window.OnCommand1Click();

  ASSERT_EQ(rig.tray.icons.size(), 1U);
  EXPECT_EQ(rig.tray.icons[0],
            (TrayRecord{kMainWindow, static_cast<unsigned>(kMainIcon), kMainIcon, L"Pelvanto"}));
  EXPECT_FALSE(rig.view.visible);
  // The icon waits until the overlay is up; the hide comes first, so the picture is clean.
  EXPECT_EQ(rig.log, (CallLog{"hide", "overlay show", "tray add"}));
  EXPECT_EQ(rig.overlay.loads, 1);
  EXPECT_TRUE(rig.cut_form_loaded);
  EXPECT_EQ(rig.window.Command1Caption(), kStopCaption);
  EXPECT_EQ(rig.view.caption, kStopCaption);
}

TEST(MainWindowTest, StopClearsTheFlagThenUnloadsTheOverlayAndResetsThePointer) {
  MainRig rig;
  rig.window.OnCommand1Click();
  rig.window.OnTrayDoubleClick();
  rig.pointer.Set(Pointer::Crosshair);

  rig.window.OnCommand1Click();

  EXPECT_EQ(rig.overlay.flag_at_unload, std::vector<bool>{false});
  EXPECT_FALSE(rig.overlay.loaded);
  EXPECT_FALSE(rig.cut_form_loaded);
  EXPECT_EQ(rig.window.Command1Caption(), kStartCaption);
  EXPECT_EQ(rig.view.caption, kStartCaption);
  EXPECT_EQ(rig.pointer.current, Pointer::Default);
}

TEST(MainWindowTest, AfterTheOverlayClosedItselfStopOnlyChangesTheCaptionAndStartWorksAgain) {
  MainRig rig;
  rig.window.OnCommand1Click();
  rig.overlay.Close();  // its own exit button
  ASSERT_FALSE(rig.cut_form_loaded);

  rig.window.OnCommand1Click();
  EXPECT_TRUE(rig.overlay.flag_at_unload.empty());
  EXPECT_EQ(rig.window.Command1Caption(), kStartCaption);
  EXPECT_EQ(rig.overlay.shows, 1);

  rig.window.OnCommand1Click();
  EXPECT_EQ(rig.overlay.loads, 2);
  EXPECT_TRUE(rig.cut_form_loaded);
  EXPECT_EQ(rig.window.Command1Caption(), kStopCaption);
}

TEST(MainWindowTest, ClicksAlternateStartAndStopWithAFreshOverlayEachStart) {
  MainRig rig;
  rig.window.OnCommand1Click();
  rig.window.OnCommand1Click();
  rig.window.OnCommand1Click();
  rig.window.OnCommand1Click();
  // Two full rounds, each with its own fresh overlay.
  EXPECT_EQ(rig.overlay.loads, 2);
  EXPECT_EQ(rig.overlay.flag_at_unload.size(), 2U);
  EXPECT_EQ(rig.window.Command1Caption(), kStartCaption);
}

// --- Shut-down

TEST(MainWindowTest, UnloadUnhooksUnloadsTheOverlayRemovesTheIconThenEnds) {
  MainRig rig;
  rig.window.OnCommand1Click();  // hidden, icon shown, overlay loaded
  rig.log.clear();

  rig.window.FormUnload();

  EXPECT_EQ(rig.log, (CallLog{"unhook", "overlay unload", "tray delete", "end"}));
  EXPECT_TRUE(rig.tray.icons.empty());
  EXPECT_FALSE(rig.cut_form_loaded);
  EXPECT_FALSE(rig.timer1.Enabled());
}

TEST(MainWindowTest, UnloadWithoutAnOverlayRunsOnceThoughAskedTwice) {
  MainRig rig;
  rig.window.OnCommand2Click();
  rig.window.FormUnload();  // the close box after Command2
  EXPECT_EQ(rig.log, (CallLog{"unhook", "tray delete", "end"}));
  EXPECT_EQ(rig.shell.unhooks, 1);
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
    ASSERT_TRUE(rig.timer3.Enabled());

    for (int tick = 1; tick <= 11; ++tick) {
      rig.pointer.Set(Pointer::Crosshair);
      rig.window.OnTimer3();
      EXPECT_EQ(rig.pointer.current, Pointer::Default) << tick;
      EXPECT_EQ(rig.timer3.Enabled(), tick < 11) << tick;
      EXPECT_EQ(rig.window.RestoreTicks(), tick < 11 ? tick : 0) << tick;
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

// --- The chat-title watch

TEST(MainWindowTest, Timer2EmptiesTheClipboardWhenTheChatTitleChanges) {
  MainRig rig;
  constexpr WindowId kChat = 0x77;
  rig.queries.paths[kChat] = L"c:\\program files\\tencent\\qq\\bin\\qq.exe";
  rig.queries.titles[kChat] = L"张三";
  rig.tracker.OnActivate(kChat);

  rig.window.OnTimer2();
  EXPECT_EQ(rig.clipboard.empties, 1);
  rig.window.OnTimer2();
  EXPECT_EQ(rig.clipboard.empties, 1);

  rig.queries.titles[kChat] = L"技术交流群等5人";
  rig.window.OnTimer2();
  EXPECT_EQ(rig.clipboard.empties, 2);
}

}  // namespace
}  // namespace pelvanto::app
