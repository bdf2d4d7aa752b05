#pragma once
#include <windows.h>

namespace pelvanto::win32 {

// Leaves a trace of a failure the program works around: OutputDebugString (DebugView on
// Windows), and standard error when PELVANTO_TRACE is set (Wine shows it). `what` names the
// call that failed; the thread's last error goes with it.
void TraceFailure(const wchar_t* what);
// Leaves a line about a change the user is told of elsewhere (the icon's tip), the same way.
void Trace(const wchar_t* line);

}  // namespace pelvanto::win32
