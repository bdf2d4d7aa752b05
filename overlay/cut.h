#pragma once
// The cut: the live screen at the selection, a random margin larger, onto the clipboard.

#include <cstdint>
#include <functional>
#include <string>

#include "host/clipboard.h"
#include "host/clock.h"
#include "host/screen.h"
#include "host/types.h"
#include "overlay/random.h"

namespace pelvanto::overlay {

// The largest margin a cut draws: its pictures are 0 to this many pixels larger than the
// selection, to the right and to the bottom.
inline constexpr int kMaxMargin = 29;

// The screen area a cut copies: the selection, `margin` pixels larger to the right and to the
// bottom. Edges that would pass int's range stop at its end.
RectI CutArea(const RectI& selection, int margin);

// What one cut came to, for the notification-area status.
enum class CutOutcome {
  kLanded,         // a picture is on the clipboard
  kClipboardHeld,  // another program held the clipboard: skipped, the clipboard kept
  kSessionLocked,  // the session does not show the screen: skipped, the clipboard kept
  kFailed,         // nothing to copy, or the copy or the clipboard failed: skipped
  kWindowMoved,    // the followed window moved during the copy: skipped, the clipboard kept
};

struct CutReport {
  CutOutcome outcome = CutOutcome::kFailed;
  int width = 0;  // kLanded: the picture's size in pixels
  int height = 0;
  TimeOfDay at;         // when the cut was made, local time
  std::wstring holder;  // kClipboardHeld: the holding program's file name, when readable
  bool Landed() const { return outcome == CutOutcome::kLanded; }
};

class Cutter {
 public:
  Cutter(Clock& clock, Screen& screen, Clipboard& clipboard, std::uint64_t random_seed);

  // One cut of `selection`. Unless it landed, the clipboard keeps what it held. `unmoved`,
  // when given, is asked after the copy: false drops the picture (kWindowMoved).
  CutReport Cut(const RectI& selection, const std::function<bool()>& unmoved = {});
  // The margin of the last cut, 0 to kMaxMargin.
  int LastMargin() const { return margin_; }

 private:
  Clock& clock_;
  Screen& screen_;
  Clipboard& clipboard_;
  MarginRandom random_;
  int margin_ = 0;
};

}  // namespace pelvanto::overlay
