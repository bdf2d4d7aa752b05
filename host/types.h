#pragma once
// Small value types shared by the logic and the platform layer.

#include <cstdint>

namespace pelvanto {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;

// The program-wide pointer shapes. The numbers are fixed so logs and tests can name them.
enum class Pointer : int {
  Default = 0,    // no override: each window's own cursor
  Arrow = 1,
  Crosshair = 2,
  Move = 5,       // four-headed arrow
  SizeNeSw = 6,
  SizeNs = 7,
  SizeNwSe = 8,
  SizeWe = 9,
};

// Mouse buttons as a bit set; handlers compare the whole value.
namespace mouse {
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kMiddle = 4;
}  // namespace mouse

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
