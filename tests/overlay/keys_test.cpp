#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace pelvanto::overlay {
namespace {

using fakes::OverlayRig;
constexpr MouseButton kLeft = MouseButton::kLeft;
constexpr MouseButton kRight = MouseButton::kRight;

KeyPress Press(Key key, bool shift = false, bool ctrl = false) { return {key, shift, ctrl, false}; }

// An open overlay on a 1024 x 768 screen, optionally with a finished selection.
struct Rig : OverlayRig {
  explicit Rig(RectI selection = {}) {
    overlay.Open();
    if (selection == RectI{}) return;
    // A zero-size selection is drawn along the anchor's row.
    const bool zero = selection.Width() == 0 && selection.Height() == 0;
    Drag(selection.left, selection.top, zero ? selection.left + 10 : selection.right,
         selection.bottom);
  }
  RectI Selection() const { return overlay.CurrentSelection().Rect(); }
};

TEST(KeysTest, EscapeClearsASelectionThenClosesAsARightClickWould) {
  Rig rig(SizedRect(100, 100, 200, 100));
  EXPECT_TRUE(rig.overlay.OnKey(Press(Key::kEscape)));
  EXPECT_FALSE(rig.overlay.Scene().outline.visible);
  EXPECT_FALSE(rig.overlay.Scene().toolbar.visible);
  EXPECT_FALSE(rig.overlay.CurrentSelection().Finished());
  EXPECT_FALSE(rig.overlay.Closed());
  // Held down, the key repeats: that must not close what the first press only cleared.
  EXPECT_FALSE(rig.overlay.OnKey({Key::kEscape, false, false, true}));
  EXPECT_FALSE(rig.overlay.Closed());
  EXPECT_TRUE(rig.overlay.OnKey(Press(Key::kEscape)));
  EXPECT_TRUE(rig.overlay.Closed());
  EXPECT_TRUE(rig.window.destroyed);
}

TEST(KeysTest, EnterAndADoubleClickInsideCopyAndExitOnlyWithASelection) {
  const struct {
    const char* name;
    bool selected;
    std::function<void(Rig&)> act;
    bool copies;
  } cases[] = {
      {"enter", true, [](Rig& r) { r.overlay.OnKey(Press(Key::kEnter)); }, true},
      {"enter without selection", false, [](Rig& r) { r.overlay.OnKey(Press(Key::kEnter)); },
       false},
      {"double click inside", true, [](Rig& r) { r.DoubleClick(150, 150); }, true},
      {"double click outside", true, [](Rig& r) { r.DoubleClick(50, 50); }, false},
      {"double click, no selection", false,
       [](Rig& r) {
         r.overlay.OnDoubleClick(150, 150);
         r.overlay.OnMouseUp(kLeft, 150, 150);
       },
       false},
  };
  for (const auto& c : cases) {
    Rig rig(c.selected ? SizedRect(100, 100, 200, 100) : RectI{});
    c.act(rig);
    EXPECT_EQ(rig.window.minimise_requests, c.copies ? 1 : 0) << c.name;
    EXPECT_EQ(rig.auto_cut_timer.Enabled(), c.copies) << c.name;
    EXPECT_EQ(rig.tray.icons.size(), c.copies ? 1u : 0u) << c.name;
    EXPECT_FALSE(rig.overlay.Loupe().visible && c.copies) << c.name;
  }
}

TEST(KeysTest, ArrowsMoveOrResizeWithTheMouseClampingAndNeverBelowZero) {
  const struct {
    RectI start;
    KeyPress press;
    RectI expected;
  } cases[] = {
      {SizedRect(100, 100, 200, 100), Press(Key::kRight), SizedRect(101, 100, 200, 100)},
      {SizedRect(100, 100, 200, 100), Press(Key::kUp, true), SizedRect(100, 90, 200, 100)},
      // Stops at 0, and at the far edges of 1024 x 768.
      {SizedRect(5, 5, 200, 100), Press(Key::kLeft, true), SizedRect(0, 5, 200, 100)},
      {SizedRect(820, 600, 200, 100), Press(Key::kRight, true), SizedRect(824, 600, 200, 100)},
      {SizedRect(100, 665, 200, 100), Press(Key::kDown, true), SizedRect(100, 668, 200, 100)},
      {SizedRect(100, 100, 200, 100), Press(Key::kRight, false, true),
       SizedRect(100, 100, 201, 100)},
      {SizedRect(100, 100, 200, 100), Press(Key::kUp, true, true), SizedRect(100, 100, 200, 90)},
      // Never below 0, and no further than the screen's edge.
      {SizedRect(100, 100, 4, 3), Press(Key::kLeft, true, true), SizedRect(100, 100, 0, 3)},
      {SizedRect(100, 100, 4, 3), Press(Key::kUp, false, true), SizedRect(100, 100, 4, 2)},
      {SizedRect(1000, 100, 20, 10), Press(Key::kRight, true, true), SizedRect(1000, 100, 24, 10)},
  };
  for (const auto& c : cases) {
    Rig rig(c.start);
    ASSERT_EQ(rig.Selection(), c.start);
    EXPECT_TRUE(rig.overlay.OnKey(c.press));
    EXPECT_EQ(rig.Selection(), c.expected) << c.start.left << "," << c.start.top;
  }
  Rig zero(SizedRect(300, 300, 0, 0));
  zero.overlay.OnKey(Press(Key::kLeft, false, true));
  EXPECT_EQ(zero.Selection(), SizedRect(300, 300, 0, 0));
}

TEST(KeysTest, AnArrowLeavesEverythingAsTheSameMouseMoveOrEdgeDragWould) {
  // Moving: a drag from inside by the same offset. Resizing: the right or bottom edge's handle
  // dragged by as much.
  const struct {
    KeyPress press;
    int dx, dy;
    int handle;
  } cases[] = {
      {Press(Key::kLeft, true), -10, 0, -1},
      {Press(Key::kDown), 0, 1, -1},
      {Press(Key::kRight, false, true), 1, 0, 7},
      {Press(Key::kDown, true, true), 0, 10, 5},
  };
  for (const auto& c : cases) {
    Rig by_key(SizedRect(100, 100, 200, 100));
    Rig by_mouse(SizedRect(100, 100, 200, 100));
    by_key.overlay.OnKey(c.press);
    if (c.handle < 0) {
      by_mouse.Drag(150, 150, 150 + c.dx, 150 + c.dy);
    } else {
      const RectI h = by_mouse.overlay.Scene().handles[static_cast<std::size_t>(c.handle)].rect;
      const int x = h.left + 2, y = h.top + 2;
      by_mouse.window.cursor = {c.handle == 7 ? 300 + c.dx : x, c.handle == 5 ? 200 + c.dy : y};
      by_mouse.overlay.OnMouseDown(kLeft, x, y);
      by_mouse.overlay.OnMouseMove(kLeft, x + c.dx, y + c.dy);
      by_mouse.overlay.OnMouseUp(kLeft, x + c.dx, y + c.dy);
    }
    EXPECT_EQ(by_key.overlay.Scene(), by_mouse.overlay.Scene()) << c.dx << "," << c.dy;
    // The next mouse move starts from where the key left the selection.
    by_key.Drag(150, 150, 160, 150);
    EXPECT_EQ(by_key.Selection().left, by_mouse.Selection().left + 10);
  }
}

TEST(KeysTest, KeysDoNothingWhileAButtonIsDownOrWithoutASelection) {
  Rig held(SizedRect(100, 100, 200, 100));
  held.overlay.OnMouseDown(kLeft, 150, 150);
  for (Key key : {Key::kEscape, Key::kEnter, Key::kLeft, Key::kDown}) {
    EXPECT_FALSE(held.overlay.OnKey(Press(key))) << static_cast<int>(key);
  }
  EXPECT_EQ(held.Selection(), SizedRect(100, 100, 200, 100));
  EXPECT_FALSE(held.overlay.Closed());

  Rig empty;
  const Elements before = empty.overlay.Scene();
  EXPECT_FALSE(empty.overlay.OnKey(Press(Key::kRight, true, true)));
  EXPECT_EQ(empty.overlay.Scene(), before);
  empty.overlay.OnMouseDown(kRight, 10, 10);               // a right press with no selection...
  EXPECT_FALSE(empty.overlay.OnKey(Press(Key::kEscape)));  // ...holds the keys too
}

}  // namespace
}  // namespace pelvanto::overlay
