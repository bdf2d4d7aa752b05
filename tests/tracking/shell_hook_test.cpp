#include "tracking/shell_hook.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <optional>
#include <vector>

#include "fakes/fakes.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::tracking {
namespace {

constexpr unsigned kShellMsg = 0xC0DE;  // registered messages lie in 0xC000..0xFFFF
constexpr unsigned kWmActivate = 0x0006;
constexpr unsigned kWmTimer = 0x0113;

struct ActivationCase {
  const char* name;
  unsigned message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  std::optional<WindowId> expected;
};

class ActivatedWindowTest : public testing::TestWithParam<ActivationCase> {};

TEST_P(ActivatedWindowTest, OnlyTheShellsActivationCodesNameAWindow) {
  const ActivationCase& c = GetParam();
  EXPECT_EQ(ActivatedWindow(kShellMsg, c.message, c.wparam, c.lparam), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ActivatedWindowTest,
    testing::Values(
        ActivationCase{"activated", kShellMsg, 4, 0x1234, 0x1234},
        ActivationCase{"activated, no window", kShellMsg, 4, 0, 0},
        ActivationCase{"activated, high handle", kShellMsg, 4, -2,
                       static_cast<WindowId>(std::intptr_t{-2})},
        ActivationCase{"rude activation", kShellMsg, 0x8004, 0x1234, 0x1234},
        ActivationCase{"rude activation, no window", kShellMsg, 0x8004, 0, 0},
        ActivationCase{"full-screen flag alone", kShellMsg, 0x8000, 0x1234, std::nullopt},
        ActivationCase{"rude flag on another code", kShellMsg, 0x8001, 0x1234, std::nullopt},
        ActivationCase{"window created", kShellMsg, 1, 0x1234, std::nullopt},
        ActivationCase{"window destroyed", kShellMsg, 2, 0x1234, std::nullopt},
        ActivationCase{"redraw", kShellMsg, 6, 0x1234, std::nullopt},
        ActivationCase{"other message with code 4", kWmActivate, 4, 0x1234, std::nullopt},
        ActivationCase{"timer", kWmTimer, 4, 0, std::nullopt}),
    // Stable names: the default would print the case's bytes, pointers included.
    [](const testing::TestParamInfo<ActivationCase>& param_info) {
      std::string name = param_info.param.name;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(ActivatedWindow, WithoutASubscriptionNoMessageIsAnActivation) {
  EXPECT_EQ(ActivatedWindow(0, 0, 4, 0x1234), std::nullopt);
  EXPECT_EQ(ActivatedWindow(0, 0, 0x8004, 0x1234), std::nullopt);
}

TEST(ActivatedWindow, AnActivationOfNoWindowIsIgnoredByTheTracker) {
  fakes::FakeWindowInfo windows;
  windows.paths[0] = L"qq.exe";  // would match if handle 0 were looked up
  fakes::FakeClipboard clipboard;
  ChatTracker tracker(windows, clipboard);
  tracker.OnActivate(*ActivatedWindow(kShellMsg, kShellMsg, 4, 0));
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
