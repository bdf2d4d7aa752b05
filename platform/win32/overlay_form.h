#pragma once
// The capture overlay's window: a borderless, topmost, layered window over the whole virtual
// desktop that paints the frozen picture and the overlay's elements, and a hidden anchor window
// that carries what outlives it in the notification area (the cut timer, the tray icon). The
// window's client pixel (0, 0) is the desktop's top-left corner, which lies at negative
// coordinates when a monitor is left of or above the primary; the logic works in desktop pixels.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "overlay/overlay.h"
#include "platform/win32/handles.h"
#include "platform/win32/loupe_painter.h"
#include "platform/win32/overlay_painter.h"
#include "platform/win32/pointer.h"
#include "platform/win32/program_services.h"
#include "platform/win32/screen_capture.h"
#include "platform/win32/window_timer.h"

namespace pelvanto::win32 {

// What every overlay instance shares with the rest of the program.
struct OverlayShared {
  ProgramServices program;
  Timer& auto_cut_timer;
  bool& overlay_open;  // true while an overlay is loaded
  std::function<void()> on_gone;  // the window was destroyed; the owner may free this object
};

class OverlayForm final : public overlay::OverlayWindow {
 public:
  OverlayForm(OverlayShared shared, std::uint64_t random_seed);
  ~OverlayForm() override;
  OverlayForm(const OverlayForm&) = delete;
  OverlayForm& operator=(const OverlayForm&) = delete;

  static bool Register(HINSTANCE instance);

  // Creates the hidden window and runs the overlay's load; then Show() displays it.
  bool Load();
  void Show();
  // The overlay cuts once, at its cut timer's next tick.
  void StartCut();
  overlay::Overlay& logic() { return *logic_; }
  // A handler of this window is running: the object must stay alive.
  bool Busy() const { return depth_ > 0; }
  bool Gone() const { return anchor_ == nullptr; }

  // overlay::OverlayWindow
  bool FreezeScreen(const RectI& area) override;
  std::uint32_t FrozenPixel(int x, int y) const override;
  void Maximise() override;
  void Minimise() override;
  void Hide() override;
  void MakeLayeredOpaque() override;
  void Close() override;
  PointI CursorPos() const override;
  // The anchor: the tray icon must stay valid after the surface is gone.
  WindowId Id() const override { return reinterpret_cast<WindowId>(anchor_); }
  std::uintptr_t IconHandle() const override {
    return reinterpret_cast<std::uintptr_t>(small_icon_.get());
  }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam,
                                  LPARAM lparam) noexcept;
  static LRESULT CALLBACK AnchorProc(HWND hwnd, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;
  // Runs a handler of either window; deferred closing happens once none is running.
  template <typename Handler>
  LRESULT Run(Handler handler);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleAnchor(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint();
  OverlayPainter& Painter();
  // Invalidates what changed since the last call, and moves the toolbar's tooltips. Runs after
  // each handler, or, while a repaint is due, at its WM_PAINT.
  void SyncDamage();
  void CreateTooltips();
  // Mouse messages reach the tooltips only while the toolbar is on the screen.
  void RelayToTooltips(UINT message, WPARAM wparam, LPARAM lparam);
  // Frees the frozen picture and destroys the surface window; the anchor stays.
  void RetireSurface();
  void DestroyNow();
  // A desktop rectangle in client pixels.
  RECT ToClient(const RectI& r) const;


  OverlayShared shared_;
  std::uint64_t random_seed_;
  HWND hwnd_ = nullptr;    // the surface: the full-screen window, null once retired
  HWND anchor_ = nullptr;  // never shown; owns the cut timer and the tray icon
  HWND tooltip_ = nullptr;  // made when the toolbar first shows
  unsigned dpi_ = 96;
  overlay::Desktop desktop_;  // the monitors as they were at load; the window covers them
  RectI frozen_area_;         // what frozen_ holds, in desktop pixels
  OwnedIcon small_icon_;
  OwnedFont tooltip_font_;
  std::unique_ptr<WindowTimer> cut_timer_;
  std::unique_ptr<OverlayPainter> painter_;  // made at the first paint of an element
  std::unique_ptr<LoupePainter> loupe_painter_;  // null when a test turned the loupe off
  std::unique_ptr<overlay::Overlay> logic_;
  std::unique_ptr<ScreenPixels> frozen_;  // the frozen screen; null until a copy succeeded
  overlay::Elements painted_;  // what the screen shows, as of the last invalidation
  overlay::LoupeView painted_loupe_;  // the loupe as of the last invalidation
  OwnedRegion damage_, piece_;  // reused for the union of the changed rectangles
  bool repaint_pending_ = false;  // damage invalidated, its WM_PAINT not run yet
  bool tracking_leave_ = false;  // WM_MOUSELEAVE asked for since the pointer came in
  int depth_ = 0;              // nesting of this window's handlers
  bool close_requested_ = false;
  bool retire_requested_ = false;  // hidden into the tray: the surface goes once idle
  bool destroying_ = false;
};

// The single overlay instance: every load after an unload gets a fresh one. Unloaded
// instances are freed once none of their handlers is running.
class OverlayHost final : public app::OverlayControl {
 public:
  explicit OverlayHost(OverlayShared shared) : shared_(std::move(shared)) {}
  void Show() override;
  void Unload() override;
  void StartCut() override;
  // Frees the instances whose windows are gone.
  void Reap();

 private:
  OverlayShared shared_;
  std::unique_ptr<OverlayForm> current_;
  std::vector<std::unique_ptr<OverlayForm>> retired_;
};

}  // namespace pelvanto::win32
