#include "tracking/chat_tracker.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fakes.h"

namespace pelvanto::tracking {
namespace {

struct CleanCase {
  std::wstring title;
  std::wstring cleaned;
};

class CleanTitleTest : public testing::TestWithParam<CleanCase> {};

TEST_P(CleanTitleTest, CutsAtFirstMarkAndBlanksNonChatWindows) {
  EXPECT_EQ(CleanTitle(GetParam().title), GetParam().cleaned);
}

const std::wstring kLong(300, L'聊');

INSTANTIATE_TEST_SUITE_P(
    Titles, CleanTitleTest,
    testing::Values(CleanCase{L"", L""}, CleanCase{L"张三", L"张三"}, CleanCase{L"Bob", L"Bob"},
                    // The mark cuts at its first occurrence only.
                    CleanCase{L"技术交流群等5人", L"技术交流群"}, CleanCase{L"甲等乙等丙", L"甲"},
                    CleanCase{L"等", L""}, CleanCase{L"等待回复", L""},
                    // The five non-chat windows, also when the mark leaves one of them.
                    CleanCase{L"查看高清头像", L""}, CleanCase{L"验证消息", L""},
                    CleanCase{L"系统消息", L""}, CleanCase{L"腾讯网迷你版", L""},
                    CleanCase{L"消息管理器", L""}, CleanCase{L"系统消息等3条", L""},
                    // Containing one of them is not being one.
                    CleanCase{L"查看高清头像 - 张三", L"查看高清头像 - 张三"},
                    CleanCase{L"新系统消息", L"新系统消息"},
                    CleanCase{L"消息管理器 ", L"消息管理器 "},
                    // Long titles are kept whole up to the mark.
                    CleanCase{kLong, kLong}, CleanCase{kLong + L"等2人", kLong}));

struct PathCase {
  std::wstring path;
  bool chat;
};

class ChatProcessPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(ChatProcessPathTest, MatchesSuffixInAnyCase) {
  EXPECT_EQ(IsChatProcessPath(GetParam().path), GetParam().chat) << GetParam().path.size();
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ChatProcessPathTest,
    testing::Values(PathCase{L"c:\\program files\\tencent\\qq\\bin\\qq.exe", true},
                    PathCase{L"C:\\QQ\\BIN\\QQ.EXE", true}, PathCase{L"qQ.ExE", true},
                    PathCase{L"c:\\tools\\myqq.exe", true},
                    PathCase{L"d:\\软件\\腾讯聊天\\qq.exe", true}, PathCase{L"q.exe", false},
                    PathCase{L"", false}, PathCase{L"c:\\qq\\bin\\chrome.exe", false},
                    PathCase{L"c:\\qq\\qq.exe.bak", false}, PathCase{L"c:\\qq\\qq.ex", false},
                    // Fullwidth letters are other characters, not a case of ASCII ones.
                    PathCase{L"c:\\ｑｑ.exe", false}));

// A desktop of windows, the tracker and the clipboard it empties.
struct TrackerRig {
  static constexpr WindowId kChatA = 0x101;
  static constexpr WindowId kChatB = 0x102;
  static constexpr WindowId kBrowser = 0x201;
  static constexpr WindowId kElevated = 0x301;  // its process cannot be opened

  TrackerRig() {
    windows.paths[kChatA] = L"c:\\program files\\tencent\\qq\\bin\\qq.exe";
    windows.paths[kChatB] = L"c:\\program files\\tencent\\qq\\bin\\qq.exe";
    windows.paths[kBrowser] = L"c:\\program files\\browser\\browser.exe";
    windows.titles[kChatA] = L"张三";
    windows.titles[kChatB] = L"李四";
    windows.titles[kBrowser] = L"新闻 - 浏览器";
    windows.titles[kElevated] = L"qq.exe";
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) tracker.Watch();
  }

  fakes::FakeWindowInfo windows;
  fakes::FakeClipboard clipboard;
  ChatTracker tracker{windows, clipboard};
};

TEST(ChatTrackerOnActivate, FollowsTheLastActivatedChatWindow) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  EXPECT_EQ(rig.tracker.ChatWindow(), TrackerRig::kChatA);
  rig.tracker.OnActivate(TrackerRig::kChatB);
  EXPECT_EQ(rig.tracker.ChatWindow(), TrackerRig::kChatB);
}

TEST(ChatTrackerOnActivate, OtherWindowsLeaveTheChatWindowAlone) {
  TrackerRig rig;
  rig.windows.paths[0] = L"qq.exe";  // would match if handle 0 were looked up
  rig.tracker.OnActivate(TrackerRig::kChatA);
  for (WindowId other : {WindowId{0}, TrackerRig::kBrowser, TrackerRig::kElevated}) {
    rig.tracker.OnActivate(other);
    EXPECT_EQ(rig.tracker.ChatWindow(), TrackerRig::kChatA) << other;
  }
}

TEST(ChatTrackerOnActivate, RecognisesChatProcessesByPath) {
  const WindowId w = 0x500;
  for (const wchar_t* path :
       {L"C:\\PROGRAM FILES\\TENCENT\\QQ.EXE", L"e:\\myqq.exe", L"d:\\软件\\腾讯\\qq.exe"}) {
    TrackerRig rig;
    rig.windows.paths[w] = path;
    rig.tracker.OnActivate(w);
    EXPECT_EQ(rig.tracker.ChatWindow(), w) << path;
  }
}

TEST(ChatTrackerWatch, DoesNothingBeforeAnyChatWindow) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kBrowser);
  rig.Ticks(3);
  EXPECT_EQ(rig.clipboard.empties, 0);
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"");
}

TEST(ChatTrackerWatch, EmptiesOnceWhenTheCleanedTitleChanges) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(3);
  EXPECT_EQ(rig.clipboard.empties, 1);
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"张三");

  rig.tracker.OnActivate(TrackerRig::kChatB);
  rig.Ticks(3);
  EXPECT_EQ(rig.clipboard.empties, 2);
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"李四");

  // A browser in between changes nothing.
  rig.tracker.OnActivate(TrackerRig::kBrowser);
  rig.Ticks(2);
  EXPECT_EQ(rig.clipboard.empties, 2);
}

TEST(ChatTrackerWatch, ChatsWithEqualCleanedTitlesDoNotEmpty) {
  TrackerRig rig;
  rig.windows.titles[TrackerRig::kChatA] = L"技术交流群等5人";
  rig.windows.titles[TrackerRig::kChatB] = L"技术交流群等12人";
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.clipboard.empties = 0;
  rig.tracker.OnActivate(TrackerRig::kChatB);
  rig.Ticks(3);
  EXPECT_EQ(rig.clipboard.empties, 0);
}

TEST(ChatTrackerWatch, TitlesDifferingOnlyInCaseAreDifferentChats) {
  TrackerRig rig;
  rig.windows.titles[TrackerRig::kChatA] = L"Bob";
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.windows.titles[TrackerRig::kChatA] = L"bob";
  rig.Ticks(1);
  EXPECT_EQ(rig.clipboard.empties, 2);
}

TEST(ChatTrackerWatch, ClosedChatEmptiesOnceAndNotAgain) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.windows.titles.erase(TrackerRig::kChatA);
  rig.Ticks(5);
  EXPECT_EQ(rig.clipboard.empties, 2);
  EXPECT_EQ(rig.tracker.ChatWindow(), TrackerRig::kChatA);  // never cleared
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"");
}

TEST(ChatTrackerWatch, ClosingAWindowWhoseTitleCleanedToNothingDoesNotEmpty) {
  TrackerRig rig;
  rig.windows.titles[TrackerRig::kChatA] = L"系统消息";
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.windows.titles.erase(TrackerRig::kChatA);
  rig.Ticks(2);
  EXPECT_EQ(rig.clipboard.empties, 0);
}

TEST(ChatTrackerWatch, NonChatMessengerWindowAfterAChatEmptiesOnce) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  const WindowId manager = 0x103;
  rig.windows.paths[manager] = rig.windows.paths[TrackerRig::kChatA];
  rig.windows.titles[manager] = L"消息管理器";
  rig.tracker.OnActivate(manager);
  rig.Ticks(3);
  EXPECT_EQ(rig.clipboard.empties, 2);
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"");
}

TEST(ChatTrackerWatch, ClipboardHeldElsewhereIsRetriedAtTheNextTick) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.clipboard.text = L"copied elsewhere";
  rig.clipboard.held_by_other = true;
  rig.tracker.OnActivate(TrackerRig::kChatB);
  rig.Ticks(2);
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"张三");  // the change is not taken as done

  rig.clipboard.held_by_other = false;
  rig.Ticks(2);
  EXPECT_EQ(rig.clipboard.empties, 2);
  EXPECT_FALSE(rig.clipboard.text.has_value());
  EXPECT_EQ(rig.tracker.LastChatTitle(), L"李四");
}

TEST(ChatTrackerWatch, ChangeUndoneWhileClipboardWasHeldNeedsNoEmptying) {
  TrackerRig rig;
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.Ticks(1);
  rig.clipboard.held_by_other = true;
  rig.tracker.OnActivate(TrackerRig::kChatB);
  rig.Ticks(1);
  rig.tracker.OnActivate(TrackerRig::kChatA);
  rig.clipboard.held_by_other = false;
  rig.Ticks(2);
  EXPECT_EQ(rig.clipboard.empties, 1);
}

}  // namespace
}  // namespace pelvanto::tracking
