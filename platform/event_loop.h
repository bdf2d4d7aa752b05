#pragma once

namespace pelvanto {

// The user-interface thread's own loop, for the places that wait or let events run.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Runs the events that are waiting (paints included), then returns.
  virtual void ProcessPendingEvents() = 0;
  // Blocks the thread.
  virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace pelvanto
