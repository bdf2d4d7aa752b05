// The logic's share of a cut, against stand-ins that do no work. The real cost (screen copy
// and clipboard) is measured on Windows by benchmarks/timing/cut_timing.cpp.

#include <benchmark/benchmark.h>

#include <memory>

#include "overlay/overlay.h"

namespace pelvanto {
namespace {

class NullTimer : public Timer {
 public:
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }
  void SetInterval(unsigned) override {}
  unsigned Interval() const override { return 0; }

 private:
  bool enabled_ = false;
};

class NullWindow : public overlay::OverlayView {
 public:
  bool FreezeScreen(const RectI&) override { return true; }
  std::uint32_t FrozenPixel(int, int) const override { return 0; }
  void Maximise() override {}
  void Minimise() override {}
  void Hide() override {}
  void MakeLayeredOpaque() override {}
  void Destroy() override {}
  PointI CursorPos() const override { return {}; }
  std::optional<std::vector<overlay::WindowRecord>> RecordWindows() override { return {}; }
  overlay::DragSize DragRectangle() const override { return {}; }
  WindowId Id() const override { return 1; }
  std::uintptr_t IconHandle() const override { return 1; }
};

class NullEvents : public overlay::AreaEvents {
 public:
  void OnCut(const overlay::CutReport& report) override { benchmark::DoNotOptimize(report.width); }
  void OnAreaSet() override {}
  void OnFollowChanged(const overlay::FollowFacts&) override {}
};

class NoWindows : public WindowWatch {
 public:
  WindowLook Look(WindowId) const override { return {}; }
  std::wstring Title(WindowId) const override { return {}; }
  std::uint32_t OwnProcess() const override { return 0; }
  std::vector<WindowPlace> TopLevelWindows() const override { return {}; }
  void Listen(WindowId) override {}
};

class NullPointer : public PointerShape {
 public:
  void Set(Pointer) override {}
};

class TickingClock : public Clock {
 public:
  int SecondOfMinute() const override { return (++calls_) % 60; }
  TimeOfDay Now() const override { return {12, 0, calls_ % 60}; }

 private:
  mutable int calls_ = 0;
};

class SizedPicture : public Picture {
 public:
  SizedPicture(int w, int h) : w_(w), h_(h) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }

 private:
  int w_, h_;
};

class NullScreen : public Screen {
 public:
  std::unique_ptr<Picture> CopyArea(int, int, int w, int h) override {
    return std::make_unique<SizedPicture>(w, h);
  }
  bool Available() const override { return true; }
};

class NullClipboard : public Clipboard {
 public:
  ClipboardPut PutPicture(std::unique_ptr<Picture> picture) override {
    benchmark::DoNotOptimize(picture->Width());
    return {ClipboardPut::Outcome::kPlaced, {}};
  }
  bool Empty() override { return true; }
};

class NullTray : public Tray {
 public:
  bool Add(const TrayRecord&) override { return true; }
  void Delete(const TrayRecord&) override {}
  void Modify(const TrayRecord&) override {}
};

// One auto-cut tick against stand-ins: the logic's own cost.
void BM_CutTick(benchmark::State& state) {
  NullWindow window;
  NullPointer pointer;
  TickingClock clock;
  NullScreen screen;
  NullClipboard clipboard;
  NullTray tray;
  NullTimer cut_timer, auto_cut_timer;
  NullEvents events;
  NoWindows windows;
  overlay::Overlay overlay(
      {window, pointer, clock, screen, clipboard, tray, cut_timer, auto_cut_timer, events, windows},
      overlay::SingleMonitorDesktop(1920, 1080, 96), 1);
  overlay.Open();
  for (auto _ : state) {
    cut_timer.SetEnabled(true);
    overlay.OnCutTimer();
    benchmark::DoNotOptimize(overlay.LastMargin());
  }
}
BENCHMARK(BM_CutTick);

void BM_CutArea(benchmark::State& state) {
  RectI selection{40, 100, 641, 500};
  int margin = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(selection);
    benchmark::DoNotOptimize(overlay::CutArea(selection, margin));
    margin = (margin + 1) % 30;
  }
}
BENCHMARK(BM_CutArea);

void BM_MarginDraw(benchmark::State& state) {
  overlay::MarginRandom random(1);
  int second = 0;
  for (auto _ : state) {
    random.Reseed(second);
    benchmark::DoNotOptimize(static_cast<int>(random.Next() * 30));
    second = (second + 1) % 60;
  }
}
BENCHMARK(BM_MarginDraw);

}  // namespace
}  // namespace pelvanto
