#pragma once
// The global hotkeys: fixed keys for four of the icons' menu items, each running its item's
// command under the menu's own greying rules.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/auto_cut_menu.h"
#include "host/hotkeys.h"

namespace pelvanto::app {

// The numbers are the hotkeys' ids with the system, never 0.
enum class Hotkey : int {
  kStartCapture = 1,  // "切图开始", when idle
  kCutNow = 2,        // "立即切图"
  kPauseResume = 3,   // "暂停切图" or "继续切图"
  kAdjust = 4,        // "调整选区"
};

struct HotkeyBinding {
  Hotkey hotkey;
  KeyCombo keys;
};

// Ctrl+Alt with F7 to F10: QQ's global keys are Ctrl+Alt with letters (A, Z, ...), Windows'
// own are Win combinations and PrtSc, and Ctrl+Alt with a function key types no character
// on any layout (AltGr is Ctrl+Alt) and no common program uses it.
inline constexpr std::array<HotkeyBinding, 4> kHotkeys{{
    {Hotkey::kStartCapture, {true, true, false, 7}},
    {Hotkey::kCutNow, {true, true, false, 8}},
    {Hotkey::kPauseResume, {true, true, false, 9}},
    {Hotkey::kAdjust, {true, true, false, 10}},
}};

// How the keys read, e.g. "Ctrl+Alt+F8".
std::wstring KeyName(const KeyCombo& keys);

// The hotkey of a system id; none for an id that names none.
std::optional<Hotkey> HotkeyOf(int id);

// The command a hotkey runs in this state: its menu item's, when the menu would show that
// item enabled; none when the item is greyed.
std::optional<MenuCommand> HotkeyCommand(const SteeringState& state, Hotkey hotkey);

// Which hotkeys the program holds, for the menu and the icon's tip.
class Hotkeys {
 public:
  explicit Hotkeys(HotkeyBoard& board);

  // Asks for every hotkey afresh (at the start, after the taskbar came back, after the session
  // was unlocked): one that another program let go of since is the program's again.
  void RegisterAll();
  void UnregisterAll();

  // The keys shown after an item's text: its hotkey's, when the program holds it.
  std::wstring_view KeysOf(MenuCommand command) const;
  // e.g. "热键 Ctrl+Alt+F8 已被占用", each taken key named once; empty when none is taken.
  std::wstring TakenNote() const;

 private:
  HotkeyBoard& board_;
  std::array<std::wstring, kHotkeys.size()> names_;  // KeyName of each binding
  std::array<HotkeyGrant, kHotkeys.size()> grants_{};
};

}  // namespace pelvanto::app
