#include "platform/win32/system/clipboard.h"

#include "platform/win32/base/owners.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/window_queries.h"

namespace pelvanto::win32 {

namespace {

// Another program may hold the clipboard for a moment (clipboard managers, remote desktop):
// try for about 50 ms, then give this cut up; the next tick tries again.
constexpr int kOpenAttempts = 6;
constexpr DWORD kOpenRetryMs = 10;

// The clipboard, open for as long as this lives.
class OpenClipboardSession {
 public:
  OpenClipboardSession() {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
      if (attempt > 0) ::Sleep(kOpenRetryMs);
      // Emptying gives the ownership to the desktop window, which outlives the overlay.
      if (::OpenClipboard(::GetDesktopWindow())) {
        open_ = true;
        return;
      }
    }
  }
  ~OpenClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardSession(const OpenClipboardSession&) = delete;
  OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

// A DWORD 0 in movable global memory: the value that tells Windows to leave the clipboard
// content out of its history and off the cloud clipboard.
OwnedGlobal ZeroDword() {
  OwnedGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD)));
  if (!memory) return memory;
  {
    const GlobalLockScope lock(memory.get());
    if (!lock.data()) return OwnedGlobal{};
    *static_cast<DWORD*>(lock.data()) = 0;
  }
  return memory;
}

struct PrivacyFormat {
  UINT format;
  OwnedGlobal value;
};

}  // namespace

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

ClipboardPut SystemClipboard::PutPicture(std::unique_ptr<Picture> picture) {
  const ClipboardPut kRefused{ClipboardPut::Outcome::kRefused, {}};
  // Anything but a picture of ours cannot go on the clipboard; it is freed on return.
  auto* dib = dynamic_cast<DibPicture*>(picture.get());
  if (!dib || !dib->get()) return kRefused;

  // Made before the clipboard opens, so it stays open as briefly as possible.
  PrivacyFormat privacy[] = {
      {::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"), ZeroDword()},
      {::RegisterClipboardFormatW(L"CanUploadToCloudClipboard"), ZeroDword()},
  };

  {
    OpenClipboardSession clipboard;
    if (!clipboard) {
      TraceFailure(L"OpenClipboard");
      // Asked at once, while the holder still has it open.
      return {ClipboardPut::Outcome::kHeld, ClipboardHolderName()};
    }
    if (!::EmptyClipboard()) {
      TraceFailure(L"EmptyClipboard");
      return kRefused;
    }
    if (!::SetClipboardData(CF_DIB, dib->get())) {
      TraceFailure(L"SetClipboardData");
      return kRefused;
    }
    dib->Release();  // the clipboard owns it now
    for (auto& [format, value] : privacy) {
      // Without them the picture still works; it may only show up in the history.
      if (format != 0 && value && ::SetClipboardData(format, value.get())) value.release();
    }
  }
  // Under Wine the clipboard holds its own copy of the picture, and this process keeps the one
  // it handed over until it next opens the clipboard (then it is freed, the desktop window
  // being the owner): opening it once more lets that picture-sized copy go now, not at the
  // next cut. It changes nothing on the clipboard; when it cannot open, the copy goes later.
  if (::OpenClipboard(::GetDesktopWindow())) ::CloseClipboard();
  return {ClipboardPut::Outcome::kPlaced, {}};
}

bool SystemClipboard::Empty() {
  OpenClipboardSession clipboard;
  if (clipboard && ::EmptyClipboard()) return true;
  TraceFailure(L"emptying the clipboard");
  return false;
}

}  // namespace pelvanto::win32
