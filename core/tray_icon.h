#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "host/tray.h"

namespace pelvanto {

// A window's own icon in the tray: the record it was added with, kept so the
// same icon can be deleted later and added again when the taskbar is recreated.
class TrayIcon {
 public:
  explicit TrayIcon(Tray& area) : area_(area) {}

  // Adds the icon with this record, kept for later. The shell's answer is not acted on: the
  // caller hides its window all the same.
  void Add(TrayRecord record);
  // Deletes the icon named by the record; harmless when none was added.
  void Delete();
  // The taskbar was recreated: add the icon again if it is shown.
  void Readd();
  // The window's icon was replaced (a DPI change): the record takes the new one, and a shown
  // icon changes in place. The old handle may be destroyed after this.
  void ChangeIcon(std::uintptr_t icon);
  // A new tip; a shown icon changes in place, and only when the text is new.
  void ChangeTip(std::wstring tip);

  bool Shown() const { return shown_; }

 private:
  Tray& area_;
  TrayRecord record_;
  bool shown_ = false;  // added and not deleted since
};

// The icons' ids: fixed, so Windows knows them again from run to run (and keeps the user's
// choice to always show them).
inline constexpr unsigned kMainTrayId = 1;
inline constexpr unsigned kOverlayTrayId = 2;

// The main window's tip.
inline constexpr std::wstring_view kAppTitle = L"Pelvanto";

// The most UTF-16 units a tip holds (the shell's 128, less the terminating zero).
inline constexpr std::size_t kTipUnits = 127;

// The text cut to at most `units` UTF-16 units, never between the two halves of a surrogate
// pair; a cut text ends in "…".
std::wstring FitTip(std::wstring_view text, std::size_t units = kTipUnits);

// The overlay's tip: the title, then the version in brackets, e.g. "Pelvanto(版本 3.2.105)".
std::wstring VersionTip(std::wstring_view title, int major, int minor, int revision);

}  // namespace pelvanto
