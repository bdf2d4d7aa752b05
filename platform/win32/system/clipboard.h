#pragma once
// Who holds the clipboard open, so the status can name the program that cost a cut.

#include <windows.h>

#include <string>

namespace pelvanto::win32 {

// The file name of the executable whose window has the clipboard open ("notepad.exe");
// empty when nobody holds it, it was opened without a window, or the process cannot be read.
std::wstring ClipboardHolderName();

// The file name part of a path: what follows the last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);

}  // namespace pelvanto::win32
