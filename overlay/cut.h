#pragma once
// The cut: the live screen at the selection, a random margin larger, onto the clipboard.

#include <cstdint>

#include "host/clipboard.h"
#include "host/clock.h"
#include "host/screen.h"
#include "host/types.h"
#include "overlay/random.h"

namespace pelvanto::overlay {

// The screen area a cut copies: the selection, `margin` pixels larger to the right and to the
// bottom. Edges that would pass int's range stop at its end.
RectI CutArea(const RectI& selection, int margin);

class Cutter {
 public:
  Cutter(Clock& clock, Screen& screen, Clipboard& clipboard, std::uint64_t random_seed);

  // One cut of `selection`. False when no picture reached the clipboard, which then keeps
  // what it held.
  bool Cut(const RectI& selection);
  // The margin of the last cut, 0 to 29.
  int LastMargin() const { return margin_; }

 private:
  Clock& clock_;
  Screen& screen_;
  Clipboard& clipboard_;
  MarginRandom random_;
  int margin_ = 0;
};

}  // namespace pelvanto::overlay
