#pragma once
// What the Win32 integration tests share: the program's services around a real main window,
// a recording tray, and stand-in chat programs in processes of their own.

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "host/tray.h"
#include "overlay/overlay.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/main/main_window.h"
#include "platform/win32/base/message_pump.h"
#include "platform/win32/base/window_timer.h"
#include "platform/win32/overlay/overlay_host.h"
#include "platform/win32/system/pointer.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/clipboard.h"
#include "platform/win32/display/session_watch.h"
#include "platform/win32/system/system_clock.h"
#include "platform/win32/system/window_queries.h"

namespace pelvanto::win32::testing {

// The icons the tray shows, by window and id, as the shell would keep them.
class RecordingTray final : public Tray {
 public:
  bool Add(const TrayRecord& record) override;
  void Delete(const TrayRecord& record) override;
  void Modify(const TrayRecord& record) override;
  const TrayRecord* Find(unsigned id) const;

  std::vector<TrayRecord> icons;
};

// What an overlay reports, kept as the main window's logic would hear it.
class RecordingAreaEvents final : public overlay::AreaEvents {
 public:
  void OnCut(const overlay::CutReport& report) override { reports.push_back(report); }
  void OnAreaSet() override { ++area_sets; }
  void OnFollowChanged(const overlay::FollowFacts& facts) override { follow.push_back(facts); }
  std::vector<overlay::CutReport> reports;
  int area_sets = 0;
  std::vector<overlay::FollowFacts> follow;
};

// The program as winmain puts it together, with the recording tray.
struct ProgramRig {
  ProgramRig();
  ~ProgramRig();
  ProgramServices services();

  ProgramPointer pointer;
  MessagePump pump;
  SystemClock clock;
  DisplayScreen display;
  SessionWatch session;
  SessionScreen screen{display, session};
  SystemClipboard clipboard;
  RecordingTray tray;
  SystemWindowQueries windows;
  std::unique_ptr<MainWindow> main;  // created by the constructor
};

// The program with what an overlay is given by its main window: the auto-cut timer and the
// reports' listener. Usable once `main` is there.
struct OverlayHostRig : ProgramRig {
  HWND main_hwnd() const { return main ? main->hwnd() : nullptr; }
  WindowTimer auto_cut{main_hwnd(), 9};
  RecordingAreaEvents events;
  OverlayShared shared{services(), auto_cut, events, main_hwnd()};
};

// One of the end-to-end tests' helper programs, run with `arguments`, once its first window
// shows (null when none showed within 2 minutes); ended with the test.
class HelperProcess {
 public:
  HelperProcess(const wchar_t* exe, const std::wstring& arguments);
  ~HelperProcess();
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;
  HWND window() const { return window_; }

 private:
  OwnedHandle process_;
  HWND window_ = nullptr;
};

// A stand-in chat program (built as qq.exe for the end-to-end tests) with one window.
class ChatProcess : public HelperProcess {
 public:
  explicit ChatProcess(const std::wstring& title)
      : HelperProcess(L"qq.exe", L"\"" + title + L"\"") {}
};

// Whether this is Wine (its ntdll exports wine_get_version) rather than Windows. Some paths
// are taken only on one of the two: a test of one skips itself, saying why, on the other.
bool UnderWine();

using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)>;

// A hidden popup at `r` (screen pixels) that paints itself all `colour`.
OwnedWindow PlainWindow(const RECT& r, COLORREF colour, DWORD ex_style = WS_EX_TOOLWINDOW);

// Lets this thread's messages run for a while.
void PumpFor(unsigned milliseconds);

// Whether an icon handle still names an icon (a destroyed one does not).
bool IconAlive(std::uintptr_t icon);
// The width of an icon in pixels; 0 for a dead handle.
int IconWidth(std::uintptr_t icon);

// How many edges of the frame around the watched area are visible.
int FrameEdgesShown();

}  // namespace pelvanto::win32::testing
