// The frame around the watched area: its edges at each monitor's DPI, and an area kept on a
// desktop whose monitors changed.
#include "overlay/watch_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "core/geometry.h"
#include "overlay/cut.h"

namespace pelvanto::overlay {
namespace {

// A 96 dpi primary with a 144 dpi monitor to its right; a gap below the primary.
const Desktop kMixed = MakeDesktop({{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 96},
                                    {{1920, 0, 3200, 1440}, {1920, 0, 3200, 1440}, 144}});
const Desktop kOne = SingleMonitorDesktop(1024, 768, 96);

using Edges = std::array<RectI, 4>;  // top, bottom, left, right

struct EdgesCase {
  const char* name;
  const Desktop* desktop;
  RectI area;
  Edges edges;
};

class FrameEdgesTest : public testing::TestWithParam<EdgesCase> {};

TEST_P(FrameEdgesTest, JustOutsideTheLargestCutAsThickAsEachMonitorAsks) {
  const EdgesCase& c = GetParam();
  const auto edges = FrameEdges(c.area, *c.desktop);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(edges[i], c.edges[i]) << "edge " << i;
  // Never over the largest picture a cut can take, so never in any picture.
  EXPECT_EQ(FramedArea(c.area), CutArea(c.area, kMaxMargin));
  for (const RectI& e : edges) EXPECT_TRUE(Intersection(e, FramedArea(c.area)).Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Areas, FrameEdgesTest,
    testing::Values(
        // The top and left edges just outside the area, the right and bottom ones 29 px further.
        EdgesCase{"At96", &kOne, RectI{100, 120, 400, 320},
                  Edges{RectI{98, 118, 431, 120}, RectI{98, 349, 431, 351},
                        RectI{98, 120, 100, 349}, RectI{429, 120, 431, 349}}},
        EdgesCase{"At144", &kMixed, RectI{2000, 100, 2300, 400},
                  Edges{RectI{1997, 97, 2332, 100}, RectI{1997, 429, 2332, 432},
                        RectI{1997, 100, 2000, 429}, RectI{2329, 100, 2332, 429}}},
        // Across the seam: the right edge is on the 144 dpi monitor, the rest on the primary.
        EdgesCase{"AcrossTheSeam", &kMixed, RectI{1000, 100, 2100, 400},
                  Edges{RectI{998, 98, 2132, 100}, RectI{998, 429, 2132, 431},
                        RectI{998, 100, 1000, 429}, RectI{2129, 100, 2132, 429}}},
        // The bottom edge lies where no monitor is: it is not shown.
        EdgesCase{"EdgeOverTheGap", &kMixed, RectI{100, 900, 400, 1080},
                  Edges{RectI{98, 898, 431, 900}, RectI{}, RectI{98, 900, 100, 1109},
                        RectI{429, 900, 431, 1109}}},
        // The largest margin reaches past the screen's right edge: no right edge.
        EdgesCase{"MarginPastTheScreen", &kOne, RectI{700, 500, 1000, 700},
                  Edges{RectI{698, 498, 1031, 500}, RectI{698, 729, 1031, 731},
                        RectI{698, 500, 700, 729}, RectI{}}},
        EdgesCase{"MonitorGone", &kOne, {2000, 100, 2300, 400}, {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(FrameEdgesTest, ThicknessScalesWithTheDpi) {
  EXPECT_EQ(FrameThickness(96), 2);
  EXPECT_EQ(FrameThickness(120), 3);  // 2.5 rounds up
  EXPECT_EQ(FrameThickness(144), 3);
  EXPECT_EQ(FrameThickness(192), 4);
}

struct ClampCase {
  const char* name;
  RectI area;
  RectI kept;
};

class ClampTest : public testing::TestWithParam<ClampCase> {};

TEST_P(ClampTest, KeptWhereItIsAsFarAsTheDesktopAllows) {
  EXPECT_EQ(ClampIntoDesktop(GetParam().area, kOne), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, ClampTest,
    testing::Values(ClampCase{"Inside", {100, 120, 400, 320}, {100, 120, 400, 320}},
                    // The monitor it was on went away: it moves onto the desktop, same size.
                    ClampCase{"PastTheRight", {2000, 100, 2300, 400}, {724, 100, 1024, 400}},
                    ClampCase{"PastTheTopLeft", {-500, -20, -300, 80}, {0, 0, 200, 100}},
                    ClampCase{"Larger", {-10, -10, 3000, 2000}, {0, 0, 1024, 768}}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace pelvanto::overlay
