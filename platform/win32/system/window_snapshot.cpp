#include "platform/win32/system/window_snapshot.h"

#include <dwmapi.h>

#include <new>
#include <utility>

#include "core/geometry.h"

namespace pelvanto::win32 {

namespace {

// At most this many windows are looked at: a walk by GetWindow could otherwise go round for
// as long as another program keeps reordering its windows.
constexpr int kMostWindows = 50000;

// Only calls that read the window manager's own records: no GetWindowText, no SendMessage,
// nothing that waits for the window's thread. Under Wine each of them is a round trip to the
// wine server, so windows no point of which can be hovered are not walked into.
struct Walk {
  std::vector<overlay::WindowRecord> out;
  std::vector<WindowSnapshot::TopLevel>* windows = nullptr;  // what the top-level walk keeps
  DWORD own_process = 0;
  bool composed = false;  // DWM composes the desktop: frames come from it
  HWND shell = nullptr;   // the desktop's own window, under every other
  RectI desktop;
  std::vector<RectI> above;  // the visible parts of the top-level windows recorded so far
  int budget = kMostWindows;
};

RectI ToRectI(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RectI Frame(HWND window, bool composed) {
  RECT r{};
  // Windows 10 and 11 draw the resize borders invisible, outside what the user sees; the
  // compositor's extended frame is the visible frame, in physical pixels.
  if (composed &&
      SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)))
    return ToRectI(r);
  if (!::GetWindowRect(window, &r)) return {};
  return ToRectI(r);
}

// The visible children of `parent` in z-order, each followed by its own. `seen` is the part of
// the parent that shows: a child outside it, or under a window above, is left out with its own
// children. A window destroyed during the walk ends its siblings' walk early.
void AddChildren(Walk& walk, HWND parent, int parent_index, const RectI& seen) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child && walk.budget > 0;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    --walk.budget;
    if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
    RECT r{};
    if (!::GetWindowRect(child, &r)) continue;
    const RectI shown = Intersection(ToRectI(r), seen);
    if (shown.Empty() || overlay::Covered(shown, walk.above)) continue;
    const int index = static_cast<int>(walk.out.size());
    walk.out.push_back({ToRectI(r), parent_index, reinterpret_cast<WindowId>(child)});
    AddChildren(walk, child, index, shown);
  }
}

BOOL CALLBACK AddTopLevel(HWND window, LPARAM data) noexcept {
  auto& walk = *reinterpret_cast<Walk*>(data);
  if (--walk.budget <= 0) return FALSE;
  // A top-level window's parent is the desktop, which shows: WS_VISIBLE alone says whether it
  // is visible, and one read answers minimised too.
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  if (window == walk.shell || (style & WS_VISIBLE) == 0 || (style & WS_MINIMIZE) != 0) return TRUE;
  // Click-through windows (on-screen displays and the like) are not what the user points at.
  if (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) return TRUE;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == walk.own_process || Cloaked(window)) return TRUE;
  const RectI frame = Frame(window, walk.composed);
  const RectI shown = Intersection(frame, walk.desktop);
  if (shown.Empty() || overlay::Covered(shown, walk.above)) return TRUE;
  walk.windows->push_back({window, frame, shown});
  walk.above.push_back(shown);
  return TRUE;
}

}  // namespace

bool Cloaked(HWND window) {
  // Windows 7 knows no cloaking: the call fails there, and the window counts as shown.
  DWORD cloaked = 0;
  return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
         cloaked != 0;
}

RectI VisibleFrame(HWND window) {
  BOOL composed = FALSE;
  return Frame(window, SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed);
}

WindowSnapshot::WindowSnapshot(DWORD own_process, const RectI& desktop)
    : own_process_(own_process), desktop_(desktop) {}

std::vector<overlay::WindowRecord> WindowSnapshot::RecordWindows() {
  windows_.clear();
  Walk walk;
  walk.own_process = own_process_;
  walk.desktop = desktop_;
  walk.windows = &windows_;
  BOOL composed = FALSE;
  walk.composed = SUCCEEDED(::DwmIsCompositionEnabled(&composed)) && composed;
  walk.shell = ::GetShellWindow();
  ::EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&walk));
  std::vector<overlay::WindowRecord> out;
  for (const TopLevel& w : windows_)
    out.push_back({w.frame, -1, reinterpret_cast<WindowId>(w.window)});
  return out;
}

std::vector<overlay::WindowRecord> WindowSnapshot::RecordControls() const {
  Walk walk;
  walk.desktop = desktop_;
  for (const TopLevel& w : windows_) {
    const int index = static_cast<int>(walk.out.size());
    walk.out.push_back({w.frame, -1, reinterpret_cast<WindowId>(w.window)});
    // A window that closed since has no children any more: it keeps its own rectangle.
    AddChildren(walk, w.window, index, w.shown);
    walk.above.push_back(w.shown);
  }
  return std::move(walk.out);
}

WindowRecording::WindowRecording(WindowSnapshot& snapshot)
    : snapshot_(snapshot), thread_(::CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}

WindowRecording::~WindowRecording() {
  if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI WindowRecording::Run(void* self) {
  auto& recording = *static_cast<WindowRecording*>(self);
  try {
    recording.windows_ = recording.snapshot_.RecordWindows();
  } catch (const std::bad_alloc&) {
    recording.windows_.clear();  // no snapping, the overlay works on
  }
  return 0;
}

std::vector<overlay::WindowRecord> WindowRecording::Take() {
  if (!thread_) return snapshot_.RecordWindows();
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.Reset();
  return std::move(windows_);
}

}  // namespace pelvanto::win32
