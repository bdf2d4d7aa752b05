#pragma once
// One trace line for a failure the program works around, for DebugView or standard error.

#include <windows.h>

#include <string_view>

namespace pelvanto::win32 {

// Leaves a trace of a failure the program works around: OutputDebugString (DebugView on
// Windows), and standard error when PELVANTO_TRACE is set (Wine shows it). `what` names the
// call that failed; the thread's last error goes with it.
void TraceFailure(const wchar_t* what);
// Leaves one line of its own, the same two ways: a limit the program reached, or a change the
// user is told of elsewhere (the icon's tip).
void TraceLine(std::wstring_view line);

}  // namespace pelvanto::win32
