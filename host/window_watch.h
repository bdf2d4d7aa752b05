#pragma once
// What the auto-cut reads of the window it follows. Every read is of the window manager's own
// records: none sends the window a message, so a window that stopped answering holds up nothing.

#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "host/types.h"

namespace pelvanto {

// How a window shows, as far as cutting it goes.
enum class WindowShow {
  kShown,        // on a monitor, to be cut
  kMinimised,    // minimised
  kHidden,       // not visible
  kCloaked,      // hidden by the compositor (another virtual desktop, a suspended app)
  kOffMonitors,  // on no monitor
};

// One reading of a window.
struct WindowLook {
  bool exists = false;        // the handle names a window now
  std::uint32_t process = 0;  // the id of the process that owns it
  std::wstring class_name;    // its window class
  WindowShow show = WindowShow::kHidden;
  RectI frame;  // its visible frame (top level) or window rectangle (control), desktop pixels
  unsigned dpi = kDesignDpi;  // of the monitor that shows most of it
};

// A top-level window and its visible frame.
struct WindowPlace {
  WindowId window = 0;
  RectI frame;
  friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

class WindowWatch {
 public:
  virtual ~WindowWatch() = default;
  virtual WindowLook Look(WindowId window) const = 0;
  // The window's title; empty for none, or for a window that is gone.
  virtual std::wstring Title(WindowId window) const = 0;
  // This program's own process id: its windows are never followed.
  virtual std::uint32_t OwnProcess() const = 0;
  // The shown top-level windows of other programs, topmost first.
  virtual std::vector<WindowPlace> TopLevelWindows() const = 0;
  // From now on, location changes of `window` and its controls are reported as they happen
  // where the system reports them; 0 stops that.
  virtual void Listen(WindowId window) = 0;
};

}  // namespace pelvanto
