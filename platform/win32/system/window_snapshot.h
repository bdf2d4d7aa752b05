#pragma once
// The windows on the screen as the overlay's snapping needs them: recorded at the freeze, their
// controls right after the frozen picture is first on the screen.

#include <windows.h>

#include <vector>

#include "host/types.h"
#include "overlay/snapping.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// Left out everywhere: minimised and cloaked windows, the windows of process `own_process`, the
// shell's desktop, click-through windows, and windows no part of which shows on the `desktop`
// (outside it, outside their parents, under the windows above). A top-level window's
// rectangle is its visible frame where the compositor knows it (no invisible resize borders),
// else its window rectangle. Nothing here sends a message to a window, so a hung program
// cannot hold it up.
class WindowSnapshot {
 public:
  WindowSnapshot(DWORD own_process, const RectI& desktop);

  // The visible top-level windows in z-order, topmost first, as overlay::SnapTargets takes
  // them. Under Wine each query of another program's window is a round trip to the wine
  // server: the freeze runs this beside its screen copy (WindowRecording).
  std::vector<overlay::WindowRecord> RecordWindows();
  // The same windows, each followed by its visible child windows at any depth: the controls.
  std::vector<overlay::WindowRecord> RecordControls() const;

  struct TopLevel {
    HWND window;
    RectI frame;  // as recorded
    RectI shown;  // the part on the desktop and under no window above
  };

 private:
  DWORD own_process_;
  RectI desktop_;
  std::vector<TopLevel> windows_;  // as the last RecordWindows found them
};

// A top-level window's visible frame: the compositor's extended frame where it composes the
// desktop (Windows 10 and 11 draw the resize borders invisible, outside it), else the window
// rectangle; empty when neither can be read. Physical pixels; no message to the window.
RectI VisibleFrame(HWND window);
// Hidden by the compositor: on another virtual desktop, or a suspended app's.
bool Cloaked(HWND window);

// A snapshot's RecordWindows on a thread of its own, so that its round trips overlap the
// screen copy that the freeze waits for. Where no thread can start, Take records on the
// caller's thread instead. The snapshot is not touched by anyone else until Take returns.
class WindowRecording {
 public:
  explicit WindowRecording(WindowSnapshot& snapshot);
  ~WindowRecording();  // waits for the thread
  WindowRecording(const WindowRecording&) = delete;
  WindowRecording& operator=(const WindowRecording&) = delete;

  // Waits for the recording and hands its windows over; empty when it failed.
  std::vector<overlay::WindowRecord> Take();

 private:
  static DWORD WINAPI Run(void* self);

  WindowSnapshot& snapshot_;
  std::vector<overlay::WindowRecord> windows_;
  OwnedHandle thread_;
};

}  // namespace pelvanto::win32
