#pragma once
#include <windows.h>

#include "host/tray.h"

namespace pelvanto::win32 {

// Icons call back with this private message; lParam holds the mouse message.
inline constexpr UINT kTrayCallback = WM_APP + 1;

class ShellNotificationArea final : public Tray {
 public:
  bool Add(const TrayRecord& record) override;
  void Delete(const TrayRecord& record) override;
};

}  // namespace pelvanto::win32
