#include "core/tray_icon.h"

namespace pelvanto {

void TrayIcon::Add(TrayRecord record) {
  record_ = std::move(record);
  // Shown even when the shell refused it: a recreated taskbar gets a second chance.
  area_.Add(record_);
  shown_ = true;
}

void TrayIcon::Delete() {
  area_.Delete(record_);
  shown_ = false;
}

void TrayIcon::Readd() {
  if (shown_) area_.Add(record_);
}

std::wstring VersionTip(std::wstring_view title, int major, int minor, int revision) {
  std::wstring tip{title};
  tip += L"(版本 ";
  tip += std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
  tip += L")";
  return tip;
}

}  // namespace pelvanto
