#include "app/auto_cut_menu.h"

#include <algorithm>

namespace pelvanto::app {

std::vector<MenuEntry> MenuFor(const SteeringState& s) {
  // A cut or a new freeze needs a shown session and an overlay that is not on the screen.
  const bool steerable = s.area_set && !s.adjusting;
  const bool screen_free = steerable && !s.session_locked;
  const overlay::FollowFacts follow{s.follow, {}};
  std::vector<MenuEntry> menu;
  menu.push_back({MenuCommand::kShowMain, L"显示主窗口", true, false, true, true});
  // While paused no cut touches the clipboard, not even one asked for; one asked for while
  // another is under way is that same cut (a held hotkey makes no burst). Nor while the
  // followed window cannot be seen, or has gone.
  menu.push_back({MenuCommand::kCutNow, L"立即切图",
                  screen_free && !s.paused && !s.cut_under_way && follow.Cuttable()});
  if (s.paused)
    menu.push_back({MenuCommand::kResume, L"继续切图", steerable});
  else
    menu.push_back({MenuCommand::kPause, L"暂停切图", steerable});
  menu.push_back({MenuCommand::kAdjust, L"调整选区", screen_free, false, false, true});
  // Greyed where the area lies in no single window, or its window has closed.
  menu.push_back(
      {MenuCommand::kToggleFollow, L"跟随窗口", steerable && follow.Offered(), follow.Following()});
  // A choice for this run, whether or not an area is watched yet.
  menu.push_back({MenuCommand::kToggleFrame, L"显示选区边框", true, s.frame_wanted, false, true});
  // The capture button's two captions.
  if (s.capturing)
    menu.push_back({MenuCommand::kStopCapture, L"切图结束"});
  else
    menu.push_back({MenuCommand::kStartCapture, L"切图开始"});
  menu.push_back({MenuCommand::kExit, L"关闭退出"});
  return menu;
}

bool Applies(const SteeringState& state, MenuCommand command) {
  const auto menu = MenuFor(state);
  const auto it = std::ranges::find(menu, command, &MenuEntry::command);
  return it != menu.end() && it->enabled;
}

}  // namespace pelvanto::app
