#pragma once
#include <memory>
#include <string>

#include "host/screen.h"

namespace pelvanto {

// What became of a picture handed to the clipboard.
struct ClipboardPut {
  enum class Outcome {
    kPlaced,   // the picture is on the clipboard
    kHeld,     // another program held the clipboard open
    kRefused,  // the clipboard would not take the picture
  };
  Outcome outcome = Outcome::kRefused;
  std::wstring holder;  // kHeld: the holding program's file name ("notepad.exe"), if readable

  bool Placed() const { return outcome == Outcome::kPlaced; }
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard and leaves the picture on it. Anything but kPlaced leaves the
  // clipboard as it was, and the picture is freed.
  virtual ClipboardPut PutPicture(std::unique_ptr<Picture> picture) = 0;
  // Empties the clipboard. False when it could not be opened.
  virtual bool Empty() = 0;
};

}  // namespace pelvanto
