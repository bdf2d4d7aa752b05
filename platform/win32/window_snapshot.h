#pragma once
// The windows on the screen as the overlay's snapping needs them: recorded at the freeze, their
// controls right after the frozen picture is first on the screen.

#include <windows.h>

#include <vector>

#include "host/types.h"
#include "overlay/snapping.h"

namespace pelvanto::win32 {

// Left out everywhere: minimised and cloaked windows, the windows of process `own_process`, the
// shell's desktop, click-through windows, and windows no part of which shows on the `desktop`
// (outside it, outside their parents, under the windows above). A top-level window's
// rectangle is its visible frame where the compositor knows it (no invisible resize borders),
// else its window rectangle. Nothing here sends a message to a window, so a hung program
// cannot hold it up.
class WindowSnapshot {
 public:
  WindowSnapshot(DWORD own_process, const RectI& desktop);

  // The visible top-level windows in z-order, topmost first, as overlay::SnapTargets takes
  // them. Under Wine each query of another program's window is a round trip to the wine
  // server, so this is all the freeze waits for.
  std::vector<overlay::WindowRecord> RecordWindows();
  // The same windows, each followed by its visible child windows at any depth: the controls.
  std::vector<overlay::WindowRecord> RecordControls() const;

  struct TopLevel {
    HWND window;
    RectI frame;  // as recorded
    RectI shown;  // the part on the desktop and under no window above
  };

 private:
  DWORD own_process_;
  RectI desktop_;
  std::vector<TopLevel> windows_;  // as the last RecordWindows found them
};

}  // namespace pelvanto::win32
