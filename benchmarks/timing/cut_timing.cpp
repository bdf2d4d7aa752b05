// Times the Windows side of one cut: the screen copy into a bitmap and the hand-over to the
// clipboard, at three sizes, next to a plain memcpy of as many bytes. Prints figures only.
// With --frame: the largest cut of an area whose frame stands 10 px inside the screen's edges,
// with the frame on the screen and without it, in alternating blocks; the frame pixels the
// pictures hold (none), and the working set the frame costs.
// Note: it leaves its last picture on the clipboard, as a real cut would.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <psapi.h>

#include "benchmarks/timing/timing.h"
#include "overlay/cut.h"
#include "overlay/elements.h"
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

// The pixels of a packed 24-bit DIB (as the cut makes it) in the frame's colour.
int FramePixels(pelvanto::Picture& picture) {
  auto& dib = dynamic_cast<pelvanto::win32::DibPicture&>(picture);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib.get()));
  if (!header) return -1;
  const auto* rows = reinterpret_cast<const unsigned char*>(header) + header->biSize;
  const std::size_t width = static_cast<std::size_t>(picture.Width());
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  const COLORREF frame = pelvanto::overlay::kSelectionColour;
  int found = 0;
  for (std::size_t y = 0; y < static_cast<std::size_t>(picture.Height()); ++y) {
    const unsigned char* row = rows + y * stride;
    for (std::size_t x = 0; x < width; ++x)
      found += RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]) == frame;
  }
  ::GlobalUnlock(dib.get());
  return found;
}

int MeasureFrame(pelvanto::Screen& display, int screen_w, int screen_h) {
  using pelvanto::overlay::kMaxMargin;
  constexpr int kInset = 10;    // from the screen's edges to the frame's
  constexpr int kBlocks = 4;    // of each kind, alternating
  constexpr int kPerBlock = 5;  // cuts in a block
  // The frame (2 px) stands around the largest cut: the area is that much smaller.
  const pelvanto::RectI area{kInset + 2, kInset + 2, screen_w - kInset - 2 - kMaxMargin,
                             screen_h - kInset - 2 - kMaxMargin};
  const pelvanto::RectI cut = pelvanto::overlay::CutArea(area, kMaxMargin);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  pelvanto::win32::AreaFrame::Register(instance);
  pelvanto::win32::AreaFrame frame(instance);
  SystemClipboard clipboard;
  std::vector<double> with_ms, without_ms;
  double before = 0, after = 0;
  int frame_pixels = 0, failed = 0;
  for (int block = 0; block < 2 * kBlocks; ++block) {
    const bool shown = block % 2 == 1;
    if (block == 1) before = WorkingSetMiB();
    frame.Show(area,
               shown ? pelvanto::app::FrameStyle::kSolid : pelvanto::app::FrameStyle::kHidden);
    // Both states on the screen before the first cut of the block.
    for (int i = 0; i < 10; ++i) {
      Pump();
      ::Sleep(10);
    }
    if (block == 1) after = WorkingSetMiB();
    for (int i = 0; i < kPerBlock; ++i) {
      const double t0 = NowMs();
      auto picture = display.CopyArea(cut.left, cut.top, cut.Width(), cut.Height());
      if (!picture) {
        ++failed;
        continue;
      }
      const bool placed = clipboard.PutPicture(std::move(picture)).Placed();
      const double t1 = NowMs();
      if (!placed) ++failed;
      (shown ? with_ms : without_ms).push_back(t1 - t0);
      if (shown) {
        // Counted on a second copy, outside the timing: the cut's own picture went to the clipboard.
        auto check = display.CopyArea(cut.left, cut.top, cut.Width(), cut.Height());
        if (check) frame_pixels += FramePixels(*check);
      }
      Pump();
    }
  }
  std::printf(
      "cut of %d x %d, copy and clipboard: frame shown %.3f ms, frame hidden %.3f ms"
      " (medians of %d and %d; %d cuts failed)\n",
      cut.Width(), cut.Height(), Median(with_ms), Median(without_ms),
      static_cast<int>(with_ms.size()), static_cast<int>(without_ms.size()), failed);
  std::printf("frame pixels in %d pictures taken with the frame shown: %d\n",
              static_cast<int>(with_ms.size()), frame_pixels);
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
