#pragma once
// The keys the overlay answers, as its window reports them.

namespace pelvanto::overlay {

enum class Key { kEscape, kEnter, kLeft, kRight, kUp, kDown };

struct KeyPress {
  Key key = Key::kEscape;
  bool shift = false;   // arrows go ten pixels instead of one
  bool ctrl = false;    // arrows carry the right or bottom edge instead of the whole selection
  bool repeat = false;  // sent again because the key is held
};

}  // namespace pelvanto::overlay
