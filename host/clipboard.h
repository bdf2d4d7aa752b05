#pragma once
#include <memory>

#include "host/screen.h"

namespace pelvanto {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and leaves the picture on it. False when the clipboard could not
  // be opened or refused the picture; the picture is freed then.
  virtual bool PutPicture(std::unique_ptr<Picture> picture) = 0;
  // Empties the clipboard. False when it could not be opened.
  virtual bool Empty() = 0;
};

}  // namespace pelvanto
