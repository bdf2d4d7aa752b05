#include "overlay/loupe_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelvanto::overlay {
namespace {

constexpr std::uint32_t kUntouched = 0x123456;

// A 20 x 20 picture whose every pixel tells where it is.
std::uint32_t At(int x, int y) { return static_cast<std::uint32_t>(x << 16 | y << 8 | 7); }

struct Drawn {
  LoupeView view;
  std::vector<std::uint32_t> pixels;
  std::uint32_t operator()(int x, int y) const {
    return pixels[static_cast<std::size_t>(y * view.rect.Width() + x)];
  }
};

Drawn Draw(PointI pointer, unsigned dpi, bool with_picture) {
  std::vector<std::uint32_t> picture;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) picture.push_back(At(x, y));
  Drawn d{MakeLoupe(pointer, LoupeMetrics(dpi), {0, 0, 1024, 768}, {0, 0, 20, 20}, 0), {}};
  d.pixels.assign(static_cast<std::size_t>(d.view.rect.Width() * d.view.rect.Height()), kUntouched);
  const PixelsView frozen = with_picture ? PixelsView{picture, 20, 20} : PixelsView{};
  DrawLoupePicture(d.view, frozen, d.pixels);
  return d;
}

TEST(LoupePictureTest, EnlargesEachPixelBetweenGreyLinesAndFramesThePointersPixel) {
  // At 96 dpi cells are 8 pixels, the grid starts at (1, 1), cell 7 is the pointer's.
  const Drawn middle = Draw({10, 10}, 96, true);
  const Drawn corner = Draw({1, 1}, 96, true);
  const Drawn blank = Draw({10, 10}, 96, false);
  const Drawn large = Draw({10, 10}, 144, true);  // cells of 12
  const struct {
    const char* what;
    const Drawn& d;
    int x, y;
    std::uint32_t expected;
  } cases[] = {
      {"border, top-left", middle, 0, 0, kLoupeBorderPixel},
      {"border, bottom-right", middle, 122, 158, kLoupeBorderPixel},
      {"grid line", middle, 9, 30, kLoupeGridPixel},
      {"closing line, right", middle, 121, 5, kLoupeGridPixel},
      {"closing line, bottom", middle, 5, 121, kLoupeGridPixel},
      {"first cell", middle, 5, 5, At(3, 3)},
      {"a cell's last pixel", middle, 8, 8, At(3, 3)},
      {"cell 14 across, 2 down", middle, 1 + 14 * 8 + 3, 1 + 2 * 8 + 3, At(17, 5)},
      {"the pointer's pixel", middle, 61, 61, At(10, 10)},
      {"its black frame", middle, 56, 60, 0x000000},
      {"its white frame", middle, 57, 60, 0xFFFFFF},
      {"its white frame, right", middle, 65, 60, 0xFFFFFF},
      {"its black frame, right", middle, 66, 60, 0x000000},
      {"the read-out strip is left alone", middle, 60, 140, kUntouched},
      {"past the picture's left edge", corner, 5, 61, 0x000000},
      {"the picture's first column", corner, 1 + 6 * 8 + 3, 61, At(0, 1)},
      {"no picture: black cells", blank, 5, 5, 0x000000},
      {"no picture: grid still grey", blank, 9, 5, kLoupeGridPixel},
      {"cells of 12: the pointer's pixel", large, 1 + 7 * 12 + 6, 1 + 7 * 12 + 6, At(10, 10)},
      {"cells of 12: a line", large, 1 + 12, 40, kLoupeGridPixel},
  };
  for (const auto& c : cases) EXPECT_EQ(c.d(c.x, c.y), c.expected) << c.what;
}

TEST(LoupePictureTest, DrawsNothingIntoAPictureOfAnotherSize) {
  const LoupeView view =
      MakeLoupe({10, 10}, LoupeMetrics(96), {0, 0, 1024, 768}, {0, 0, 20, 20}, 0);
  std::vector<std::uint32_t> small(100, kUntouched);
  DrawLoupePicture(view, {}, small);
  EXPECT_EQ(small, std::vector<std::uint32_t>(100, kUntouched));
}

}  // namespace
}  // namespace pelvanto::overlay
