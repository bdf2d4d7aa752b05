// Times the Windows side of one cut: the screen copy into a bitmap and the hand-over to the
// clipboard, at three sizes, next to a plain memcpy of as many bytes. Prints figures only.
// With --frame: the copy of an area 10 px inside the screen's edges without and with the
// frame around it (hidden, copied, shown again), and the working set the frame costs.
// Note: it leaves its last picture on the clipboard, as a real cut would.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <psapi.h>

#include "benchmarks/timing/timing.h"
#include "platform/win32/overlay/area_frame.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/clipboard.h"

namespace {

using pelvanto::win32::timing::Median;
using pelvanto::win32::timing::NowMs;

using pelvanto::win32::DisplayScreen;
using pelvanto::win32::SystemClipboard;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

volatile unsigned char g_sink;  // keeps the memcpy from being optimised away

// `between` runs before each copy: the frame's windows must have painted themselves.
void Measure(const char* name, pelvanto::Screen& screen, int left, int top, int width, int height,
             int runs, void (*between)() = nullptr) {
  SystemClipboard clipboard;
  std::vector<double> copy_ms, clipboard_ms, memcpy_ms;
  int failed_copies = 0, failed_puts = 0;

  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  std::vector<unsigned char> from(bytes, 1), to(bytes);

  for (int i = 0; i < runs; ++i) {
    if (between) between();
    double t0 = NowMs();
    auto picture = screen.CopyArea(left, top, width, height);
    double t1 = NowMs();
    if (!picture) {
      ++failed_copies;
      continue;
    }
    copy_ms.push_back(t1 - t0);
    t0 = NowMs();
    if (!clipboard.PutPicture(std::move(picture)).Placed()) ++failed_puts;
    t1 = NowMs();
    clipboard_ms.push_back(t1 - t0);

    from[static_cast<std::size_t>(i) % bytes] = static_cast<unsigned char>(i);
    t0 = NowMs();
    std::memcpy(to.data(), from.data(), bytes);
    t1 = NowMs();
    g_sink = to[static_cast<std::size_t>(i) % bytes];
    memcpy_ms.push_back(t1 - t0);
  }
  std::printf(
      "%-12s %5d x %-5d  copy %8.3f ms  clipboard %8.3f ms  memcpy %8.3f ms"
      "  (median of %d; %d copies failed, %d puts failed)\n",
      name, width, height, Median(copy_ms), Median(clipboard_ms), Median(memcpy_ms), runs,
      failed_copies, failed_puts);
}

}  // namespace

double WorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

int MeasureFrame(pelvanto::Screen& display, int screen_w, int screen_h) {
  constexpr int kInset = 10;
  const int w = screen_w - 2 * kInset, h = screen_h - 2 * kInset;
  Measure("no frame", display, kInset, kInset, w, h, 20);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  pelvanto::win32::AreaFrame::Register(instance);
  pelvanto::win32::AreaFrame frame(instance);
  pelvanto::win32::FrameFreeScreen framed(display, frame);
  const double before = WorkingSetMiB();
  frame.Show({kInset, kInset, kInset + w, kInset + h}, pelvanto::app::FrameStyle::kSolid);
  Pump();
  const double after = WorkingSetMiB();
  Measure("frame", framed, kInset, kInset, w, h, 20, [] {
    Pump();
    ::Sleep(20);
    Pump();
  });
  // The two halves of the frame's part, alone.
  std::vector<double> hide_ms, show_ms;
  for (int i = 0; i < 20; ++i) {
    Pump();
    ::Sleep(20);
    Pump();
    double t0 = NowMs();
    frame.HideForCopy();
    double t1 = NowMs();
    hide_ms.push_back(t1 - t0);
    t0 = NowMs();
    frame.ShowAfterCopy();
    t1 = NowMs();
    show_ms.push_back(t1 - t0);
  }
  std::printf("frame hide %.3f ms, show %.3f ms (median of 20)\n", Median(hide_ms),
              Median(show_ms));
  Pump();
  std::printf("frame working set %.3f MiB (%.3f before the frame, %.3f after)\n", after - before,
              before, after);
  return 0;
}

int main(int argc, char** argv) {
  // Physical pixels, as the program itself sees them.
  pelvanto::win32::dpi::MakeProcessAware();
  const int screen_w = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = ::GetSystemMetrics(SM_CYSCREEN);
  std::printf("screen %d x %d\n", screen_w, screen_h);
  DisplayScreen display;
  if (argc > 1 && std::strcmp(argv[1], "--frame") == 0)
    return MeasureFrame(display, screen_w, screen_h);
  Measure("small", display, 0, 0, 100, 100, 50);
  Measure("large", display, 0, 0, 1000, 1000, 20);
  Measure("full screen", display, 0, 0, screen_w, screen_h, 20);
  return 0;
}
