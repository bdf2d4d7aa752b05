// The frame around the watched area: its edges at each monitor's DPI, and an area kept on a
// desktop whose monitors changed.
#include "overlay/watch_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "core/geometry.h"

namespace pelvanto::overlay {
namespace {

// A 96 dpi primary with a 144 dpi monitor to its right; a gap below the primary.
const Desktop kMixed = MakeDesktop({{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 96},
                                    {{1920, 0, 3200, 1440}, {1920, 0, 3200, 1440}, 144}});
const Desktop kOne = SingleMonitorDesktop(1024, 768, 96);

struct EdgesCase {
  const char* name;
  const Desktop* desktop;
  RectI area;
  std::array<RectI, 4> edges;  // top, bottom, left, right
};

class FrameEdgesTest : public testing::TestWithParam<EdgesCase> {};

TEST_P(FrameEdgesTest, JustOutsideTheAreaAsThickAsEachMonitorAsks) {
  const EdgesCase& c = GetParam();
  const auto edges = FrameEdges(c.area, *c.desktop);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(edges[i], c.edges[i]) << "edge " << i;
  // Never over the area itself: no frame pixel in a cut of the selection.
  for (const RectI& e : edges) EXPECT_TRUE(Intersection(e, c.area).Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Areas, FrameEdgesTest,
    testing::Values(
        EdgesCase{"At96",
                  &kOne,
                  {100, 120, 400, 320},
                  {{{98, 118, 402, 120},
                    {98, 320, 402, 322},
                    {98, 120, 100, 320},
                    {400, 120, 402, 320}}}},
        EdgesCase{"At144",
                  &kMixed,
                  {2000, 100, 2300, 400},
                  {{{1997, 97, 2303, 100},
                    {1997, 400, 2303, 403},
                    {1997, 100, 2000, 400},
                    {2300, 100, 2303, 400}}}},
        // Across the seam: the right edge is on the 144 dpi monitor, the rest on the primary.
        EdgesCase{"AcrossTheSeam",
                  &kMixed,
                  {1000, 100, 2100, 400},
                  {{{998, 98, 2103, 100},
                    {998, 400, 2103, 402},
                    {998, 100, 1000, 400},
                    {2100, 100, 2103, 400}}}},
        // The bottom edge lies where no monitor is: it is not shown.
        EdgesCase{"EdgeOverTheGap",
                  &kMixed,
                  {100, 900, 400, 1080},
                  {{{98, 898, 402, 900}, {}, {98, 900, 100, 1080}, {400, 900, 402, 1080}}}},
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
