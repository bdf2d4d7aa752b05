#pragma once
// The windows on the screen as the overlay's snapping needs them: the top-level ones recorded
// at the freeze, their controls afterwards on the same thread, handed over as they come.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "host/types.h"
#include "overlay/snapping.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// A walk over the controls of one top-level window, and where it stops.
struct ControlWalk {
  // What each walk has left.
  enum class End { kAll, kTooMany, kOutOfTime, kCancelled };
  // Recorded so far, as overlay::ControlBatch holds them: a parent of 0 is the window itself.
  std::vector<overlay::WindowRecord> controls;
  std::size_t most = 5000;                       // controls kept of one window
  ULONGLONG deadline = 0;                        // GetTickCount64 to stop at; 0: none
  const std::atomic<bool>* cancelled = nullptr;  // checked before each control
  std::function<void()> progress;                // after each control recorded
  End end = End::kAll;
};

// Left out everywhere: minimised and cloaked windows, the windows of process `own_process`, the
// shell's desktop, click-through windows, and windows no part of which shows on the `desktop`
// (outside it, outside their parents, under the windows above). A top-level window's
// rectangle is its visible frame where the compositor knows it (no invisible resize borders),
// else its window rectangle. Nothing here sends a message to a window, so a hung program
// cannot hold it up, and any thread may call it.
class WindowSnapshot {
 public:
  WindowSnapshot(DWORD own_process, const RectI& desktop);

  // The visible top-level windows in z-order, topmost first, as overlay::SnapTargets takes
  // them. Under Wine each query of another program's window is a round trip to the wine
  // server: the freeze runs this beside its screen copy (WindowRecording).
  std::vector<overlay::WindowRecord> RecordWindows();
  // The visible child windows at any depth of the `window`th one RecordWindows found, topmost
  // first, each followed by its own, until `walk` says to stop. Past its `most` the window's
  // other controls are left out: where they are, the window (or a control kept) is offered.
  void RecordControls(std::size_t window, ControlWalk& walk) const;
  // The windows, each followed by all of its controls: what the overlay ends up with.
  std::vector<overlay::WindowRecord> RecordControls() const;
  std::size_t WindowCount() const { return windows_.size(); }

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

// A snapshot's recording on a thread of its own: the top-level windows first, so that their
// round trips overlap the screen copy the freeze waits for; then, once asked, the controls of
// each window in turn, handed to a window as they come, so the overlay answers its user
// whatever the desktop holds. Where no thread can start, Take records the top-level windows on
// the caller's thread and no controls are recorded.
class WindowRecording {
 public:
  // Past this, the controls not recorded yet are left out.
  static constexpr ULONGLONG kMostControlsMs = 5000;

  explicit WindowRecording(WindowSnapshot snapshot);
  ~WindowRecording();  // cancels; the thread ends on its own, promptly, and frees what it kept
  WindowRecording(const WindowRecording&) = delete;
  WindowRecording& operator=(const WindowRecording&) = delete;

  // Waits for the top-level windows and hands them over; empty when the recording failed.
  std::vector<overlay::WindowRecord> Take();
  // Records the controls next: `message` is posted to `window` whenever some are ready and the
  // last one posted was answered by TakeControls.
  void RecordControls(HWND window, UINT message);
  // The controls recorded since the last call, in the order they came.
  std::vector<overlay::ControlBatch> TakeControls();
  // Stops the recording: nothing is posted any more from the moment this returns.
  void Cancel();
  // Whether the thread has ended, waiting up to `milliseconds` for it.
  bool Ended(DWORD milliseconds) const;

 private:
  struct State;
  static DWORD WINAPI Run(void* state);

  std::shared_ptr<State> state_;
  OwnedHandle thread_;
  bool taken_ = false;  // Take has run
};

}  // namespace pelvanto::win32
