#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "overlay/overlay.h"
#include "overlay/random.h"

namespace pelvanto::overlay {
namespace {

using fakes::OpenOverlayRig;
using fakes::OverlayRig;

// --- The area of a cut

struct AreaCase {
  const char* name;
  RectI selection;
  int margin;
  RectI expected;
};

class CutAreaTest : public testing::TestWithParam<AreaCase> {};

TEST_P(CutAreaTest, GrowsRightAndBottomByTheMargin) {
  const AreaCase& c = GetParam();
  EXPECT_EQ(CutArea(c.selection, c.margin), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CutAreaTest,
    testing::Values(
        AreaCase{"Example", SizedRect(40, 100, 60, 60), 7, {40, 100, 107, 167}},
        AreaCase{"MarginZeroIsTheSelection", SizedRect(40, 100, 60, 60), 0, {40, 100, 100, 160}},
        AreaCase{"ZeroSizeGivesMarginSquare", SizedRect(40, 100, 0, 0), 5, {40, 100, 45, 105}},
        AreaCase{"ZeroSizeMarginZeroIsEmpty", SizedRect(40, 100, 0, 0), 0, {40, 100, 40, 100}},
        AreaCase{"LargestMargin", SizedRect(0, 0, 10, 10), 29, {0, 0, 39, 39}},
        AreaCase{"NegativeCoordinates", SizedRect(-300, -20, 50, 10), 3, {-300, -20, -247, -7}},
        // A corrupt selection pins to the integer range instead of overflowing.
        AreaCase{"PastTheRangeIsPinned",
                 SizedRect(INT_MAX - 10, 0, 10, INT_MAX),
                 29,
                 {INT_MAX - 10, 0, INT_MAX, INT_MAX}}),
    [](const auto& p) { return std::string(p.param.name); });

// --- The margin generator

TEST(MarginRandomTest, DrawsStayInTheUnitInterval) {
  MarginRandom random(42);
  for (int i = 0; i < 20000; ++i) {
    if (i % 50 == 0) random.Reseed(i % 60);
    const double r = random.Next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(MarginRandomTest, SameSecondInDifferentMinutesGivesVariedMargins) {
  // Each "minute" the generator arrives with whatever state the cuts before left it in.
  MarginRandom random(7);
  std::set<int> margins;
  for (int minute = 0; minute < 60; ++minute) {
    random.Reseed(15);
    margins.insert(static_cast<int>(random.Next() * 30));
    random.Next();  // the rest of the minute's cuts
  }
  EXPECT_GE(margins.size(), 15u);
}

TEST(MarginRandomTest, ReseedMixesTheSecondIn) {
  MarginRandom a(5), b(5), c(5);
  a.Reseed(10);
  b.Reseed(11);
  c.Reseed(10);
  const double ra = a.Next();
  EXPECT_NE(ra, b.Next());
  EXPECT_EQ(ra, c.Next());  // same state, same second: same draw
}

// --- Cuts through the overlay

// Runs auto-cut ticks until one draws `margin`; false if none did.
bool TickUntilMargin(OverlayRig& rig, int margin) {
  for (int i = 0; i < 3000; ++i) {
    rig.clock.second = i % 60;
    rig.cut_timer.SetEnabled(true);
    rig.overlay.OnCutTimer();
    if (rig.overlay.LastMargin() == margin) return true;
  }
  return false;
}

TEST(CutTest, WorkedExampleWithMarginSeven) {
  OpenOverlayRig rig;
  rig.Drag(100, 100, 40, 160);  // Left 40, Top 100, 60 x 60
  ASSERT_TRUE(TickUntilMargin(rig, 7));
  const auto& picture = rig.clipboard.content;
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->left, 40);
  EXPECT_EQ(picture->top, 100);
  EXPECT_EQ(picture->width, 67);
  EXPECT_EQ(picture->height, 67);
  EXPECT_EQ(picture->pixels.front(), rig.screen.At(40, 100));
}

TEST(CutTest, ZeroSizeSelectionGivesAMarginSquareOrNothing) {
  OpenOverlayRig rig;
  rig.Drag(300, 200, 340, 200);  // along the anchor's row: a finished selection of zero size
  std::set<int> margins;
  for (int i = 0; i < 600; ++i) {
    rig.clock.second = i % 60;
    rig.clipboard.content.reset();
    rig.clipboard.text = L"kept";
    rig.overlay.OnCutTimer();
    const int margin = rig.overlay.LastMargin();
    margins.insert(margin);
    if (margin == 0) {
      // Nothing to copy: the clipboard keeps what it held.
      EXPECT_FALSE(rig.clipboard.content);
      EXPECT_EQ(rig.clipboard.text, L"kept");
      continue;
    }
    ASSERT_TRUE(rig.clipboard.content);
    EXPECT_EQ(rig.clipboard.content->left, 300);
    EXPECT_EQ(rig.clipboard.content->top, 200);
    EXPECT_EQ(rig.clipboard.content->width, margin);
    EXPECT_EQ(rig.clipboard.content->height, margin);
  }
  EXPECT_TRUE(margins.count(0));
}

TEST(CutTest, CopiesTheLiveScreenAreaOfTheSelectionPlusTheMargin) {
  OpenOverlayRig rig;
  // The frozen picture is not what gets cut.
  rig.window.frozen_pixel = [](int, int) { return 0x00FFFFFFu; };
  const RectI selection = rig.overlay.Scene().outline.rect;
  std::set<int> margins;
  for (int i = 0; i < 600; ++i) {
    rig.clock.second = i % 60;
    rig.cut_timer.SetEnabled(true);
    rig.overlay.OnCutTimer();
    const int margin = rig.overlay.LastMargin();
    ASSERT_GE(margin, 0);
    ASSERT_LE(margin, 29);
    margins.insert(margin);
    const auto& picture = rig.clipboard.content;
    ASSERT_TRUE(picture);
    const RectI area = CutArea(selection, margin);
    EXPECT_EQ(picture->left, area.left);
    EXPECT_EQ(picture->top, area.top);
    // One margin for both directions.
    EXPECT_EQ(picture->width - picture->height, area.Width() - area.Height());
    EXPECT_EQ(picture->width, area.Width());
    EXPECT_EQ(picture->pixels.front(), rig.screen.At(area.left, area.top));
  }
  EXPECT_EQ(margins.size(), 30u);
  EXPECT_EQ(rig.clipboard.pictures_put, 600);
  // The selection is the same after all those cuts.
  EXPECT_EQ(rig.overlay.Scene().outline.rect, selection);
}

TEST(CutTest, TimerIsOneShot) {
  OpenOverlayRig rig;
  rig.cut_timer.SetEnabled(true);
  rig.overlay.OnCutTimer();
  EXPECT_FALSE(rig.cut_timer.Enabled());
  EXPECT_EQ(rig.clipboard.pictures_put, 1);
}

TEST(CutTest, FailedScreenCopyLeavesClipboardAsItWas) {
  OpenOverlayRig rig;
  rig.clipboard.text = L"the user's own text";
  rig.screen.fail = true;
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.screen.copies, 1);
  EXPECT_EQ(rig.clipboard.text, L"the user's own text");
  EXPECT_EQ(rig.clipboard.pictures_put, 0);
  EXPECT_EQ(rig.clipboard.empties, 0);
  EXPECT_FALSE(rig.cut_timer.Enabled());
}

TEST(CutTest, HeldClipboardLosesThisCutAndTheNextTickTriesAgain) {
  OpenOverlayRig rig;
  rig.clipboard.text = L"kept";
  rig.clipboard.held_by_other = true;
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.clipboard.text, L"kept");
  EXPECT_FALSE(rig.clipboard.content);

  rig.clipboard.held_by_other = false;
  rig.overlay.OnCutTimer();
  EXPECT_TRUE(rig.clipboard.content);
}

TEST(CutTest, EmptyOrOverflowingAreaCopiesNothing) {
  // Whatever the margin: inside out, or wider than any picture can be.
  const std::vector<RectI> selections = {
      SizedRect(10, 10, -40, 20), SizedRect(10, 10, 20, -40), {INT_MIN, 0, INT_MAX, 10}};
  for (const RectI& selection : selections) {
    fakes::FakeClock clock;
    fakes::FakeScreen screen(64, 64);
    fakes::FakeClipboard clipboard;
    clipboard.text = L"kept";
    Cutter cutter(clock, screen, clipboard, 1);
    EXPECT_EQ(cutter.Cut(selection).outcome, CutOutcome::kFailed);
    EXPECT_EQ(screen.copies, 0);
    EXPECT_EQ(clipboard.text, L"kept");
  }
}

TEST(CutTest, ClosedOverlayDoesNotCut) {
  OpenOverlayRig rig;
  rig.overlay.Close();
  rig.overlay.OnCutTimer();
  EXPECT_EQ(rig.screen.copies, 0);
  EXPECT_TRUE(rig.log.empty());
}

}  // namespace
}  // namespace pelvanto::overlay
