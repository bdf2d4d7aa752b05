#pragma once
// The monitors as Windows reports them now, in physical pixels of the virtual desktop.

#include "overlay/desktop.h"

namespace pelvanto::win32 {

// Every monitor with its work area and DPI; the primary screen alone when they cannot be
// listed. Read afresh at each call, so a changed layout is seen at once.
overlay::Desktop CurrentDesktop();

}  // namespace pelvanto::win32
