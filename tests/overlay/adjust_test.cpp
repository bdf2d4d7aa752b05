// Adjusting the watched area from the tray: the overlay again with the area in place, and the
// ways back, with the new area or the old.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fakes.h"
#include "overlay/overlay.h"

namespace pelvanto::overlay {
namespace {

using fakes::OpenOverlayRig;
using fakes::OverlayRig;

constexpr RectI kWatched{100, 120, 400, 320};

void Key(OverlayRig& rig, overlay::Key key, bool shift = false) {
  rig.overlay.OnKey({key, shift, false, false});
}

struct AdjustCase {
  const char* name;
  std::function<void(OverlayRig&)> steps;
  RectI after;  // the area the next cut copies
};

class AdjustTest : public testing::TestWithParam<AdjustCase> {};

TEST_P(AdjustTest, ShowsTheAreaInPlaceAndGoesBackWithTheNewOrTheOld) {
  const AdjustCase& c = GetParam();
  OpenOverlayRig rig;
  rig.Drag(kWatched.left, kWatched.top, kWatched.right, kWatched.bottom);
  rig.ClickButton(kCopyAndExit);
  ASSERT_EQ(rig.events.area_sets, 1);
  rig.window.frozen = {};

  ASSERT_TRUE(rig.overlay.Adjust(SingleMonitorDesktop(1024, 768, 96)));
  EXPECT_EQ(rig.window.frozen, (RectI{0, 0, 1024, 768}));  // frozen anew
  const Elements shown = rig.overlay.Scene();
  EXPECT_EQ(shown.outline.rect, kWatched);
  EXPECT_TRUE(shown.outline.visible && shown.toolbar.visible && shown.size_label.visible);
  for (const auto& handle : shown.handles) EXPECT_TRUE(handle.visible);
  rig.overlay.OnCutTimer();  // a cut on its way must not copy the overlay
  EXPECT_TRUE(rig.events.reports.empty());

  c.steps(rig);
  EXPECT_FALSE(rig.overlay.Closed());
  EXPECT_FALSE(rig.overlay.Adjusting());
  EXPECT_EQ(rig.events.area_sets, 2);
  EXPECT_EQ(rig.tray.icons.size(), 1U);  // the same icon throughout
  rig.overlay.OnCutTimer();
  ASSERT_EQ(rig.events.reports.size(), 1U);
  EXPECT_EQ(rig.overlay.CurrentSelection().Rect(), c.after);
  const int m = rig.overlay.LastMargin();
  EXPECT_EQ(rig.clipboard.content->left, c.after.left);
  EXPECT_EQ(rig.clipboard.content->width, c.after.Width() + m);
}

constexpr RectI kMoved{110, 121, 410, 321};
INSTANTIATE_TEST_SUITE_P(
    Endings, AdjustTest,
    testing::Values(
        AdjustCase{"ArrowsThenEnter",
                   [](OverlayRig& r) {
                     Key(r, Key::kRight, true);
                     Key(r, Key::kDown);
                     Key(r, Key::kEnter);
                   },
                   kMoved},
        AdjustCase{"ArrowsThenCopyAndExit",
                   [](OverlayRig& r) {
                     Key(r, Key::kRight, true);
                     Key(r, Key::kDown);
                     r.ClickButton(kCopyAndExit);
                   },
                   kMoved},
        AdjustCase{"EscUnchanged", [](OverlayRig& r) { Key(r, Key::kEscape); }, kWatched},
        AdjustCase{"RightClickUnchanged",
                   [](OverlayRig& r) { r.Click(200, 200, MouseButton::kRight); }, kWatched},
        // Changed, Esc clears the selection as ever; the next one goes back to the old area.
        AdjustCase{"MovedThenEscTwice",
                   [](OverlayRig& r) {
                     Key(r, Key::kLeft);
                     Key(r, Key::kEscape);
                     Key(r, Key::kEscape);
                   },
                   kWatched},
        AdjustCase{"MovedThenExitCapture",
                   [](OverlayRig& r) {
                     Key(r, Key::kLeft);
                     r.ClickButton(kExitCapture);
                   },
                   kWatched},
        AdjustCase{"MovedThenAltF4",
                   [](OverlayRig& r) {
                     Key(r, Key::kLeft);
                     r.overlay.OnCloseRequest();
                   },
                   kWatched}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(AdjustTest, AnAreaOffTheNewDesktopIsShownOnItAndOnlyFromTheTray) {
  OpenOverlayRig rig(1920, 1080);
  EXPECT_FALSE(rig.overlay.Adjust(SingleMonitorDesktop(1920, 1080, 96)));  // not in the tray
  rig.Drag(1500, 800, 1800, 1000);
  rig.ClickButton(kCopyAndExit);
  // The monitor shrank to 1024 x 768 meanwhile.
  ASSERT_TRUE(rig.overlay.Adjust(SingleMonitorDesktop(1024, 768, 96)));
  EXPECT_EQ(rig.overlay.CurrentSelection().Rect(), (RectI{724, 568, 1024, 768}));
  EXPECT_FALSE(rig.overlay.Adjust(SingleMonitorDesktop(1024, 768, 96)));  // already up
  // Cancelled: the area as it was, which the cuts copy black where no monitor is.
  Key(rig, Key::kEscape);
  EXPECT_EQ(rig.overlay.CurrentSelection().Rect(), (RectI{1500, 800, 1800, 1000}));
  // A failed freeze leaves it in the tray as it was.
  rig.window.freeze_fails = true;
  EXPECT_FALSE(rig.overlay.Adjust(SingleMonitorDesktop(1024, 768, 96)));
  EXPECT_FALSE(rig.overlay.Adjusting());
}

}  // namespace
}  // namespace pelvanto::overlay
