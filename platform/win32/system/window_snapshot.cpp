#include "platform/win32/system/window_snapshot.h"

#include <dwmapi.h>

#include <cstdio>
#include <new>
#include <utility>

#include "core/geometry.h"
#include "platform/win32/base/gdi.h"
#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

namespace {

// At most this many windows are looked at: a walk by GetWindow could otherwise go round for
// as long as another program keeps reordering its windows.
constexpr int kMostWindows = 50000;

// Only calls that read the window manager's own records: no GetWindowText, no SendMessage,
// nothing that waits for the window's thread. Under Wine each of them is a round trip to the
// wine server, so windows no point of which can be hovered are not walked into.
struct Walk {
  std::vector<WindowSnapshot::TopLevel>* windows = nullptr;  // what the top-level walk keeps
  DWORD own_process = 0;
  bool composed = false;  // DWM composes the desktop: frames come from it
  HWND shell = nullptr;   // the desktop's own window, under every other
  RectI desktop;
  std::vector<RectI> above;  // the visible parts of the top-level windows recorded so far
  int budget = kMostWindows;
};

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

// One window's controls: the walk, and what the windows above it leave of the screen.
struct ChildWalk {
  ControlWalk& walk;
  std::vector<RectI> above;  // the visible parts of the top-level windows above
  int budget = kMostWindows;
};

bool StopHere(ChildWalk& c) {
  ControlWalk& walk = c.walk;
  if (walk.end != ControlWalk::End::kAll) return true;
  if (walk.cancelled && walk.cancelled->load(std::memory_order_relaxed))
    walk.end = ControlWalk::End::kCancelled;
  else if (walk.deadline != 0 && ::GetTickCount64() >= walk.deadline)
    walk.end = ControlWalk::End::kOutOfTime;
  else if (walk.controls.size() >= walk.most)
    walk.end = ControlWalk::End::kTooMany;
  return walk.end != ControlWalk::End::kAll || --c.budget < 0;
}

// The visible children of `parent` in z-order, each followed by its own. `seen` is the part of
// the parent that shows: a child outside it, or under a window above, is left out with its own
// children. A window destroyed during the walk ends its siblings' walk early.
void AddChildren(ChildWalk& c, HWND parent, int parent_index, const RectI& seen) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child && !StopHere(c);
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
    RECT r{};
    if (!::GetWindowRect(child, &r)) continue;
    const RectI shown = Intersection(ToRectI(r), seen);
    if (shown.Empty() || overlay::Covered(shown, c.above)) continue;
    // The window itself is 0 in its list, its controls follow from 1.
    c.walk.controls.push_back({ToRectI(r), parent_index, reinterpret_cast<WindowId>(child)});
    const int index = static_cast<int>(c.walk.controls.size());
    if (c.walk.progress) c.walk.progress();
    AddChildren(c, child, index, shown);
  }
}

BOOL AddTopLevel(HWND window, LPARAM data) {
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

// No exception may leave through the system's frames: a walk that runs out of memory ends, and
// the windows recorded so far serve.
BOOL CALLBACK AddTopLevelSafely(HWND window, LPARAM data) noexcept {
  try {
    return AddTopLevel(window, data);
  } catch (...) {
    TraceFailure(L"recording the windows (out of memory)");
    return FALSE;
  }
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
  ::EnumWindows(AddTopLevelSafely, reinterpret_cast<LPARAM>(&walk));
  std::vector<overlay::WindowRecord> out;
  for (const TopLevel& w : windows_)
    out.push_back({w.frame, -1, reinterpret_cast<WindowId>(w.window)});
  return out;
}

void WindowSnapshot::RecordControls(std::size_t window, ControlWalk& walk) const {
  if (window >= windows_.size()) return;
  ChildWalk c{walk, {}};
  for (std::size_t i = 0; i < window; ++i) c.above.push_back(windows_[i].shown);
  // A window that closed since has no children any more: it keeps its own rectangle.
  AddChildren(c, windows_[window].window, 0, windows_[window].shown);
}

std::vector<overlay::WindowRecord> WindowSnapshot::RecordControls() const {
  std::vector<overlay::WindowRecord> out;
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const int base = static_cast<int>(out.size());
    out.push_back({windows_[i].frame, -1, reinterpret_cast<WindowId>(windows_[i].window)});
    ControlWalk walk;
    RecordControls(i, walk);
    for (const overlay::WindowRecord& r : walk.controls)
      out.push_back({r.frame, base + r.parent, r.window});
  }
  return out;
}

// What the recording's thread and its owner share; the last of the two to let go frees it.
struct WindowRecording::State {
  explicit State(WindowSnapshot s) : snapshot(std::move(s)) {}
  WindowSnapshot snapshot;                     // the thread's alone while it runs
  std::vector<overlay::WindowRecord> windows;  // the top-level ones, once windows_ready is set
  OwnedHandle windows_ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OwnedHandle go{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // controls asked, or cancelled
  std::atomic<bool> cancelled{false};
  SRWLOCK lock = SRWLOCK_INIT;  // guards the members below
  HWND notify = nullptr;        // told of the controls ready, until cancelled
  UINT message = 0;
  std::vector<overlay::ControlBatch> ready;  // recorded, not taken yet
  bool notified = false;                     // a message was posted and not answered yet
};

namespace {

class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;

 private:
  SRWLOCK& lock_;
};

void TraceBound(const wchar_t* what, std::size_t window) {
  wchar_t line[160];
  std::swprintf(line, sizeof line / sizeof line[0], what, static_cast<unsigned long long>(window));
  TraceLine(line);
}

}  // namespace

WindowRecording::WindowRecording(WindowSnapshot snapshot)
    : state_(std::make_shared<State>(std::move(snapshot))) {
  if (!state_->windows_ready || !state_->go) return;
  // The thread holds a share of its own, so it may outlive this owner.
  auto share = std::make_unique<std::shared_ptr<State>>(state_);
  thread_.Reset(::CreateThread(nullptr, 0, Run, share.get(), 0, nullptr));
  if (thread_)
    share.release();
  else
    TraceFailure(L"the window recording's thread");
}

WindowRecording::~WindowRecording() { Cancel(); }

DWORD WINAPI WindowRecording::Run(void* share) {
  const std::unique_ptr<std::shared_ptr<State>> owner(static_cast<std::shared_ptr<State>*>(share));
  State& state = **owner;
  try {
    state.windows = state.snapshot.RecordWindows();
  } catch (const std::bad_alloc&) {
    state.windows.clear();  // no snapping, the overlay works on
  }
  ::SetEvent(state.windows_ready.get());
  ::WaitForSingleObject(state.go.get(), INFINITE);
  const ULONGLONG deadline = ::GetTickCount64() + kMostControlsMs;
  try {
    for (std::size_t i = 0; i < state.snapshot.WindowCount() && !state.cancelled; ++i) {
      ControlWalk walk;
      walk.deadline = deadline;
      walk.cancelled = &state.cancelled;
      std::size_t handed = 0;
      // Handed over every tenth of a second within a large window, so its controls join as
      // they come rather than all at its end.
      ULONGLONG last = ::GetTickCount64();
      auto hand_over = [&] {
        if (handed == walk.controls.size()) return;
        overlay::ControlBatch batch{
            i, {walk.controls.begin() + static_cast<std::ptrdiff_t>(handed), walk.controls.end()}};
        handed = walk.controls.size();
        last = ::GetTickCount64();
        const ExclusiveLock held(state.lock);
        if (state.cancelled) return;
        state.ready.push_back(std::move(batch));
        // Posted under the lock: once Cancel returns, nothing reaches the window any more.
        if (!state.notified && state.notify)
          state.notified = ::PostMessageW(state.notify, state.message, 0, 0) != FALSE;
      };
      walk.progress = [&] {
        if (::GetTickCount64() - last >= 100) hand_over();
      };
      state.snapshot.RecordControls(i, walk);
      hand_over();
      switch (walk.end) {
        case ControlWalk::End::kAll: break;
        case ControlWalk::End::kTooMany:
          TraceBound(
              L"snapping: window %llu has more controls than are kept; "
              L"where the others are, the window itself is offered",
              i);
          break;
        case ControlWalk::End::kOutOfTime:
          TraceBound(
              L"snapping: out of time for controls at window %llu; "
              L"it and the windows below offer themselves",
              i);
          return 0;
        case ControlWalk::End::kCancelled: return 0;
      }
    }
  } catch (const std::bad_alloc&) {
    TraceLine(L"snapping: out of memory for controls; the windows offer themselves");
  }
  return 0;
}

std::vector<overlay::WindowRecord> WindowRecording::Take() {
  if (std::exchange(taken_, true)) return {};
  if (!thread_) return state_->snapshot.RecordWindows();
  ::WaitForSingleObject(state_->windows_ready.get(), INFINITE);
  return std::move(state_->windows);
}

void WindowRecording::RecordControls(HWND window, UINT message) {
  if (!thread_ || !taken_) return;
  {
    const ExclusiveLock held(state_->lock);
    state_->notify = window;
    state_->message = message;
  }
  ::SetEvent(state_->go.get());
}

std::vector<overlay::ControlBatch> WindowRecording::TakeControls() {
  const ExclusiveLock held(state_->lock);
  state_->notified = false;
  return std::exchange(state_->ready, {});
}

void WindowRecording::Cancel() {
  {
    const ExclusiveLock held(state_->lock);
    state_->cancelled = true;
    state_->notify = nullptr;
  }
  if (state_->go) ::SetEvent(state_->go.get());
}

bool WindowRecording::Ended(DWORD milliseconds) const {
  return !thread_ || ::WaitForSingleObject(thread_.get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace pelvanto::win32
