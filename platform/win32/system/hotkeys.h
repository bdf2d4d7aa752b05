#pragma once
// Global hotkeys through RegisterHotKey for one window: no keyboard hook, so the program sees
// only its own combinations, as WM_HOTKEY with the id.

#include <windows.h>

#include <vector>

#include "host/hotkeys.h"

namespace pelvanto::win32 {

class SystemHotkeys final : public HotkeyBoard {
 public:
  explicit SystemHotkeys(HWND window) : window_(window) {}
  ~SystemHotkeys() override;
  SystemHotkeys(const SystemHotkeys&) = delete;
  SystemHotkeys& operator=(const SystemHotkeys&) = delete;

  HotkeyGrant Register(int id, const KeyCombo& keys) override;
  void Unregister(int id) override;

 private:
  HWND window_;
  std::vector<int> held_;  // ids registered and not given back
};

// RegisterHotKey's modifiers and virtual key of a combination.
UINT HotkeyModifiers(const KeyCombo& keys);
UINT HotkeyVirtualKey(const KeyCombo& keys);

}  // namespace pelvanto::win32
