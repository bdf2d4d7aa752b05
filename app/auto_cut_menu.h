#pragma once
// The menu of the notification-area icons: which items it has, in which order, and which of
// them apply in each state of the capture.

#include <string_view>
#include <vector>

#include "overlay/follow.h"

namespace pelvanto::app {

// What an item of the menu does. The numbers are the items' command ids, never 0 (the
// system's "nothing chosen").
enum class MenuCommand : int {
  kShowMain = 1,       // "显示主窗口": as the icon's double click
  kCutNow = 2,         // "立即切图": one cut now, with a fresh margin
  kPause = 3,          // "暂停切图": the pace stops, the area is kept
  kResume = 4,         // "继续切图": the pace starts again at the interval box's value
  kAdjust = 5,         // "调整选区": the overlay again, with the watched area in place
  kToggleFrame = 6,    // "显示选区边框": the frame around the watched area, on or off
  kStopCapture = 7,    // "切图结束": as the main window's capture button
  kExit = 8,           // "关闭退出": as the main window's exit button
  kStartCapture = 9,   // "切图开始": as the main window's capture button, when idle
  kToggleFollow = 10,  // "跟随窗口": the area follows the window it was taken from, or stays
};

// What the menu depends on.
struct SteeringState {
  bool capturing = false;       // the capture button reads "切图结束"
  bool area_set = false;        // an area is watched: the auto-cut runs or is paused
  bool paused = false;          // the pace was stopped from the menu
  bool adjusting = false;       // the overlay is up again to adjust the area
  bool session_locked = false;  // the session does not show the screen
  bool frame_wanted = true;     // "显示选区边框" is checked
  bool cut_under_way = false;   // a cut was asked for and not made yet
  overlay::FollowState follow = overlay::FollowState::kNone;  // the window the area lies in
};

struct MenuEntry {
  MenuCommand command;
  std::wstring_view caption;
  bool enabled = true;
  bool checked = false;
  bool is_default = false;       // drawn bold; what a double click does
  bool separator_after = false;  // ends a group
  std::wstring_view keys = {};   // its hotkey, shown after a tab; empty for none
};

// The items in their order, each greyed where it does not apply.
std::vector<MenuEntry> MenuFor(const SteeringState& state);

// Whether a command applies now: a command that arrives after its state has passed (one
// posted before the capture ended, say) does nothing.
bool Applies(const SteeringState& state, MenuCommand command);

}  // namespace pelvanto::app
