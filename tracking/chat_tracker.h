#pragma once
// Recognises QQ windows by their process's executable and empties the clipboard when the
// cleaned title of the last activated one changes.

#include <string>
#include <string_view>

#include "host/clipboard.h"
#include "host/types.h"
#include "host/window_info.h"

namespace pelvanto::tracking {

// The title up to its first "等", and empty for the messenger's five non-chat windows.
std::wstring CleanTitle(std::wstring_view title);

// True when the path ends in "qq.exe", in any letter case.
bool IsChatProcessPath(std::wstring_view path);

class ChatTracker {
 public:
  ChatTracker(const WindowInfo& windows, Clipboard& clipboard)
      : windows_(windows), clipboard_(clipboard) {}

  // A window became active.
  void OnActivate(WindowId window);
  // The chat-title watch, once a second for the whole run.
  void Watch();

  WindowId ChatWindow() const { return chat_window_; }
  const std::wstring& LastChatTitle() const { return last_chat_title_; }

 private:
  const WindowInfo& windows_;
  Clipboard& clipboard_;
  WindowId chat_window_ = 0;      // last activated window of a "qq.exe" process; never cleared
  std::wstring last_chat_title_;  // cleaned title of the chat window at the last change
};

// Stands in for the shell's activation notifications where the system refuses them: hands
// each change of the foreground window to the tracker, as a notification would.
class ForegroundWatch {
 public:
  explicit ForegroundWatch(ChatTracker& tracker) : tracker_(tracker) {}
  void Poll(WindowId foreground);

 private:
  ChatTracker& tracker_;
  WindowId last_ = 0;
};

}  // namespace pelvanto::tracking
