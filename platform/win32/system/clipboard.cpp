#include "platform/win32/system/clipboard.h"

#include "platform/win32/system/window_queries.h"

namespace pelvanto::win32 {

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ClipboardHolderName() {
  const HWND holder = ::GetOpenClipboardWindow();
  if (!holder) return {};
  DWORD process_id = 0;
  if (::GetWindowThreadProcessId(holder, &process_id) == 0) return {};
  // Limited rights: an elevated holder still gives its image name. The name keeps its case.
  return FileNameOf(SystemWindowQueries::ImagePath(process_id));
}

}  // namespace pelvanto::win32
