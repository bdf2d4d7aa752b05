#pragma once
// The frame around the watched area on the live screen: four thin edge windows just outside
// the largest picture a cut can take (overlay/watch_frame.h), so no cut ever copies a pixel of
// it and it stays on the screen while the auto-cut runs. Clicks go through the edges; they
// never activate, take the focus, or show in Alt+Tab or on the taskbar.

#include <windows.h>

#include <array>
#include <memory>
#include <span>

#include "app/auto_cut.h"
#include "host/types.h"
#include "platform/win32/base/window.h"
#include "platform/win32/display/screen_settle.h"

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

  // The frame around `area` (desktop pixels) in a style; kHidden takes it off the screen at
  // once, without waiting for the screen to show it gone (OffScreen says when it does).
  void Show(const RectI& area, app::FrameStyle style);
  void Hide() { Show(area_, app::FrameStyle::kHidden); }
  // True once the screen shows no pixel of the frame: hidden, and the screen has caught up.
  // Until then each call takes one look at the screen, for a timer's ticks before a freeze.
  bool OffScreen();
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
  std::unique_ptr<SettleWatch> leaving_;  // since the last hide, until the screen shows it
};

}  // namespace pelvanto::win32
