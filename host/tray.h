#pragma once
#include <cstdint>
#include <string>

#include "host/types.h"

namespace pelvanto {

// What names one icon in the tray. The system knows an icon by window and id.
struct TrayRecord {
  WindowId window = 0;
  unsigned id = 0;
  std::uintptr_t icon = 0;  // the window's icon handle, alive while the record is used
  std::wstring tip;
  friend bool operator==(const TrayRecord&, const TrayRecord&) = default;
};

class Tray {
 public:
  virtual ~Tray() = default;
  virtual bool Add(const TrayRecord& record) = 0;
  virtual void Delete(const TrayRecord& record) = 0;
  // Changes a shown icon in place (its picture and tip).
  virtual void Modify(const TrayRecord& record) = 0;
};

}  // namespace pelvanto
