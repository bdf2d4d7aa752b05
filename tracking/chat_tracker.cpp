#include "tracking/chat_tracker.h"

#include <array>

namespace pelvanto::tracking {

namespace {

constexpr std::wstring_view kCutMark = L"等";

// The messenger's windows that are not chats; their titles clean to nothing. Compared
// exactly, in this order.
constexpr std::array<std::wstring_view, 5> kNonChatTitles = {
    L"查看高清头像",  // high-definition avatar viewer
    L"验证消息",      // verification messages
    L"系统消息",      // system messages
    L"腾讯网迷你版",  // mini news window
    L"消息管理器",    // message manager
};

constexpr std::wstring_view kChatExecutable = L"qq.exe";

constexpr wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

std::wstring CleanTitle(std::wstring_view title) {
  // Group chats show "name等n人": the part before the first mark names the chat.
  const std::wstring_view s = title.substr(0, title.find(kCutMark));
  for (std::wstring_view non_chat : kNonChatTitles)
    if (s == non_chat) return {};
  return std::wstring(s);
}

bool IsChatProcessPath(std::wstring_view path) {
  if (path.size() < kChatExecutable.size()) return false;
  // The suffix is plain ASCII, and no other character lower-cases to one of its letters,
  // so folding ASCII alone is exact even on a path with Chinese in it.
  const std::wstring_view tail = path.substr(path.size() - kChatExecutable.size());
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (AsciiLower(tail[i]) != kChatExecutable[i]) return false;
  return true;
}

void ChatTracker::OnActivate(WindowId window) {
  if (window == 0) return;
  if (IsChatProcessPath(windows_.ProcessPath(window))) chat_window_ = window;
}

void ChatTracker::Watch() {
  // No window is asked for its title before a chat window is known.
  const std::wstring title = chat_window_ == 0 ? std::wstring{} : windows_.Title(chat_window_);
  std::wstring cleaned = CleanTitle(title);
  if (cleaned == last_chat_title_) return;
  // A clipboard held by another program is not emptied: keep the old title so the next
  // tick tries again instead of taking the failure for done.
  if (!clipboard_.Empty()) return;
  last_chat_title_ = std::move(cleaned);
}

void ForegroundWatch::Poll(WindowId foreground) {
  if (foreground == last_) return;
  last_ = foreground;
  tracker_.OnActivate(foreground);
}

}  // namespace pelvanto::tracking
