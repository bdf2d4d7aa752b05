// Reading a followed window of another program: what says it is still there, still the same
// window, and where; the system's reports of its moves; and this program's own windows refused.
#include "platform/win32/system/window_watch.h"

#include <gtest/gtest.h>

#include "overlay/follow.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

WindowId Id(HWND window) { return reinterpret_cast<WindowId>(window); }

TEST(WindowWatch, AnotherProgramsWindowIsReadWithItsProcessClassAndState) {
  ChatProcess chat(L"跟随甲");
  ASSERT_NE(chat.window(), nullptr);
  SystemWindowWatch watch({});
  const HWND w = chat.window();
  ASSERT_TRUE(::SetWindowPos(w, nullptr, 120, 90, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE));
  PumpFor(300);
  WindowLook look = watch.Look(Id(w));
  DWORD process = 0;
  ::GetWindowThreadProcessId(w, &process);
  EXPECT_TRUE(look.exists);
  EXPECT_EQ(look.process, process);
  EXPECT_NE(look.process, watch.OwnProcess());
  EXPECT_FALSE(look.class_name.empty());
  EXPECT_EQ(look.show, WindowShow::kShown);
  RECT r{};
  ::GetWindowRect(w, &r);
  EXPECT_EQ(look.frame, (RectI{r.left, r.top, r.right, r.bottom}));
  EXPECT_EQ(watch.Title(Id(w)), L"跟随甲");

  ::ShowWindow(w, SW_MINIMIZE);
  PumpFor(300);
  EXPECT_EQ(watch.Look(Id(w)).show, WindowShow::kMinimised);
  ::ShowWindow(w, SW_RESTORE);
  ::SetWindowPos(w, nullptr, -30000, -30000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(300);
  EXPECT_EQ(watch.Look(Id(w)).show, WindowShow::kOffMonitors);
  ::ShowWindow(w, SW_HIDE);
  PumpFor(300);
  EXPECT_EQ(watch.Look(Id(w)).show, WindowShow::kHidden);
}

TEST(WindowWatch, AClosedWindowIsGoneAndAnotherProgramsWindowIsNotTheSame) {
  SystemWindowWatch watch({});
  auto first = std::make_unique<ChatProcess>(L"跟随乙");
  ChatProcess second(L"跟随丙");
  ASSERT_NE(first->window(), nullptr);
  ASSERT_NE(second.window(), nullptr);
  const HWND closed = first->window();
  overlay::Follower follower(watch);
  const RectI frame = watch.Look(Id(closed)).frame;
  follower.Choose(
      frame, overlay::FollowChoice{Id(closed), 0, overlay::FollowKind::kWholeWindow, frame, frame},
      true);
  EXPECT_EQ(follower.Facts().state, overlay::FollowState::kFollowing);
  // The same program under another process: what a reused handle would read as.
  EXPECT_NE(watch.Look(Id(second.window())).process, watch.Look(Id(closed)).process);
  first.reset();
  PumpFor(200);
  EXPECT_FALSE(watch.Look(Id(closed)).exists);
  const RectI desktop{-32768, -32768, 32767, 32767};
  EXPECT_TRUE(follower.Check(desktop));
  EXPECT_EQ(follower.Facts().state, overlay::FollowState::kGone);
  EXPECT_FALSE(watch.Look(0).exists);
}

TEST(WindowWatch, ThisProgramsOwnWindowsAreNeverFollowed) {
  ProgramRig rig;
  SystemWindowWatch watch({});
  const HWND own = rig.main->hwnd();
  overlay::Follower follower(watch);
  const RectI frame = watch.Look(Id(own)).frame;
  follower.Choose(
      frame, overlay::FollowChoice{Id(own), 0, overlay::FollowKind::kWholeWindow, frame, frame},
      true);
  EXPECT_EQ(follower.Facts().state, overlay::FollowState::kNone);
  for (const WindowPlace& place : watch.TopLevelWindows()) EXPECT_NE(place.window, Id(own));
}

TEST(WindowWatch, TheSystemReportsTheFollowedWindowsMovesWhereItCan) {
  ChatProcess chat(L"跟随丁");
  ASSERT_NE(chat.window(), nullptr);
  int moves = 0;
  SystemWindowWatch watch([&] { ++moves; });
  watch.Listen(Id(chat.window()));
  EXPECT_TRUE(watch.Hooked());
  for (int i = 0; i < 5; ++i) {
    ::SetWindowPos(chat.window(), nullptr, 100 + 10 * i, 100, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(100);
  }
  if (UnderWine() && moves == 0)
    GTEST_SKIP() << "Wine reports no location change of another program's window; the pace's "
                    "ticks read it instead";
  EXPECT_GE(moves, 1);
  watch.Listen(0);
  const int before = moves;
  ::SetWindowPos(chat.window(), nullptr, 300, 300, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(200);
  EXPECT_EQ(moves, before);
}

}  // namespace
}  // namespace pelvanto::win32::testing
