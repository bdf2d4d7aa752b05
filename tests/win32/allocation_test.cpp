// Callbacks that Windows calls through its own frames must not let an exception out: one that
// runs out of memory ends the enumeration, and the program goes on.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/system/window_snapshot.h"

namespace {
std::atomic<bool> fail_allocations{false};

// Whether `call` threw std::bad_alloc while every allocation failed. (The assertion macros
// allocate, so they wait until allocations work again.)
template <typename Call>
bool ThrowsWhileAllocationsFail(Call call) {
  bool thrown = false;
  fail_allocations = true;
  try {
    call();
  } catch (const std::bad_alloc&) {
    thrown = true;
  }
  fail_allocations = false;
  return thrown;
}
}  // namespace

void* operator new(std::size_t size) {
  if (!fail_allocations)
    if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace pelvanto::win32 {

// Before: std::terminate from inside EnumDisplayMonitors and EnumWindows. Now the failure
// comes back as bad_alloc from the program's own frames, and the next walk works.
TEST(EnumerationCallbacks, AnAllocationFailureEndsTheWalkNotTheProgram) {
  EXPECT_TRUE(ThrowsWhileAllocationsFail([] { CurrentDesktop(); }));
  EXPECT_FALSE(CurrentDesktop().monitors.empty());

  const HWND window = ::CreateWindowExW(0, L"STATIC", L"shown", WS_POPUP | WS_VISIBLE, 10, 10, 50,
                                        50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  WindowSnapshot snapshot(0, {0, 0, 4000, 4000});
  ThrowsWhileAllocationsFail([&] { snapshot.RecordWindows(); });  // empty, or bad_alloc
  EXPECT_FALSE(snapshot.RecordWindows().empty());
  ::DestroyWindow(window);
}

}  // namespace pelvanto::win32
