// Times what the freeze does: the copy of the whole screen into the frozen picture and the
// recording of the top-level windows on it that the overlay snaps to; and the recording of
// their controls that follows once the picture is on the screen (each walk with its clipping
// into snap targets), interleaved. Prints figures only:
//   windows <recorded> top-level <n> kept <n>
//   freeze <min> <median> <max> ms
//   record <min> <median> <max> ms       the top-level windows, at the freeze
//   controls <min> <median> <max> ms     their controls, after it
//   beside <min> <median> <max> ms       the copy with the top-level walk on its own thread,
//                                        as the overlay's freeze does it
//   ratio <record median / freeze median>
// With "list" after the number of runs, every record of the last run follows:
//   window <left> <top> <right> <bottom> parent <index>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "overlay/snapping.h"
#include "benchmarks/timing/timing.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/display/monitor_layout.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/window_snapshot.h"

namespace {

using pelvanto::win32::timing::NowMs;

void PrintSpread(const char* name, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  if (v.empty()) {
    std::printf("%s none\n", name);
    return;
  }
  std::printf("%s %.3f %.3f %.3f ms\n", name, v.front(), v[v.size() / 2], v.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  pelvanto::win32::dpi::MakeProcessAware();
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  const pelvanto::overlay::Desktop desktop = pelvanto::win32::CurrentDesktop();
  const RECT area{desktop.bounds.left, desktop.bounds.top, desktop.bounds.right,
                  desktop.bounds.bottom};
  const bool list = argc > 2 && std::wstring_view(argv[2]) == L"list";
  std::vector<pelvanto::overlay::WindowRecord> last;
  std::vector<double> freeze_ms, record_ms, controls_ms, beside_ms;
  std::size_t recorded = 0, top_level = 0, kept = 0;
  for (int i = 0; i < runs; ++i) {
    double t0 = NowMs();
    const auto frozen = pelvanto::win32::ScreenPixels::Copy(area);
    double t1 = NowMs();
    if (frozen) freeze_ms.push_back(t1 - t0);
    pelvanto::win32::WindowSnapshot snapshot(::GetCurrentProcessId(), desktop.bounds);
    t0 = NowMs();
    const pelvanto::overlay::SnapTargets first(desktop, snapshot.RecordWindows());
    t1 = NowMs();
    record_ms.push_back(t1 - t0);
    t0 = NowMs();
    const auto windows = snapshot.RecordControls();
    const pelvanto::overlay::SnapTargets targets(desktop, windows);
    t1 = NowMs();
    controls_ms.push_back(t1 - t0);
    recorded = windows.size();
    top_level = static_cast<std::size_t>(
        std::count_if(windows.begin(), windows.end(), [](const auto& w) { return w.parent < 0; }));
    kept = targets.WindowCount();
    last = windows;
    t0 = NowMs();
    {
      pelvanto::win32::WindowRecording recording{
          pelvanto::win32::WindowSnapshot(::GetCurrentProcessId(), desktop.bounds)};
      const auto copy = pelvanto::win32::ScreenPixels::Copy(area);
      const pelvanto::overlay::SnapTargets found(desktop, recording.Take());
      t1 = NowMs();
      if (copy) beside_ms.push_back(t1 - t0);
    }
  }
  std::printf("windows %zu top-level %zu kept %zu\n", recorded, top_level, kept);
  PrintSpread("freeze", freeze_ms);
  PrintSpread("record", record_ms);
  PrintSpread("controls", controls_ms);
  PrintSpread("beside", beside_ms);
  std::sort(freeze_ms.begin(), freeze_ms.end());
  std::sort(record_ms.begin(), record_ms.end());
  if (!freeze_ms.empty() && freeze_ms[freeze_ms.size() / 2] > 0)
    std::printf("ratio %.4f\n", record_ms[record_ms.size() / 2] / freeze_ms[freeze_ms.size() / 2]);
  if (list) {
    for (const auto& w : last)
      std::printf("window %d %d %d %d parent %d\n", w.frame.left, w.frame.top, w.frame.right,
                  w.frame.bottom, w.parent);
  }
  std::fflush(stdout);
  return 0;
}
