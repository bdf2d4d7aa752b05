#pragma once
#include <memory>

namespace pelvanto {

// A picture of the screen, owned until it is handed to the clipboard.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// The live screen.
class Screen {
 public:
  virtual ~Screen() = default;
  // A width x height picture of the screen from (left, top); where the area reaches past
  // the screen the picture is black. Null when the copy cannot be made.
  virtual std::unique_ptr<Picture> CopyArea(int left, int top, int width, int height) = 0;
  // False while the screen cannot be copied at all: the session is locked or disconnected.
  virtual bool Available() const = 0;
};

}  // namespace pelvanto
