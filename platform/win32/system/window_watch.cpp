#include "platform/win32/system/window_watch.h"

#include <algorithm>
#include <array>

#include "platform/win32/base/trace.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/system/window_queries.h"
#include "platform/win32/system/window_snapshot.h"

namespace pelvanto::win32 {

namespace {

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

// The watches that listen, for the hook's callback, which carries no pointer of its own. The
// program has one thread, and the callback runs on it.
std::vector<SystemWindowWatch*>& Listening() {
  static std::vector<SystemWindowWatch*> watches;
  return watches;
}

}  // namespace

SystemWindowWatch::SystemWindowWatch(std::function<void()> moved) : moved_(std::move(moved)) {}

SystemWindowWatch::~SystemWindowWatch() { Listen(0); }

WindowLook SystemWindowWatch::Look(WindowId window) const {
  WindowLook look;
  const HWND hwnd = ToHwnd(window);
  // Each of these reads the window manager's records; none waits for the window's thread.
  if (window == 0 || !::IsWindow(hwnd)) return look;
  DWORD process = 0;
  if (::GetWindowThreadProcessId(hwnd, &process) == 0) return look;
  std::array<wchar_t, 257> name{};
  const int length = ::GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
  look.exists = true;
  look.process = process;
  look.class_name.assign(name.data(), static_cast<std::size_t>(std::max(length, 0)));
  const bool top_level = ::GetAncestor(hwnd, GA_ROOT) == hwnd;
  RECT r{};
  if (top_level) {
    look.frame = VisibleFrame(hwnd);
  } else if (::GetWindowRect(hwnd, &r)) {
    look.frame = {r.left, r.top, r.right, r.bottom};
  }
  if (!::IsWindowVisible(hwnd)) {
    look.show = WindowShow::kHidden;
  } else if (::IsIconic(hwnd)) {
    look.show = WindowShow::kMinimised;
  } else if (top_level && Cloaked(hwnd)) {
    look.show = WindowShow::kCloaked;
  } else {
    const RECT frame{look.frame.left, look.frame.top, look.frame.right, look.frame.bottom};
    const HMONITOR monitor = ::MonitorFromRect(&frame, MONITOR_DEFAULTTONULL);
    look.show = monitor ? WindowShow::kShown : WindowShow::kOffMonitors;
    if (monitor) look.dpi = dpi::ForMonitor(monitor);
  }
  return look;
}

std::wstring SystemWindowWatch::Title(WindowId window) const { return WindowTitle(window); }

std::vector<WindowPlace> SystemWindowWatch::TopLevelWindows() const {
  WindowSnapshot snapshot(::GetCurrentProcessId(), CurrentDesktop().bounds);
  std::vector<WindowPlace> places;
  for (const overlay::WindowRecord& w : snapshot.RecordWindows())
    places.push_back({w.window, w.frame});
  return places;
}

void SystemWindowWatch::Listen(WindowId window) {
  const HWND hwnd = ToHwnd(window);
  if (hwnd == listened_ && (hook_ || !hwnd)) return;
  hook_.Reset();
  std::erase(Listening(), this);
  listened_ = hwnd;
  if (!hwnd) return;
  DWORD process = 0;
  const DWORD thread = ::GetWindowThreadProcessId(hwnd, &process);
  if (thread == 0) return;
  // Out of context: the events come to this thread's message loop, and no code of ours goes
  // into the other process. Only that window's thread: a busy desktop costs nothing here.
  constexpr DWORD kFlags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  hook_.Reset(::SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                                OnEvent, process, thread, kFlags));
  // Wine 8 refuses another process's thread (ERROR_INVALID_PARAMETER) and takes the whole
  // process; the callback filters by window either way.
  if (!hook_)
    hook_.Reset(::SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                                  OnEvent, process, 0, kFlags));
  // Without the hook the pace's ticks still find the window where it went.
  if (!hook_) TraceFailure(L"SetWinEventHook (the followed window's moves)");
  Listening().push_back(this);
}

void CALLBACK SystemWindowWatch::OnEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object,
                                         LONG child, DWORD, DWORD) noexcept {
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
  // A copy: a report may end the listening of this or another watch.
  const std::vector<SystemWindowWatch*> watches = Listening();
  for (SystemWindowWatch* watch : watches) {
    if (watch->hook_.get() != hook) continue;
    if (window != watch->listened_ && ::GetAncestor(window, GA_ROOT) != watch->listened_) continue;
    ++watch->reports_;
    if (watch->moved_) watch->moved_();
    return;
  }
}

}  // namespace pelvanto::win32
