#include "app/auto_cut_status.h"

#include <algorithm>
#include <cwchar>

#include "app/interval.h"
#include "core/tray_icon.h"

namespace pelvanto::app {

namespace {

std::wstring Clock(const TimeOfDay& t) {
  wchar_t text[16] = {};
  std::swprintf(text, std::size(text), L"%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

constexpr std::size_t kTitleChars = 16;  // of the followed window's title, in the tip

// Why no cut is made while the followed window is there but cannot be cut; empty when it can.
std::wstring_view Waiting(overlay::FollowState state) {
  switch (state) {
    case overlay::FollowState::kMinimised: return L"窗口已最小化，暂停切图";
    case overlay::FollowState::kHidden: return L"窗口已隐藏，暂停切图";
    case overlay::FollowState::kCloaked: return L"窗口不在当前桌面，暂停切图";
    case overlay::FollowState::kOffMonitors: return L"窗口不在任何显示器上，暂停切图";
    case overlay::FollowState::kOutside: return L"窗口太小，选区不在其中，暂停切图";
    case overlay::FollowState::kNone:
    case overlay::FollowState::kOff:
    case overlay::FollowState::kFollowing:
    case overlay::FollowState::kGone: break;
  }
  return {};
}

std::wstring Pace(const StatusFacts& f) {
  // The pace never goes above the list's top value.
  const int seconds = std::min(f.interval_seconds, kMaxIntervalSeconds);
  std::wstring line = FollowLine(f.follow);
  if (!line.empty()) line += L" · ";
  line += L"每 " + std::to_wstring(seconds) + L" 秒切图 · 已切 " + std::to_wstring(f.cuts_made) +
          L" 张";
  if (f.last_landed) {
    line += L" · 上次 " + Clock(f.last_landed->at) + L" " + std::to_wstring(f.last_landed->width) +
            L"×" + std::to_wstring(f.last_landed->height);
  }
  return line;
}

}  // namespace

std::wstring FollowLine(const overlay::FollowFacts& follow) {
  if (follow.state == overlay::FollowState::kGone) return L"跟随的窗口已关闭，暂停切图";
  if (const auto why = Waiting(follow.state); !why.empty()) return std::wstring(why);
  if (follow.state != overlay::FollowState::kFollowing) return {};
  return follow.title.empty() ? std::wstring(L"跟随窗口")
                              : L"跟随“" + FitTip(follow.title, kTitleChars) + L"”";
}

std::wstring StatusLine(const StatusFacts& f) {
  if (!f.area_set) return {};
  if (f.adjusting) return L"调整选区中，暂停切图";
  // Until a new area is chosen, whatever else the state.
  if (f.follow.state == overlay::FollowState::kGone) return FollowLine(f.follow);
  if (f.paused) return L"已暂停";
  if (f.session_locked) return L"会话已锁定，暂停切图";
  if (!Waiting(f.follow.state).empty()) return FollowLine(f.follow);
  if (f.interval_seconds <= 0) return L"间隔为 0，不切图";
  if (f.last_cut) {
    switch (f.last_cut->outcome) {
      case overlay::CutOutcome::kClipboardHeld:
        // The name is left out when the holder could not be read.
        return f.last_cut->holder.empty() ? L"剪贴板被占用，上次未切"
                                          : L"剪贴板被 " + f.last_cut->holder + L" 占用，上次未切";
      case overlay::CutOutcome::kFailed: return L"屏幕未能复制，上次未切";
      case overlay::CutOutcome::kWindowMoved: return L"窗口移动中，上次未切";
      case overlay::CutOutcome::kSessionLocked:  // the session is shown again: cuts go on
      case overlay::CutOutcome::kLanded: break;
    }
  }
  return Pace(f);
}

std::wstring StatusTip(const StatusFacts& facts, std::wstring_view note) {
  std::wstring tip{kAppTitle};
  const std::wstring line = StatusLine(facts);
  if (!line.empty()) tip += L"\n" + line;
  if (!note.empty()) tip += L"\n" + std::wstring{note};
  return FitTip(tip);
}

}  // namespace pelvanto::app
