// The global hotkeys: which command each runs in each state, taken from the menu's own rules,
// and what the menu and the tip say about them.
#include "app/hotkeys.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/fakes.h"

namespace pelvanto::app {
namespace {

using enum MenuCommand;
using None = std::nullopt_t;
constexpr None kNothing = std::nullopt;

struct StateCase {
  const char* name;
  SteeringState state;
  // What start, cut now, pause/resume and adjust run.
  std::optional<MenuCommand> start, cut, pause, adjust;
};

class HotkeyTableTest : public testing::TestWithParam<StateCase> {};

TEST_P(HotkeyTableTest, EachKeyRunsItsItemOnlyWhereTheMenuOffersIt) {
  const StateCase& c = GetParam();
  EXPECT_EQ(HotkeyCommand(c.state, Hotkey::kStartCapture), c.start);
  EXPECT_EQ(HotkeyCommand(c.state, Hotkey::kCutNow), c.cut);
  EXPECT_EQ(HotkeyCommand(c.state, Hotkey::kPauseResume), c.pause);
  EXPECT_EQ(HotkeyCommand(c.state, Hotkey::kAdjust), c.adjust);
  // One rule: whatever a key runs is an enabled item of the menu in that state.
  for (const HotkeyBinding& b : kHotkeys) {
    const auto command = HotkeyCommand(c.state, b.hotkey);
    if (!command) continue;
    bool offered = false;
    for (const MenuEntry& e : MenuFor(c.state)) offered |= e.command == *command && e.enabled;
    EXPECT_TRUE(offered) << static_cast<int>(b.hotkey);
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, HotkeyTableTest,
    testing::Values(
        StateCase{"Idle", {}, kStartCapture, kNothing, kNothing, kNothing},
        // The first freeze is on the screen: nothing may touch its selection.
        StateCase{"FirstFreeze", {.capturing = true}, kNothing, kNothing, kNothing, kNothing},
        StateCase{"Cutting", SteeringState{.capturing = true, .area_set = true}, kNothing, kCutNow,
                  kPause, kAdjust},
        // A held key: the cut asked for first is the only one.
        StateCase{"CutUnderWay",
                  SteeringState{.capturing = true, .area_set = true, .cut_under_way = true},
                  kNothing, kNothing, kPause, kAdjust},
        StateCase{"Paused", SteeringState{.capturing = true, .area_set = true, .paused = true},
                  kNothing, kNothing, kResume, kAdjust},
        // The adjustment's overlay is on the screen: no second one, no cut into it.
        StateCase{"Adjusting",
                  SteeringState{.capturing = true, .area_set = true, .adjusting = true}, kNothing,
                  kNothing, kNothing, kNothing},
        StateCase{"Locked",
                  SteeringState{.capturing = true, .area_set = true, .session_locked = true},
                  kNothing, kNothing, kPause, kNothing}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(HotkeysTest, KeysAreCtrlAltF7ToF10AndEachIdNamesOne) {
  std::wstring names;
  for (const HotkeyBinding& b : kHotkeys) {
    names += KeyName(b.keys) + L" ";
    EXPECT_EQ(HotkeyOf(static_cast<int>(b.hotkey)), b.hotkey);
  }
  EXPECT_EQ(names, L"Ctrl+Alt+F7 Ctrl+Alt+F8 Ctrl+Alt+F9 Ctrl+Alt+F10 ");
  EXPECT_EQ(KeyName({false, true, true, 12}), L"Alt+Shift+F12");
  EXPECT_EQ(HotkeyOf(0), std::nullopt);
  EXPECT_EQ(HotkeyOf(5), std::nullopt);
}

TEST(HotkeysTest, ATakenKeyIsNamedOnceAndItsItemShowsNoKeyUntilItIsFreeAgain) {
  fakes::FakeHotkeyBoard board;
  board.taken = {kHotkeys[1].keys, kHotkeys[3].keys};
  Hotkeys hotkeys(board);
  hotkeys.RegisterAll();
  EXPECT_EQ(hotkeys.KeysOf(kStartCapture), L"Ctrl+Alt+F7");
  EXPECT_EQ(hotkeys.KeysOf(kCutNow), L"");
  EXPECT_EQ(hotkeys.KeysOf(kPause), L"Ctrl+Alt+F9");
  EXPECT_EQ(hotkeys.KeysOf(kResume), L"Ctrl+Alt+F9");
  EXPECT_EQ(hotkeys.KeysOf(kAdjust), L"");
  EXPECT_EQ(hotkeys.KeysOf(kExit), L"");
  EXPECT_EQ(hotkeys.TakenNote(), L"热键 Ctrl+Alt+F8、Ctrl+Alt+F10 已被占用");
  hotkeys.RegisterAll();  // asked again: still named once each
  EXPECT_EQ(hotkeys.TakenNote(), L"热键 Ctrl+Alt+F8、Ctrl+Alt+F10 已被占用");
  EXPECT_EQ(board.held.size(), 2U);

  board.taken.clear();  // the other program let go
  hotkeys.RegisterAll();
  EXPECT_EQ(hotkeys.KeysOf(kCutNow), L"Ctrl+Alt+F8");
  EXPECT_EQ(hotkeys.TakenNote(), L"");
  EXPECT_EQ(board.held.size(), 4U);
  hotkeys.UnregisterAll();
  EXPECT_TRUE(board.held.empty());
  EXPECT_EQ(hotkeys.KeysOf(kCutNow), L"");
}

}  // namespace
}  // namespace pelvanto::app
