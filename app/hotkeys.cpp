#include "app/hotkeys.h"

#include <algorithm>

namespace pelvanto::app {

namespace {

// The menu items a hotkey stands for; the pause key is "暂停切图" or "继续切图" by the state.
std::array<MenuCommand, 2> CommandsOf(Hotkey hotkey) {
  switch (hotkey) {
    case Hotkey::kStartCapture: return {MenuCommand::kStartCapture, MenuCommand::kStartCapture};
    case Hotkey::kCutNow: return {MenuCommand::kCutNow, MenuCommand::kCutNow};
    case Hotkey::kPauseResume: return {MenuCommand::kPause, MenuCommand::kResume};
    case Hotkey::kAdjust: return {MenuCommand::kAdjust, MenuCommand::kAdjust};
  }
  return {MenuCommand::kShowMain, MenuCommand::kShowMain};
}

}  // namespace

std::wstring KeyName(const KeyCombo& keys) {
  std::wstring name;
  if (keys.ctrl) name += L"Ctrl+";
  if (keys.alt) name += L"Alt+";
  if (keys.shift) name += L"Shift+";
  return name + L"F" + std::to_wstring(keys.function_key);
}

std::optional<Hotkey> HotkeyOf(int id) {
  if (id < static_cast<int>(Hotkey::kStartCapture) || id > static_cast<int>(Hotkey::kAdjust))
    return std::nullopt;
  return static_cast<Hotkey>(id);
}

std::optional<MenuCommand> HotkeyCommand(const SteeringState& state, Hotkey hotkey) {
  for (MenuCommand command : CommandsOf(hotkey))
    if (Applies(state, command)) return command;
  return std::nullopt;
}

Hotkeys::Hotkeys(HotkeyBoard& board) : board_(board) {
  for (std::size_t i = 0; i < kHotkeys.size(); ++i) names_[i] = KeyName(kHotkeys[i].keys);
}

void Hotkeys::RegisterAll() {
  UnregisterAll();
  for (std::size_t i = 0; i < kHotkeys.size(); ++i)
    grants_[i] = board_.Register(static_cast<int>(kHotkeys[i].hotkey), kHotkeys[i].keys);
}

void Hotkeys::UnregisterAll() {
  for (std::size_t i = 0; i < kHotkeys.size(); ++i) {
    if (grants_[i] == HotkeyGrant::kHeld) board_.Unregister(static_cast<int>(kHotkeys[i].hotkey));
    grants_[i] = HotkeyGrant::kNone;
  }
}

std::wstring_view Hotkeys::KeysOf(MenuCommand command) const {
  for (std::size_t i = 0; i < kHotkeys.size(); ++i) {
    const auto commands = CommandsOf(kHotkeys[i].hotkey);
    if (grants_[i] == HotkeyGrant::kHeld && std::ranges::find(commands, command) != commands.end())
      return names_[i];
  }
  return {};
}

std::wstring Hotkeys::TakenNote() const {
  std::wstring keys;
  for (std::size_t i = 0; i < kHotkeys.size(); ++i) {
    if (grants_[i] != HotkeyGrant::kTaken) continue;
    if (!keys.empty()) keys += L"、";
    keys += names_[i];
  }
  return keys.empty() ? keys : L"热键 " + keys + L" 已被占用";
}

}  // namespace pelvanto::app
