#pragma once
// Reads other programs' windows for the chat tracking: the owning process's executable and
// the title.

#include <windows.h>

#include <string>

#include "host/window_info.h"

namespace pelvanto::win32 {

// Reads other programs' windows: the owning process's executable and the title.
class SystemWindowQueries final : public WindowInfo {
 public:
  // One way to read the executable's path of a process; empty when it fails.
  using PathReader = std::wstring (*)(DWORD process_id);

  // The first way lists the process's modules (full rights); when it fails, the image name
  // is asked with limited rights. Tests put a failing first way in.
  explicit SystemWindowQueries(PathReader first_way = ModulePath) : first_way_(first_way) {}

  std::wstring ProcessPath(WindowId window) const override;
  std::wstring Title(WindowId window) const override;

  static std::wstring ModulePath(DWORD process_id);
  static std::wstring ImagePath(DWORD process_id);

 private:
  PathReader first_way_;
};

// Another program's window title, read from the window manager's copy: no message goes to
// the window, so a hung program holds nothing up. Empty for none, or for a window that is gone.
std::wstring WindowTitle(WindowId window);

}  // namespace pelvanto::win32
