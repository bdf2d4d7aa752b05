#include "core/geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace pelvanto {
namespace {

struct OverlapCase {
  RectI a, b, meet;
};

class IntersectionTest : public testing::TestWithParam<OverlapCase> {};

TEST_P(IntersectionTest, IsTheSameBothWaysAndEmptyIsAlwaysAllZero) {
  const OverlapCase& c = GetParam();
  EXPECT_EQ(Intersection(c.a, c.b), c.meet);
  EXPECT_EQ(Intersection(c.b, c.a), c.meet);
}

INSTANTIATE_TEST_SUITE_P(
    Rects, IntersectionTest,
    testing::Values(OverlapCase{{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}},
                    OverlapCase{{-10, -10, 0, 0}, {-20, -5, -5, 30}, {-10, -5, -5, 0}},
                    OverlapCase{{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
                    // Touching edges share no pixel.
                    OverlapCase{{0, 0, 10, 10}, {10, 0, 20, 10}, {}},
                    OverlapCase{{0, 0, 10, 10}, {50, 50, 60, 60}, {}},
                    OverlapCase{{5, 5, 5, 9}, {0, 0, 10, 10}, {}}));

TEST(GeometryTest, ASpanCentredOnAnOddMiddleLandsTheSameWayOnEitherSideOfZero) {
  const struct {
    int begin, end, length, start;
  } cases[] = {
      {100, 100, 4, 98},     {100, 300, 4, 198},    {100, 301, 4, 199},  // 198.5 rounds up
      {100, 100, 5, 98},     {100, 301, 5, 198},     // an odd side on an odd midpoint: exact
      {-301, -100, 4, -202}, {-100, -100, 5, -102},  // -202.5 and -102.5 round up as well
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentredStart(c.begin, c.end, c.length), c.start)
        << c.begin << ".." << c.end << " / " << c.length;
    // Shifting the span shifts the result by as much.
    EXPECT_EQ(CentredStart(c.begin + 1000, c.end + 1000, c.length), c.start + 1000);
  }
  EXPECT_EQ(Middle(0, 1919), 960);
  EXPECT_EQ(Middle(-1920, -1), -960);
}

TEST(GeometryTest, DesignSizesScaleToTheNearestPixelHalvesUp) {
  const struct {
    int units, per_inch;
    unsigned dpi;
    int pixels;
  } cases[] = {
      {4, kDesignDpi, 96, 4},
      {4, kDesignDpi, 120, 5},
      {2, kDesignDpi, 120, 3},
      {1125, kTwipsPerInch, 96, 75},
      {1125, kTwipsPerInch, 144, 113},
      {1125, kTwipsPerInch, 120, 94},
      {390, kTwipsPerInch, 120, 33},
      {70, kTwipsPerInch, 96, 5},
      {105, 720, 168, 25},  // tenths of a point, as a font
      {8, kDesignDpi, 0, 8},
      {0, kTwipsPerInch, 192, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScaleToDpi(c.units, c.per_inch, c.dpi), c.pixels) << c.units << "@" << c.dpi;
  // Edge by edge, so neighbours still meet: 70..310 twips at 96 dpi is 5..21, 16 wide.
  EXPECT_EQ(ScaleToDpi(SizedRect(70, 75, 240, 240), kTwipsPerInch, 96), (RectI{5, 5, 21, 21}));
}

}  // namespace
}  // namespace pelvanto
