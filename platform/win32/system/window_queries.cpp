#include "platform/win32/system/window_queries.h"

#include <psapi.h>

#include <array>

#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

namespace {

// Long-path-aware systems allow paths of up to 32767 characters.
constexpr DWORD kMaxPathChars = 32768;

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

}  // namespace

std::wstring SystemWindowQueries::ProcessPath(WindowId window) const {
  DWORD process_id = 0;
  if (::GetWindowThreadProcessId(ToHwnd(window), &process_id) == 0) return {};
  std::wstring path = first_way_ ? first_way_(process_id) : std::wstring{};
  if (path.empty()) path = ImagePath(process_id);
  // A Unicode lower-casing, so a path with Chinese in it keeps every character.
  if (!path.empty()) ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  return path;
}

std::wstring SystemWindowQueries::ModulePath(DWORD process_id) {
  // Reading the modules needs memory-read rights, which an elevated or protected process
  // refuses to a normal one; and a process that is still starting has no module list yet.
  const OwnedHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id));
  if (!process) return {};
  // Only a success test: a process whose modules cannot be listed is not looked at further.
  std::array<HMODULE, 200> modules{};
  DWORD needed = 0;
  if (!::EnumProcessModules(process.get(), modules.data(), static_cast<DWORD>(sizeof(modules)),
                            &needed))
    return {};

  // The call truncates silently, so a path that fills the buffer may be longer: grow and retry.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const auto size = static_cast<DWORD>(path.size());
    const DWORD length = ::GetModuleFileNameExW(process.get(), nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size - 1 || size >= kMaxPathChars) {
      path.resize(length);
      return path;
    }
    path.resize(static_cast<std::size_t>(size) * 2);
  }
}

std::wstring SystemWindowQueries::ImagePath(DWORD process_id) {
  // Limited rights are granted for elevated and protected processes too.
  const OwnedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return {};
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    auto length = static_cast<DWORD>(path.size());
    if (::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) {
      path.resize(length);
      return path;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= kMaxPathChars) return {};
    path.resize(path.size() * 2);
  }
}

std::wstring SystemWindowQueries::Title(WindowId window) const { return WindowTitle(window); }

std::wstring WindowTitle(WindowId window) {
  if (window == 0) return {};
  const HWND hwnd = ToHwnd(window);
  int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  // The length may be stale by the time the text is read; a read that fills the buffer may
  // have been cut short, so read again with more room.
  std::wstring title;
  for (int attempt = 0; attempt < 4; ++attempt) {
    title.assign(static_cast<std::size_t>(length) + 2, L'\0');
    const int copied = ::GetWindowTextW(hwnd, title.data(), static_cast<int>(title.size()));
    if (copied <= 0) return {};
    title.resize(static_cast<std::size_t>(copied));
    if (copied < length + 1) break;
    length *= 2;
  }
  return title;
}

}  // namespace pelvanto::win32
