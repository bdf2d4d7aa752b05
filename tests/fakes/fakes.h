#pragma once
// Hand-written fakes of the platform interfaces. Each records what happened so tests can
// check outcomes rather than call sequences.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/capture_control.h"
#include "core/geometry.h"
#include "overlay/overlay.h"
#include "host/clock.h"
#include "host/hotkeys.h"
#include "host/tray.h"
#include "host/pointer_shape.h"
#include "host/clipboard.h"
#include "host/screen.h"
#include "host/shell_notifications.h"
#include "host/timer.h"
#include "host/window_info.h"
#include "host/window_watch.h"

namespace pelvanto {
// Failures name the rectangle's edges, not its bytes.
inline void PrintTo(const RectI& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
}  // namespace pelvanto

namespace pelvanto::fakes {

// One log that several fakes write to, for the few places where order matters.
using CallLog = std::vector<std::string>;

class FakeTimer : public Timer {
 public:
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }
  void SetInterval(unsigned milliseconds) override {
    interval_ = milliseconds;
    ++interval_sets;
  }
  unsigned Interval() const override { return interval_; }
  int interval_sets = 0;

 private:
  bool enabled_ = false;
  unsigned interval_ = 0;
};

class FakePointer : public PointerShape {
 public:
  void Set(Pointer shape) override {
    current = shape;
    ++sets;
  }
  Pointer current = Pointer::kDefault;
  int sets = 0;
};

class FakeTray : public Tray {
 public:
  bool Add(const TrayRecord& record) override {
    ++adds;
    if (refuse) return false;
    icons.push_back(record);
    return true;
  }
  void Delete(const TrayRecord& record) override {
    ++deletes;
    std::erase_if(
        icons, [&](const TrayRecord& r) { return r.window == record.window && r.id == record.id; });
  }
  void Modify(const TrayRecord& record) override {
    ++modifies;
    for (TrayRecord& r : icons)
      if (r.window == record.window && r.id == record.id) r = record;
  }
  std::vector<TrayRecord> icons;  // what the tray shows
  int modifies = 0;
  int adds = 0;
  int deletes = 0;
  bool refuse = false;
};

class FakeClock : public Clock {
 public:
  int SecondOfMinute() const override { return second; }
  TimeOfDay Now() const override { return {hour, minute, second}; }
  int hour = 0, minute = 0, second = 0;
};

// A picture: its area and the screen pixels it holds.
class FakePicture : public Picture {
 public:
  FakePicture(int x, int y, int w, int h, std::vector<std::uint32_t> data)
      : left(x), top(y), width(w), height(h), pixels(std::move(data)) {}
  int Width() const override { return width; }
  int Height() const override { return height; }
  int left, top, width, height;
  std::vector<std::uint32_t> pixels;
};

// The live screen as a pixel buffer; pixels past its edges read black.
class FakeScreen : public Screen {
 public:
  FakeScreen(int w, int h) : width(w), height(h) {
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = static_cast<std::uint32_t>(x + 10000 * y);
  }
  std::uint32_t& At(int x, int y) {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  std::unique_ptr<Picture> CopyArea(int left, int top, int w, int h) override {
    ++copies;
    if (fail || w <= 0 || h <= 0) return nullptr;
    std::vector<std::uint32_t> out;
    for (int y = top; y < top + h; ++y)
      for (int x = left; x < left + w; ++x)
        out.push_back(x >= 0 && y >= 0 && x < width && y < height ? At(x, y) : 0);
    return std::make_unique<FakePicture>(left, top, w, h, std::move(out));
  }
  bool Available() const override { return !locked; }
  int width, height;
  std::vector<std::uint32_t> pixels;
  bool fail = false;
  bool locked = false;  // the session does not show the screen
  int copies = 0;
};

// The clipboard: what it holds, and how often it changed.
class FakeClipboard : public Clipboard {
 public:
  explicit FakeClipboard(CallLog* log = nullptr) : log_(log) {}
  ClipboardPut PutPicture(std::unique_ptr<Picture> picture) override {
    if (log_) log_->push_back("clipboard");
    if (held_by_other) return {ClipboardPut::Outcome::kHeld, holder};
    content = std::unique_ptr<FakePicture>(static_cast<FakePicture*>(picture.release()));
    text.reset();
    ++pictures_put;
    return {ClipboardPut::Outcome::kPlaced, {}};
  }
  bool Empty() override {
    if (held_by_other) return false;
    content.reset();
    text.reset();
    ++empties;
    return true;
  }
  std::unique_ptr<FakePicture> content;
  std::optional<std::wstring> text;  // something the user copied elsewhere
  bool held_by_other = false;
  std::wstring holder;  // the program that holds it, as far as it can be read
  int pictures_put = 0;
  int empties = 0;

 private:
  CallLog* log_;
};

class FakeOverlayView : public overlay::OverlayView {
 public:
  bool FreezeScreen(const RectI& area) override {
    frozen = area;
    return !freeze_fails;
  }
  std::uint32_t FrozenPixel(int x, int y) const override {
    if (x < frozen.left || y < frozen.top || x >= frozen.right || y >= frozen.bottom) return 0;
    return frozen_pixel ? frozen_pixel(x, y) : 0;
  }
  void Maximise() override { maximised = true; }
  void Minimise() override {
    minimise_requests++;
    if (on_minimise) on_minimise();
  }
  void Hide() override { visible = false; }
  void MakeLayeredOpaque() override { layered = true; }
  void Destroy() override { destroyed = true; }
  PointI CursorPos() const override { return cursor; }
  std::optional<std::vector<overlay::WindowRecord>> RecordWindows() override {
    if (!snapping) return std::nullopt;
    return top_level;
  }
  overlay::DragSize DragRectangle() const override { return drag; }
  WindowId Id() const override { return 0x1234; }
  std::uintptr_t IconHandle() const override { return 0x5678; }

  std::function<std::uint32_t(int, int)> frozen_pixel;
  std::function<void()> on_minimise;
  RectI frozen;  // the desktop area last frozen
  bool freeze_fails = false;
  bool maximised = false, layered = false, destroyed = false, visible = true;
  int minimise_requests = 0;
  PointI cursor;
  // The desktop's top-level windows as the freeze finds them.
  std::vector<overlay::WindowRecord> top_level;
  overlay::DragSize drag;
  bool snapping = true;  // false: the window offers none
};

// What the overlay told the program about its area.
class FakeAreaEvents : public overlay::AreaEvents {
 public:
  void OnCut(const overlay::CutReport& report) override { reports.push_back(report); }
  void OnAreaSet() override { ++area_sets; }
  void OnFollowChanged(const overlay::FollowFacts& facts) override { follow.push_back(facts); }
  std::vector<overlay::CutReport> reports;
  int area_sets = 0;
  std::vector<overlay::FollowFacts> follow;  // every change, in order
};

// Other programs' windows as the window manager records them: a test moves, hides or closes
// them between readings. A window with no entry is gone.
class FakeWindowWatch : public WindowWatch {
 public:
  WindowLook Look(WindowId window) const override {
    ++looks;
    if (on_look) on_look(window);
    const auto it = windows.find(window);
    return it == windows.end() ? WindowLook{} : it->second;
  }
  std::wstring Title(WindowId window) const override {
    const auto it = titles.find(window);
    return it == titles.end() ? std::wstring{} : it->second;
  }
  std::uint32_t OwnProcess() const override { return own_process; }
  std::vector<WindowPlace> TopLevelWindows() const override { return top_level; }
  void Listen(WindowId window) override { listening = window; }

  // A shown window of process 7, class "Notepad", at `frame`.
  WindowLook& Add(WindowId window, const RectI& frame, unsigned dpi = 96) {
    return windows[window] = {true, 7, L"Notepad", WindowShow::kShown, frame, dpi};
  }
  std::map<WindowId, WindowLook> windows;
  std::map<WindowId, std::wstring> titles;
  std::vector<WindowPlace> top_level;  // topmost first
  std::uint32_t own_process = 99;
  WindowId listening = 0;  // the window whose moves are reported as they happen
  std::function<void(WindowId)> on_look;
  mutable int looks = 0;
};

// An overlay with every fake it needs, on one screen of the given size or on a desktop of
// several monitors.
struct OverlayRig {
  explicit OverlayRig(int width = 1024, int height = 768, unsigned dpi = 96, std::uint64_t seed = 1)
      : OverlayRig(overlay::SingleMonitorDesktop(width, height, dpi), seed) {}
  explicit OverlayRig(const overlay::Desktop& desktop, std::uint64_t seed = 1)
      : screen(desktop.bounds.right, desktop.bounds.bottom),
        clipboard(&log),
        overlay({window, pointer, clock, screen, clipboard, tray, cut_timer, auto_cut_timer, events,
                 windows},
                desktop, seed) {
    window.on_minimise = [this] { overlay.OnMinimised(); };
  }
  CallLog log;
  FakeOverlayView window;
  FakePointer pointer;
  FakeClock clock;
  FakeScreen screen;
  FakeClipboard clipboard;
  FakeTray tray;
  FakeTimer cut_timer;
  FakeTimer auto_cut_timer;
  FakeAreaEvents events;
  FakeWindowWatch windows;
  overlay::Overlay overlay;

  // A left drag on the surface, press to release.
  void Drag(int x0, int y0, int x1, int y1) {
    overlay.OnMouseDown(MouseButton::kLeft, x0, y0);
    overlay.OnMouseMove(MouseButton::kLeft, x1, y1);
    overlay.OnMouseUp(MouseButton::kLeft, x1, y1);
  }
  // The middle of toolbar button `index`, where the toolbar stands now.
  PointI ButtonCentre(int index) const {
    const overlay::Elements e = overlay.Scene();
    const RectI& b = e.toolbar_buttons[static_cast<std::size_t>(index)];
    return {e.toolbar.rect.left + b.left + b.Width() / 2,
            e.toolbar.rect.top + b.top + b.Height() / 2};
  }
  // A left click, and a double click as the system reports it: a click, then the second press.
  void Click(int x, int y, MouseButton button = MouseButton::kLeft) {
    overlay.OnMouseDown(button, x, y);
    overlay.OnMouseUp(button, x, y);
  }
  void DoubleClick(int x, int y) {
    Click(x, y);
    overlay.OnDoubleClick(x, y);
    overlay.OnMouseUp(MouseButton::kLeft, x, y);
  }
  void ClickButton(int index) {
    const auto [x, y] = ButtonCentre(index);
    Click(x, y);
  }
  void HoverButton(int index) {
    const auto [x, y] = ButtonCentre(index);
    overlay.OnMouseMove({}, x, y);
  }
  // The strip's top-left pixel: on the toolbar, off every button.
  void HoverStrip() {
    const RectI bar = overlay.Scene().toolbar.rect;
    overlay.OnMouseMove({}, bar.left + 1, bar.top + 1);
  }
};

// An OverlayRig whose overlay was opened.
struct OpenOverlayRig : OverlayRig {
  template <typename... Args>
  explicit OpenOverlayRig(Args&&... args) : OverlayRig(std::forward<Args>(args)...) {
    overlay.Open();
  }
};

class FakeWindowInfo : public WindowInfo {
 public:
  std::wstring ProcessPath(WindowId window) const override {
    auto it = paths.find(window);
    return it == paths.end() ? std::wstring{} : it->second;
  }
  std::wstring Title(WindowId window) const override {
    auto it = titles.find(window);
    return it == titles.end() ? std::wstring{} : it->second;
  }
  std::map<WindowId, std::wstring> paths;
  std::map<WindowId, std::wstring> titles;  // a window that is gone has no entry
};

class FakeShell : public ShellNotifications {
 public:
  void Subscribe() override {
    subscribed = true;
    ++subscribes;
  }
  void Unsubscribe() override {
    subscribed = false;
    ++unsubscribes;
  }
  bool subscribed = false;
  int subscribes = 0, unsubscribes = 0;
};

// The system's hotkeys: the program's, and combinations other programs hold.
class FakeHotkeyBoard : public HotkeyBoard {
 public:
  HotkeyGrant Register(int id, const KeyCombo& keys) override {
    ++registrations;
    if (std::ranges::find(taken, keys) != taken.end()) return HotkeyGrant::kTaken;
    held[id] = keys;
    return HotkeyGrant::kHeld;
  }
  void Unregister(int id) override { held.erase(id); }
  std::map<int, KeyCombo> held;  // the program's, by id
  std::vector<KeyCombo> taken;   // held by other programs
  int registrations = 0;
};

}  // namespace pelvanto::fakes
