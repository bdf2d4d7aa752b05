#pragma once
// The followed window as the window manager records it, and the system's word when it moves.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "host/window_watch.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

class SystemWindowWatch final : public WindowWatch {
 public:
  // `moved` runs on this thread, from the message loop, when the listened-to window or one of
  // its controls changed place or size.
  explicit SystemWindowWatch(std::function<void()> moved);
  ~SystemWindowWatch() override;
  SystemWindowWatch(const SystemWindowWatch&) = delete;
  SystemWindowWatch& operator=(const SystemWindowWatch&) = delete;

  WindowLook Look(WindowId window) const override;
  std::wstring Title(WindowId window) const override;
  std::uint32_t OwnProcess() const override { return ::GetCurrentProcessId(); }
  std::vector<WindowPlace> TopLevelWindows() const override;
  void Listen(WindowId window) override;

  // The system's reports that arrived, for tests and figures.
  int Reports() const { return reports_; }
  bool Hooked() const { return static_cast<bool>(hook_); }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                               LONG child, DWORD thread, DWORD time) noexcept;

  std::function<void()> moved_;
  HWND listened_ = nullptr;
  OwnedWinEventHook hook_;
  int reports_ = 0;
};

}  // namespace pelvanto::win32
