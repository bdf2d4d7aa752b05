#pragma once
// The windows on the screen as the overlay's snapping needs them, recorded at the freeze.

#include <windows.h>

#include <vector>

#include "overlay/snapping.h"

namespace pelvanto::win32 {

// The visible top-level windows in z-order, topmost first, each followed by its visible child
// windows at any depth, as overlay::SnapTargets takes them. Left out: minimised and cloaked
// windows, the windows of process `own_process`, the shell's desktop, click-through windows, and
// windows no part of which shows on the `desktop` (outside it, outside their parents, under the
// windows above). A top-level window's rectangle is its visible frame where the compositor
// knows it (no invisible resize borders), else its window rectangle. Never sends a message to a
// window, so a hung program cannot hold it up.
std::vector<overlay::WindowRecord> RecordWindows(DWORD own_process, const RectI& desktop);

}  // namespace pelvanto::win32
