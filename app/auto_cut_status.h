#pragma once
// The live status of the auto-cut in the tip of the main window's icon.

#include <optional>
#include <string>
#include <string_view>

#include "overlay/cut.h"
#include "overlay/follow.h"

namespace pelvanto::app {

struct StatusFacts {
  bool area_set = false;        // an area is watched
  bool paused = false;          // the pace was stopped from the menu
  bool adjusting = false;       // the overlay is up again to adjust the area
  bool session_locked = false;  // the session does not show the screen
  int interval_seconds = 0;     // as the interval box reads; 0 or less: no cuts
  int cuts_made = 0;            // pictures that reached the clipboard in this capture
  std::optional<overlay::CutReport> last_cut;     // the last cut's outcome, landed or not
  std::optional<overlay::CutReport> last_landed;  // the last picture that reached the clipboard
  overlay::FollowFacts follow;                    // the window the area follows, if any
};

// The state in one line, e.g. "每 5 秒切图 · 已切 12 张 · 上次 14:03:21 412×300"; empty while
// no area is watched.
std::wstring StatusLine(const StatusFacts& facts);

// What the tip says of the followed window: why no cut is made ("窗口已最小化，暂停切图"), or
// which window is followed; empty when no window is followed.
std::wstring FollowLine(const overlay::FollowFacts& follow);

// The main window's tip: the program's title, the status line, then `note` (a taken hotkey);
// never longer than a tip holds.
std::wstring StatusTip(const StatusFacts& facts, std::wstring_view note = {});

}  // namespace pelvanto::app
