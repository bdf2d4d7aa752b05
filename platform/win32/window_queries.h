#pragma once
#include <windows.h>

#include "host/window_info.h"

namespace pelvanto::win32 {

// Reads other programs' windows: the owning process's executable and the title.
class SystemWindowQueries final : public WindowInfo {
 public:
  std::wstring ProcessPath(WindowId window) const override;
  std::wstring Title(WindowId window) const override;
};

}  // namespace pelvanto::win32
