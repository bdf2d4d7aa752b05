#pragma once
// The frame around the watched area on the live screen: four thin edge windows just outside
// the selection, so the frame holds only its own pixels whatever the area's size. Clicks go
// through them; they never activate, take the focus, or show in Alt+Tab or on the taskbar.
// They leave the screen for every copy of it (FrameFreeScreen).

#include <windows.h>

#include <array>
#include <memory>
#include <span>

#include "app/auto_cut.h"
#include "host/screen.h"
#include "host/types.h"
#include "platform/win32/base/window.h"

namespace pelvanto::win32 {

class AreaFrame;

class FrameEdge final : public Window<FrameEdge> {
 public:
  FrameEdge(AreaFrame& frame, int index) : frame_(frame), index_(index) {}
  ~FrameEdge() { Destroy(); }

  static bool Register(HINSTANCE instance);
  bool Create(HINSTANCE instance);
  // Moves the edge to `rect` (desktop pixels) and shows it; an empty rect hides it.
  void Place(const RectI& rect, bool dashed);
  void Hide();
  bool Shown() const;

 private:
  friend Window<FrameEdge>;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  void Paint();

  AreaFrame& frame_;
  int index_;   // top, bottom, left, right
  RectI rect_;  // where it stands, desktop pixels; empty while hidden
  bool dashed_ = false;
};

class AreaFrame {
 public:
  explicit AreaFrame(HINSTANCE instance) : instance_(instance) {}
  AreaFrame(const AreaFrame&) = delete;
  AreaFrame& operator=(const AreaFrame&) = delete;

  static bool Register(HINSTANCE instance) { return FrameEdge::Register(instance); }

  // The frame around `area` (desktop pixels) in a style; kHidden takes it off the screen.
  void Show(const RectI& area, app::FrameStyle style);
  void Hide() { Show(area_, app::FrameStyle::kHidden); }
  // Around a copy of the screen: off it before (and waited for until the screen no longer
  // shows it), back after.
  void HideForCopy();
  void ShowAfterCopy();
  // Off the screen, waited for: before the screen freezes again for an adjustment.
  void HideAndWait();
  // Monitors came, went or changed DPI: the edges are placed anew; an edge where no monitor
  // is any more stays hidden.
  void OnDisplayChange() { Place(); }

  app::FrameStyle style() const { return style_; }
  // The edge windows, for tests; null before the frame was first shown.
  std::array<HWND, 4> EdgeWindows() const;

 private:
  void Place();
  bool Shown() const;

  HINSTANCE instance_;
  std::array<std::unique_ptr<FrameEdge>, 4> edges_;  // made at the first show
  RectI area_;                                       // the watched area, desktop pixels
  app::FrameStyle style_ = app::FrameStyle::kHidden;
  bool suspended_ = false;  // off the screen for a copy
};

// The live screen without the frame: each copy hides the frame first and shows it after.
class FrameFreeScreen final : public Screen {
 public:
  FrameFreeScreen(Screen& live, AreaFrame& frame) : live_(live), frame_(frame) {}
  std::unique_ptr<Picture> CopyArea(int left, int top, int width, int height) override;
  bool Available() const override { return live_.Available(); }

 private:
  Screen& live_;
  AreaFrame& frame_;
};

}  // namespace pelvanto::win32
