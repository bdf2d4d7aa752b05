#pragma once
#include "host/types.h"

namespace pelvanto {

// The one pointer shape the whole program shows.
class PointerShape {
 public:
  virtual ~PointerShape() = default;
  virtual void Set(Pointer shape) = 0;
};

}  // namespace pelvanto
