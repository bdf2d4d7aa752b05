#pragma once
// The capture overlay: a full-screen window showing a frozen picture of the screen, on which
// the user marks the area that every auto-cut copies from the live screen.

#include <cstdint>
#include <string>

#include "app/tray_icon.h"
#include "overlay/elements.h"
#include "overlay/keys.h"
#include "overlay/loupe.h"
#include "overlay/metrics.h"
#include "overlay/random.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/notification_area.h"
#include "platform/pointer.h"
#include "platform/screen.h"
#include "platform/timer.h"
#include "platform/types.h"

namespace pelvanto::overlay {

// What the overlay's logic asks of its window.
class OverlayWindow {
 public:
  virtual ~OverlayWindow() = default;
  // Copies width x height pixels of the screen from (0, 0) into the window's persistent
  // surface. False when the copy failed (the surface then shows the back colour).
  virtual bool FreezeScreen(int width, int height) = 0;
  // Colour of the frozen picture at a pixel, 0x00BBGGRR; 0 outside it.
  virtual std::uint32_t FrozenPixel(int x, int y) const = 0;
  virtual void Maximise() = 0;
  // Minimising runs the overlay's OnResize(true).
  virtual void Minimise() = 0;
  virtual void Hide() = 0;
  // Draws the window through the layered path, fully opaque.
  virtual void MakeLayeredOpaque() = 0;
  // Destroys the window once no handler of it is running any more.
  virtual void Close() = 0;
  // The cursor's position in screen pixels.
  virtual PointI CursorPos() const = 0;
  // The window and its icon, for its notification-area record.
  virtual WindowId Id() const = 0;
  virtual std::uintptr_t IconHandle() const = 0;
};

// Everything else the overlay reaches.
struct OverlayServices {
  OverlayWindow& window;
  PointerShape& pointer;
  EventLoop& events;
  Clock& clock;
  Screen& screen;
  Clipboard& clipboard;
  NotificationArea& tray;
  Timer& Timer1;       // the overlay's own one-shot cut timer
  Timer& MainTimer1;   // the main window's auto-cut pace
  bool& CutFormLoaded;  // program-wide: true while an overlay is loaded
};

// The screen in physical pixels (ScreenW, ScreenH) and its DPI.
struct ScreenExtent {
  int width = 0;
  int height = 0;
  unsigned dpi = 96;
};

// "draw": no finished selection; "move": a finished selection exists.
enum class SelectMode { Draw, Move };
// None at load; Start while a handle is dragged; Stop after a handle's release.
enum class ResizePhase { None, Start, Stop };

// Form-level variables, under their established names.
struct State {
  SelectMode DrawMode = SelectMode::Draw;
  float StartX = 0, StartY = 0;  // anchor of drawing; base of moving the selection
  float EndX = 0, EndY = 0;      // far edges recorded at a handle press
  float PressX = 0, PressY = 0;  // where a press landed inside the finished selection
  RectI SelRect;                 // the selection rounded to pixels, for the hit test
  int KeepOpen = 0;              // 0: a release of a non-left button closes the overlay
  float BoxLeft = 0, BoxTop = 0;  // fixed left and top edges while a handle is dragged
  ResizePhase ResizeState = ResizePhase::None;
  PointI DragPt;                 // cursor position during a handle drag, screen pixels
};

// What a press landed on; its moves and release keep going there until all buttons are up.
struct HitTarget {
  enum class Kind { Surface, Handle, Button, Toolbar };
  Kind kind = Kind::Surface;
  int index = 0;  // handle or button index
  friend bool operator==(const HitTarget&, const HitTarget&) = default;
};

class Overlay {
 public:
  Overlay(OverlayServices services, ScreenExtent screen, std::uint64_t random_seed);

  // --- Lifecycle (overlay.cpp)
  // Form Load: runs before the window is first shown.
  void Load();
  // Form Resize.
  void OnResize(bool minimised);
  // Form QueryUnload and Form Unload, then the window closes. Every handler does nothing
  // once the overlay is unloaded.
  void Unload();
  bool Unloaded() const { return unloaded_; }
  // The taskbar was recreated: the overlay's icon, if shown, is added again.
  void OnTaskbarCreated();

  // --- Mouse input from the window, routed to toolbar, handle or surface (input_router.cpp).
  // `button` is the one that changed; `buttons` the set held during a move.
  void OnMouseDown(int button, float x, float y);
  void OnMouseMove(int buttons, float x, float y);
  void OnMouseUp(int button, float x, float y);
  // Which element is at a point, topmost first: toolbar button, toolbar, handle, surface.
  HitTarget HitTest(float x, float y) const;
  // True while a press holds the pointer capture.
  bool Captured() const { return captured_; }
  // A left double click: a press like any other; when it landed inside the selection, its
  // release copies and exits as the toolbar's button does.
  void OnDoubleClick(float x, float y);
  // The pointer left the window: the loupe goes.
  void OnPointerLeft();

  // --- Keys (keys.cpp): Esc, Enter and the arrows. True when the key did something.
  bool OnKey(const KeyPress& press);

  // --- The loupe beside the pointer (loupe.cpp).
  const LoupeView& loupe() const { return loupe_; }

  // --- The surface (selection.cpp)
  void FormMouseDown(int button, float x, float y);
  void FormMouseMove(int buttons, float x, float y);
  void FormMouseUp(int button, float x, float y);

  // --- Handles (handles.cpp)
  void ImageMove();
  void Image1MouseDown(int index);
  void Image1MouseMove(int index);
  void Image1MouseUp(int index);

  // --- Toolbar (toolbar.cpp)
  void Image2Click(int index);
  void Image2MouseMove(int index);
  void Picture1MouseMove();

  // --- The cut (cut.cpp)
  void OnTimer1();
  void cutimg();
  void ScrnCap(int left, int top, int right, int bottom);
  // The margin of the last cut, 0 to 29.
  int CutMargin() const { return cut_margin_; }

  const Elements& elements() const { return elements_; }
  const State& state() const { return state_; }
  const Metrics& metrics() const { return metrics_; }
  float ScreenW() const { return static_cast<float>(screen_.width); }
  float ScreenH() const { return static_cast<float>(screen_.height); }

 private:
  // Shared by the surface and the handles: the size text and the labels' places.
  void PlaceLabels();
  // Toolbar placement after a release: below the selection, or inside it when there is no
  // room below; never left of the screen.
  void PlaceToolbar();
  void HideHandles();
  // The loupe follows the pointer, except over the toolbar.
  void FollowPointer(float x, float y);

  OverlayServices services_;
  ScreenExtent screen_;
  Metrics metrics_;
  Elements elements_;
  State state_;
  MarginRandom random_;
  app::TrayIcon tray_icon_;
  bool unloaded_ = false;
  bool in_tray_ = false;      // minimised to the notification area; never shown again
  bool cutting_ = false;      // a cut is running (it lets events run in its middle)
  int cut_margin_ = 0;
  bool captured_ = false;     // a press holds the pointer
  HitTarget capture_target_;  // where the press landed
  int buttons_down_ = 0;      // buttons held since the press
  int pressed_button_ = -1;   // toolbar button a left press landed on, for its click
  bool copy_at_release_ = false;  // a double click inside the selection waits for its release
  PointI pointer_;            // the pointer's last pixel on the overlay
  LoupeMetrics loupe_metrics_;
  LoupeView loupe_;
};

// Nearest whole number, ties to the even neighbour; past int's range it stops at its ends,
// and NaN gives 0.
int RoundHalfEven(double value);

// The size read-out: width, "x", height, each in its shortest decimal form ("145x97").
std::wstring SizeText(float width, float height);
// The colour read-out of a 0x00BBGGRR colour: "RGB(255,128,0)".
std::wstring ColourText(std::uint32_t colour);
// The screen area a cut copies: the selection, `margin` pixels larger to the right and to the
// bottom; each edge rounded to the nearest pixel, ties to even. Right and bottom exclusive.
RectI CutArea(const RectF& selection, int margin);

}  // namespace pelvanto::overlay
