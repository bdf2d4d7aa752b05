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

void TrayIcon::ChangeIcon(std::uintptr_t icon) {
  record_.icon = icon;
  if (shown_) area_.Modify(record_);
}

void TrayIcon::ChangeTip(std::wstring tip) {
  if (tip == record_.tip) return;
  record_.tip = std::move(tip);
  if (shown_) area_.Modify(record_);
}

std::wstring FitTip(std::wstring_view text, std::size_t units) {
  if (text.size() <= units) return std::wstring{text};
  if (units == 0) return {};
  std::size_t keep = units - 1;  // room for the ellipsis
  // A high surrogate as the last kept unit would lose its low half.
  if (keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  std::wstring fitted{text.substr(0, keep)};
  fitted += L'\u2026';
  return fitted;
}

std::wstring VersionTip(std::wstring_view title, int major, int minor, int revision) {
  std::wstring tip{title};
  tip += L"(版本 ";
  tip += std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
  tip += L")";
  return tip;
}

}  // namespace pelvanto
