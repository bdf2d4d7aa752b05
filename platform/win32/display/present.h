#pragma once
// Putting what a window has drawn on the screen now, not when its thread next waits.

namespace pelvanto::win32 {

// Under Wine a window draws into a surface that reaches the screen when its thread next looks
// at its message queue. Looking at the queue, without waiting and for no kind of message,
// shows what is drawn so far and does nothing else; on Windows, which shows a window's drawing
// by itself, it does nothing at all.
void ShowDrawingNow();

}  // namespace pelvanto::win32
