#pragma once
// The system clipboard as the cut puts pictures on it, and who holds it open, so the status
// can name the program that cost a cut.

#include <windows.h>

#include <memory>
#include <string>

#include "host/clipboard.h"

namespace pelvanto::win32 {

// The file name of the executable whose window has the clipboard open ("notepad.exe");
// empty when nobody holds it, it was opened without a window, or the process cannot be read.
std::wstring ClipboardHolderName();

// The file name part of a path: what follows the last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);

// The clipboard, opened on behalf of the desktop window. Pictures are kept out of the
// clipboard history and the cloud clipboard.
class SystemClipboard final : public Clipboard {
 public:
  ClipboardPut PutPicture(std::unique_ptr<Picture> picture) override;
  bool Empty() override;
};

}  // namespace pelvanto::win32
