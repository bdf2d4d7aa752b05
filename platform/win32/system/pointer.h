#pragma once
// The pointer shape the logic asks for, applied by every window of the program.

#include <windows.h>

#include "host/pointer_shape.h"

namespace pelvanto::win32 {

// The program-wide pointer: every window of the program asks it in WM_SETCURSOR.
class ProgramPointer final : public PointerShape {
 public:
  void Set(Pointer shape) override;
  // For WM_SETCURSOR over the client area: true when the override was applied.
  bool Apply() const;

 private:
  Pointer shape_ = Pointer::kDefault;
};

}  // namespace pelvanto::win32
