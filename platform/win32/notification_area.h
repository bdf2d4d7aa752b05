#pragma once
#include <windows.h>

#include "host/tray.h"

namespace pelvanto::win32 {

// Icons call back with kTrayCallback (messages.h).
class ShellNotificationArea final : public Tray {
 public:
  bool Add(const TrayRecord& record) override;
  void Delete(const TrayRecord& record) override;
  void Modify(const TrayRecord& record) override;
};

}  // namespace pelvanto::win32
