#pragma once
// The main window: its controls at their places, its timers, and the single overlay.

#include <windows.h>

#include <memory>
#include <vector>

#include "app/capture_control.h"
#include "platform/win32/base/owners.h"
#include "platform/win32/base/message_pump.h"
#include "platform/win32/overlay/overlay_host.h"
#include "platform/win32/system/hotkeys.h"
#include "platform/win32/system/pointer.h"
#include "platform/win32/system/program_services.h"
#include "platform/win32/system/shell_messages.h"
#include "platform/win32/text/tooltips.h"
#include "platform/win32/system/tray_menu.h"
#include "platform/win32/base/window.h"
#include "platform/win32/base/window_timer.h"
#include "host/window_info.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::win32 {

class MainWindow final : public Window<MainWindow>,
                         public app::MainView,
                         private overlay::AreaEvents {
 public:
  explicit MainWindow(ProgramServices services);
  ~MainWindow() override;

  static bool Register(HINSTANCE instance);
  // The window class, by which a second start finds the running instance's window.
  static const wchar_t* ClassName();
  // Creates the window and its controls, opens its logic, and shows it centred.
  bool Create();

  // app::MainView
  void SetCaptureCaption(std::wstring_view caption) override;
  void SetIntervalText(std::wstring_view text) override;
  void Hide() override;
  void ShowNoActivate() override;
  void Show() override;
  TrayRecord OwnTrayRecord() const override;
  void EndProgram() override;

  const tracking::ChatTracker& chat_tracker() const { return tracker_; }

 private:
  friend Window<MainWindow>;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  // The window base's hooks.
  void OnDpiChanged(const RECT& suggested) noexcept;
  void OnMinimised() noexcept;
  void OnRestored() noexcept;
  // Handlers of one message each.
  void OnTimer(UINT_PTR id);
  void OnTrayCallback(WPARAM wparam, LPARAM lparam);
  void OnMenuCommand(WPARAM id);
  void OnSessionChange(WPARAM change);
  bool OnRegisteredMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // overlay::AreaEvents: to the logic.
  void OnCut(const overlay::CutReport& report) override;
  void OnAreaSet() override;
  void OnFollowChanged(const overlay::FollowFacts& facts) override;
  void CreateControls();
  void ApplyDpi();
  void OnCommand(int id, int code);
  // A second start asks for the window; the answer says whether it came.
  LRESULT OnSecondStart();
  void OnEndSession(bool ending);
  void DrawButton(const DRAWITEMSTRUCT& item) const;
  LRESULT ColourStatic(HDC dc, HWND control) const;

  ProgramServices services_;
  HWND outer_frame_ = nullptr, capture_button_ = nullptr, interval_box_ = nullptr;
  HWND interval_label_ = nullptr, exit_button_ = nullptr, help_frame_ = nullptr;
  HWND help_caption_ = nullptr, help_text_ = nullptr;
  Tooltips tooltips_;
  OwnedFont button_font_, combo_font_, label_font_, frame_font_, text_font_;
  OwnedIcon big_icon_, small_icon_;
  std::unique_ptr<WindowTimer> auto_cut_timer_, title_watch_timer_, pointer_reset_timer_;
  tracking::ChatTracker tracker_;
  std::unique_ptr<ShellMessages> shell_messages_;
  std::unique_ptr<SystemHotkeys> hotkeys_;
  std::unique_ptr<app::CaptureControl> logic_;
  std::unique_ptr<OverlayHost> overlay_;
  TrayMenu tray_menu_;
  bool ended_ = false;
  std::wstring follow_line_;  // what the tip last said of the followed window
};

}  // namespace pelvanto::win32
