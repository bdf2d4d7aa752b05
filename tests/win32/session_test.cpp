// Cuts while the session is locked or disconnected: skipped without touching the clipboard,
// and back at the unlock or reconnection.
#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <cstring>

#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

// Leaves a text on the clipboard, which a cut would replace by a picture.
bool PutText() {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  const wchar_t text[] = L"kept";
  OwnedGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, sizeof text));
  if (void* data = memory ? ::GlobalLock(memory.get()) : nullptr) {
    std::memcpy(data, text, sizeof text);
    ::GlobalUnlock(memory.get());
    if (::SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
  }
  ::CloseClipboard();
  return !memory;
}

TEST(SessionChange, CutsWaitWhileLockedOrDisconnectedAndResumeAfter) {
  OverlayHostRig rig;
  ASSERT_TRUE(rig.main);
  OverlayInstance overlay(rig.shared, 1);
  ASSERT_TRUE(overlay.Open());

  struct Case {
    const char* name;
    WPARAM away, back;
  };
  const Case cases[] = {
      {"lock", WTS_SESSION_LOCK, WTS_SESSION_UNLOCK},
      {"console disconnect", WTS_CONSOLE_DISCONNECT, WTS_CONSOLE_CONNECT},
      {"remote disconnect", WTS_REMOTE_DISCONNECT, WTS_REMOTE_CONNECT},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(PutText()) << c.name;
    ::SendMessageW(rig.main->hwnd(), WM_WTSSESSION_CHANGE, c.away, 0);
    overlay.logic().OnCutTimer();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT)) << c.name;
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP)) << c.name;

    ::SendMessageW(rig.main->hwnd(), WM_WTSSESSION_CHANGE, c.back, 0);
    overlay.logic().OnCutTimer();
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP)) << c.name;
  }
}

}  // namespace
}  // namespace pelvanto::win32::testing
