#pragma once

namespace pelvanto {

// A key combination: modifiers and one function key (1 for F1 up to 24 for F24).
struct KeyCombo {
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  int function_key = 0;
  friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

// What the system answered when asked for a global hotkey.
enum class HotkeyGrant {
  kNone,     // not asked for, or given back
  kHeld,     // the program has it: its presses come back with its id
  kTaken,    // another program holds the combination
  kRefused,  // refused for another reason
};

// The system's global hotkeys, for the program's main window.
class HotkeyBoard {
 public:
  virtual ~HotkeyBoard() = default;
  virtual HotkeyGrant Register(int id, const KeyCombo& keys) = 0;
  virtual void Unregister(int id) = 0;
};

}  // namespace pelvanto
