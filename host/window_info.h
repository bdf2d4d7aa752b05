#pragma once
#include <string>

#include "host/types.h"

namespace pelvanto {

// What the program may read of other programs' top-level windows.
class WindowInfo {
 public:
  virtual ~WindowInfo() = default;
  // Full path of the executable of the process that owns the window, lower-cased;
  // empty when it cannot be obtained.
  virtual std::wstring ProcessPath(WindowId window) const = 0;
  // The window's whole title; empty for no title or a window that is gone.
  virtual std::wstring Title(WindowId window) const = 0;
};

}  // namespace pelvanto
