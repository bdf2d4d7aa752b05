#pragma once
// The main window: its controls at their places, its timers, and the single overlay.

#include <windows.h>

#include <memory>
#include <vector>

#include "app/main_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/overlay_form.h"
#include "platform/win32/pointer.h"
#include "platform/win32/program_services.h"
#include "platform/win32/shell_hook.h"
#include "platform/win32/window_timer.h"
#include "host/window_info.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::win32 {

class MainForm final : public app::MainWindowView {
 public:
  explicit MainForm(ProgramServices services);
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  static bool Register(HINSTANCE instance);
  // Creates the window and its controls, runs its load, and shows it centred.
  bool Create();

  // app::MainWindowView
  void SetCaptureCaption(std::wstring_view caption) override;
  void SetIntervalText(std::wstring_view text) override;
  void Hide() override;
  void ShowNoActivate() override;
  void Show() override;
  TrayRecord OwnTrayRecord() const override;
  void EndProgram() override;

  HWND hwnd() const { return hwnd_; }
  const tracking::ChatTracker& chat_tracker() const { return tracker_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam,
                                  LPARAM lparam) noexcept;
  // Everything the window does with a message besides the shell hook.
  LRESULT OwnHandling(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void ApplyDpi();
  void OnCommand(int id, int code);
  void DrawButton(const DRAWITEMSTRUCT& item) const;
  LRESULT ColourStatic(HDC dc, HWND control) const;

  ProgramServices services_;
  HWND hwnd_ = nullptr;
  unsigned dpi_ = 96;
  HWND outer_frame_ = nullptr, capture_button_ = nullptr, interval_box_ = nullptr;
  HWND interval_label_ = nullptr, exit_button_ = nullptr, help_frame_ = nullptr;
  HWND help_caption_ = nullptr, help_text_ = nullptr;
  HWND tooltip_ = nullptr;
  OwnedFont button_font_, combo_font_, label_font_, frame_font_, text_font_;
  OwnedIcon big_icon_, small_icon_;
  std::unique_ptr<WindowTimer> auto_cut_timer_, title_watch_timer_, pointer_reset_timer_,
      tray_icon_timer_;
  tracking::ChatTracker tracker_;
  std::unique_ptr<ShellHook> shell_hook_;
  std::unique_ptr<app::MainWindow> logic_;
  bool overlay_open_ = false;  // true while an overlay is loaded
  std::unique_ptr<OverlayHost> overlay_;
  bool ended_ = false;
};

}  // namespace pelvanto::win32
