#include "tracking/shell_hook.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::tracking {
namespace {

constexpr unsigned kShellMsg = 0xC0DE;  // registered messages lie in 0xC000..0xFFFF
constexpr unsigned kWmActivate = 0x0006;
constexpr unsigned kWmTimer = 0x0113;

struct FilterCase {
  const char* name;
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  HookAction expected;
};

class FilterMessageTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterMessageTest, ActsOnDestroyAndActivationOnly) {
  const FilterCase& c = GetParam();
  EXPECT_EQ(FilterMessage(kShellMsg, c.message, c.wparam, c.lparam), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FilterMessageTest,
    testing::Values(
        FilterCase{"activated", kShellMsg, 4, 0x1234, {false, true, 0x1234}},
        FilterCase{"activated, no window", kShellMsg, 4, 0, {false, true, 0}},
        FilterCase{"activated, high handle", kShellMsg, 4, -2,
                   {false, true, static_cast<WindowId>(std::intptr_t{-2})}},
        FilterCase{"rude activation", kShellMsg, 0x8004, 0x1234, {}},
        FilterCase{"window created", kShellMsg, 1, 0x1234, {}},
        FilterCase{"window destroyed", kShellMsg, 2, 0x1234, {}},
        FilterCase{"redraw", kShellMsg, 6, 0x1234, {}},
        FilterCase{"other message with code 4", kWmActivate, 4, 0x1234, {}},
        FilterCase{"timer", kWmTimer, 4, 0, {}},
        FilterCase{"nc destroy", kWmNcDestroy, 0, 0, {true, false, 0}}),
    // Stable names: the default would print the case's bytes, pointers included.
    [](const testing::TestParamInfo<FilterCase>& param_info) {
      std::string name = param_info.param.name;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(FilterMessage, FailedRegistrationNeverTurnsAMessageIntoAnActivation) {
  EXPECT_EQ(FilterMessage(0, 0, 4, 0x1234), HookAction{});
}

// Records what the replacement procedure did, in order.
class RecordingWindow : public HookedWindow {
 public:
  explicit RecordingWindow(ChatTracker* tracker = nullptr) : tracker_(tracker) {}
  void UnHook() override { log.push_back("unhook"); }
  void OnActivate(WindowId window) override {
    log.push_back("activate " + std::to_string(window));
    if (tracker_) tracker_->OnActivate(window);
  }
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wparam,
                             std::intptr_t lparam) override {
    log.push_back("previous " + std::to_string(message) + " " + std::to_string(wparam) + " " +
                  std::to_string(lparam));
    return 77;
  }
  std::vector<std::string> log;

 private:
  ChatTracker* tracker_;
};

TEST(InterceptMessage, ActsFirstThenAlwaysPassesTheMessageOn) {
  struct Case {
    unsigned message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {kShellMsg, 4, 0x10, {"activate 16", "previous 49374 4 16"}},
      {kWmNcDestroy, 0, 0, {"unhook", "previous 130 0 0"}},
      {kShellMsg, 0x8004, 0x10, {"previous 49374 32772 16"}},
      {kWmActivate, 1, 0, {"previous 6 1 0"}},
      {kWmTimer, 4, 0, {"previous 275 4 0"}},
  };
  for (const Case& c : cases) {
    RecordingWindow window;
    EXPECT_EQ(InterceptMessage(window, kShellMsg, c.message, c.wparam, c.lparam), 77);
    EXPECT_EQ(window.log, c.log);
  }
}

TEST(InterceptMessage, ActivationOfNoWindowIsIgnoredByTheTracker) {
  fakes::FakeWindowInfo windows;
  windows.paths[0] = L"qq.exe";  // would match if handle 0 were looked up
  fakes::FakeClipboard clipboard;
  ChatTracker tracker(windows, clipboard);
  RecordingWindow window(&tracker);
  InterceptMessage(window, kShellMsg, kShellMsg, 4, 0);
  EXPECT_EQ(window.log.front(), "activate 0");
  EXPECT_EQ(tracker.ChatWindow(), 0U);
}

// Counts the process lookups, one per activation the tracker acts on.
class CountingQueries : public fakes::FakeWindowInfo {
 public:
  std::wstring ProcessPath(WindowId window) const override {
    ++lookups;
    return FakeWindowInfo::ProcessPath(window);
  }
  mutable int lookups = 0;
};

TEST(ForegroundWatch, EachChangeOfForegroundIsOneActivation) {
  CountingQueries windows;
  windows.paths[0x10] = L"c:\\qq\\qq.exe";
  windows.paths[0x20] = L"c:\\browser\\browser.exe";
  windows.paths[0x30] = L"c:\\qq\\qq.exe";
  fakes::FakeClipboard clipboard;
  ChatTracker tracker(windows, clipboard);
  ForegroundWatch watch(tracker);

  watch.Poll(0x10);
  EXPECT_EQ(windows.lookups, 1);
  EXPECT_EQ(tracker.ChatWindow(), 0x10U);

  watch.Poll(0x10);  // still the same foreground: no new activation
  EXPECT_EQ(windows.lookups, 1);

  watch.Poll(0x20);
  watch.Poll(0x20);
  EXPECT_EQ(windows.lookups, 2);
  EXPECT_EQ(tracker.ChatWindow(), 0x10U);

  watch.Poll(0x30);
  EXPECT_EQ(tracker.ChatWindow(), 0x30U);

  // A moment without a foreground window, then the first chat again.
  watch.Poll(0);
  watch.Poll(0x10);
  EXPECT_EQ(windows.lookups, 4);
  EXPECT_EQ(tracker.ChatWindow(), 0x10U);
}

}  // namespace
}  // namespace pelvanto::tracking
