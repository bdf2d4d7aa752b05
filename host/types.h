#pragma once
// Small value types shared by the logic and the platform layer.

#include <cstdint>
#include <initializer_list>

namespace pelvanto {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;

// The program-wide pointer shapes.
enum class Pointer {
  kDefault,  // no override: each window's own cursor
  kArrow,
  kCrosshair,
  kMove,  // four-headed arrow
  kSizeNeSw,
  kSizeNs,
  kSizeNwSe,
  kSizeWe,
};

enum class MouseButton { kLeft, kRight, kMiddle };

// The mouse buttons held at one moment; a single button converts to the set of it alone.
class MouseButtons {
 public:
  constexpr MouseButtons() = default;
  constexpr MouseButtons(MouseButton button) : bits_(Bit(button)) {}
  constexpr MouseButtons(std::initializer_list<MouseButton> buttons) {
    for (MouseButton button : buttons) Add(button);
  }
  constexpr bool Has(MouseButton button) const { return (bits_ & Bit(button)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Add(MouseButton button) { bits_ |= Bit(button); }
  constexpr void Remove(MouseButton button) { bits_ &= ~Bit(button); }
  friend bool operator==(const MouseButtons&, const MouseButtons&) = default;

 private:
  static constexpr unsigned Bit(MouseButton button) { return 1u << static_cast<unsigned>(button); }
  unsigned bits_ = 0;
};

struct PointI {
  int x = 0;
  int y = 0;
  friend bool operator==(const PointI&, const PointI&) = default;
};

// Right and bottom are exclusive.
struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const RectI&, const RectI&) = default;
};

}  // namespace pelvanto
