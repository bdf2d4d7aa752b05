#include "platform/win32/system/hotkeys.h"

#include <algorithm>
#include <string>

#include "app/hotkeys.h"
#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

UINT HotkeyModifiers(const KeyCombo& keys) {
  return (keys.ctrl ? MOD_CONTROL : 0U) | (keys.alt ? MOD_ALT : 0U) | (keys.shift ? MOD_SHIFT : 0U);
}

UINT HotkeyVirtualKey(const KeyCombo& keys) {
  return static_cast<UINT>(VK_F1 + keys.function_key - 1);
}

SystemHotkeys::~SystemHotkeys() {
  // The window may be gone already; unregistering is harmless then.
  for (int id : held_) ::UnregisterHotKey(window_, id);
}

HotkeyGrant SystemHotkeys::Register(int id, const KeyCombo& keys) {
  const UINT modifiers = HotkeyModifiers(keys);
  const UINT key = HotkeyVirtualKey(keys);
  // The plain combination first: Wine counts MOD_NOREPEAT as part of the combination, so asked
  // with it straight away, a key another program holds would not be reported taken there.
  if (!::RegisterHotKey(window_, id, modifiers, key)) {
    const bool taken = ::GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
    const std::wstring what = L"RegisterHotKey (" + app::KeyName(keys) + L")";
    TraceFailure(what.c_str());
    return taken ? HotkeyGrant::kTaken : HotkeyGrant::kRefused;
  }
  // A held key repeats; with MOD_NOREPEAT (Windows 7 and later) a press is one message.
  ::UnregisterHotKey(window_, id);
  if (!::RegisterHotKey(window_, id, modifiers | MOD_NOREPEAT, key) &&
      !::RegisterHotKey(window_, id, modifiers, key)) {
    TraceFailure(L"RegisterHotKey (again, with MOD_NOREPEAT)");
    return HotkeyGrant::kRefused;
  }
  held_.push_back(id);
  return HotkeyGrant::kHeld;
}

void SystemHotkeys::Unregister(int id) {
  ::UnregisterHotKey(window_, id);
  std::erase(held_, id);
}

}  // namespace pelvanto::win32
