#include "overlay/damage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fakes/fakes.h"
#include "overlay/metrics.h"

namespace pelvanto::overlay {
namespace {

bool Covers(const std::vector<RectI>& areas, int x, int y) {
  return std::any_of(areas.begin(), areas.end(), [&](const RectI& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

// Every pixel of the one-pixel border drawn inside `rect` is repainted.
void ExpectOutlineCovered(const std::vector<RectI>& areas, const RectI& r) {
  for (int x = r.left; x < r.right; ++x) {
    EXPECT_TRUE(Covers(areas, x, r.top)) << x;
    EXPECT_TRUE(Covers(areas, x, r.bottom - 1)) << x;
  }
  for (int y = r.top; y < r.bottom; ++y) {
    EXPECT_TRUE(Covers(areas, r.left, y)) << y;
    EXPECT_TRUE(Covers(areas, r.right - 1, y)) << y;
  }
}

RectI Padded(const RectI& r, int pad) {
  return {r.left - pad, r.top - pad, r.right + pad, r.bottom + pad};
}

Elements Opened() { return fakes::OverlayRig().overlay.Scene(); }

Elements WithSelection(RectI rect) {
  Elements e = Opened();
  e.outline = {rect, true};
  return e;
}

TEST(DamageTest, NothingChangedRepaintsNothing) {
  const Elements e = WithSelection(SizedRect(100, 100, 400, 300));
  EXPECT_TRUE(ChangedAreas(e, e, 1).empty());
  EXPECT_TRUE(ChangedAreas(Opened(), Opened(), 1).empty());
}

TEST(DamageTest, AMovedOutlineRepaintsThinStripsAroundOldAndNewButNotItsInside) {
  const RectI old_rect = SizedRect(100, 100, 400, 300);
  const RectI new_rect = SizedRect(110, 106, 400, 300);
  const auto areas = ChangedAreas(WithSelection(old_rect), WithSelection(new_rect), 1);

  ExpectOutlineCovered(areas, old_rect);
  ExpectOutlineCovered(areas, new_rect);
  long long repainted = 0;
  for (const RectI& r : areas) {
    EXPECT_LE(std::min(r.Width(), r.Height()), 3);  // one pixel plus the pad each side
    repainted += static_cast<long long>(r.Width()) * r.Height();
  }
  EXPECT_FALSE(Covers(areas, 300, 250));
  EXPECT_FALSE(Covers(areas, 120, 115));
  EXPECT_LT(repainted, 400LL * 300 / 10);  // strips, not the selection's area
}

TEST(DamageTest, ShowingOrHidingTheOutlineRepaintsOnlyWhereItIsOrWas) {
  const RectI rect = SizedRect(50, 60, 120, 80);
  Elements hidden = Opened();
  hidden.outline.rect = rect;
  const Elements shown = WithSelection(rect);

  for (const auto& areas : {ChangedAreas(hidden, shown, 1), ChangedAreas(shown, hidden, 1)}) {
    EXPECT_EQ(areas.size(), 4U);
    ExpectOutlineCovered(areas, rect);
    for (const RectI& r : areas) EXPECT_TRUE(Encloses(Padded(rect, 1), r));
    EXPECT_FALSE(Covers(areas, 110, 100));
  }
}

TEST(DamageTest, AHiddenOutlineThatMovesRepaintsNothing) {
  Elements before = Opened();
  Elements after = Opened();
  after.outline.rect = SizedRect(10, 10, 50, 50);
  EXPECT_TRUE(ChangedAreas(before, after, 1).empty());
}

TEST(DamageTest, AZeroSizeOutlineIsRepaintedAsTheDotItIs) {
  const auto areas = ChangedAreas(Opened(), WithSelection(SizedRect(10, 20, 0, 0)), 0);
  ASSERT_FALSE(areas.empty());
  for (const RectI& r : areas) EXPECT_EQ(r, (RectI{10, 20, 11, 21}));
}

TEST(DamageTest, HandlesAndLabelsRepaintTheirOwnBoxes) {
  Elements before = WithSelection(SizedRect(100, 100, 200, 100));
  Elements after = before;
  after.handles[3] = {SizedRect(298, 148, 4, 4), true};
  after.size_label.visible = true;
  before.size_label.visible = true;
  after.size_label.caption = L"200x100";  // the size text changed, the box did not

  const auto areas = ChangedAreas(before, after, 1);
  ASSERT_FALSE(areas.empty());
  for (const RectI& r : areas)
    EXPECT_TRUE(r == Padded(after.handles[3].rect, 1) || r == Padded(after.size_label.rect, 1));
  EXPECT_TRUE(Covers(areas, 300, 150));
  EXPECT_TRUE(Covers(areas, static_cast<int>(after.size_label.rect.left) + 5,
                     static_cast<int>(after.size_label.rect.top) + 5));
}

struct ToolbarCase {
  const char* name;
  bool shown;
  void (*change)(Elements&);
};

class ToolbarDamageTest : public testing::TestWithParam<ToolbarCase> {};

TEST_P(ToolbarDamageTest, ARepaintOfAnyToolbarPartCoversTheWholeStripWhileItIsShown) {
  Elements before = Opened();
  before.toolbar = {SizedRect(50, 60, 75, 26), GetParam().shown};
  Elements after = before;
  GetParam().change(after);

  const auto areas = ChangedAreas(before, after, 1);
  if (!GetParam().shown) {
    EXPECT_TRUE(areas.empty());
    return;
  }
  ASSERT_FALSE(areas.empty());
  for (const RectI& r : areas) EXPECT_EQ(r, (RectI{49, 59, 126, 87}));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ToolbarDamageTest,
    testing::Values(ToolbarCase{"HoverOn", true,
                                [](Elements& e) { e.hover_squares[1].visible = true; }},
                    ToolbarCase{"HoverMoves", true,
                                [](Elements& e) {
                                  e.hover_squares[0].visible = false;
                                  e.hover_squares[2].visible = true;
                                }},
                    ToolbarCase{"HiddenHoverOn", false,
                                [](Elements& e) { e.hover_squares[1].visible = true; }}),
    [](const testing::TestParamInfo<ToolbarCase>& param) { return std::string(param.param.name); });

TEST(DamageTest, AMovedToolbarRepaintsItsOldAndNewPlace) {
  Elements before = Opened();
  before.toolbar = {SizedRect(50, 60, 75, 26), true};
  Elements after = before;
  after.toolbar.rect = SizedRect(50, 400, 75, 26);
  const auto areas = ChangedAreas(before, after, 0);
  EXPECT_TRUE(Covers(areas, 60, 70));
  EXPECT_TRUE(Covers(areas, 60, 410));
  EXPECT_FALSE(Covers(areas, 60, 200));

  // Shown for the first time: it came from its place above the screen.
  Elements hidden = before;
  hidden.toolbar.visible = false;
  const auto shown = ChangedAreas(hidden, before, 0);
  ASSERT_EQ(shown.size(), 1U);
  EXPECT_EQ(shown[0], (RectI{50, 60, 125, 86}));
}

TEST(DamageTest, ThePadWidensEveryAreaOnEverySide) {
  Elements before = WithSelection(SizedRect(100, 100, 200, 100));
  before.handles[0] = {SizedRect(98, 98, 4, 4), true};
  Elements after = WithSelection(SizedRect(120, 90, 150, 60));
  after.toolbar = {SizedRect(120, 154, 75, 26), true};

  const auto tight = ChangedAreas(before, after, 0);
  const auto wide = ChangedAreas(before, after, 3);
  ASSERT_EQ(tight.size(), wide.size());
  for (std::size_t i = 0; i < tight.size(); ++i) {
    const RectI& t = tight[i];
    EXPECT_EQ(wide[i], (RectI{t.left - 3, t.top - 3, t.right + 3, t.bottom + 3}));
  }
}

TEST(PaintedAreasTest, CoverWhatIsShownAndNothingWhenAllIsHidden) {
  EXPECT_TRUE(PaintedAreas(Opened()).empty());
  const Elements shown = WithSelection(SizedRect(100, 100, 400, 300));
  const auto areas = PaintedAreas(shown);
  ExpectOutlineCovered(areas, shown.outline.rect);
  // The inside of a large selection is plain frozen picture.
  EXPECT_FALSE(Covers(areas, 300, 250));
}

}  // namespace
}  // namespace pelvanto::overlay
