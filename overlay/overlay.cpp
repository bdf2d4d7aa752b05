#include "overlay/overlay.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "app/version.h"

namespace pelvanto::overlay {

Overlay::Overlay(OverlayServices services, ScreenExtent screen, std::uint64_t random_seed)
    : services_(services),
      screen_(screen),
      metrics_(screen.dpi),
      elements_(DesignElements(metrics_)),
      random_(random_seed),
      tray_icon_(services.tray),
      loupe_metrics_(screen.dpi) {}

void Overlay::Load() {
  // A discarded instance must not claim CutFormLoaded for itself again.
  if (unloaded_) return;
  // The toolbar starts out of sight and hidden (DesignElements put it there).
  elements_.Picture1.visible = false;
  services_.pointer.Set(Pointer::Crosshair);
  // The whole primary screen in physical pixels, whatever the DPI.
  services_.window.FreezeScreen(screen_.width, screen_.height);
  services_.window.Maximise();
  state_.DrawMode = SelectMode::Draw;
  services_.window.MakeLayeredOpaque();
  services_.CutFormLoaded = true;
}

void Overlay::OnResize(bool minimised) {
  if (!minimised || unloaded_) return;
  TrayRecord record;
  record.window = services_.window.Id();
  record.icon = services_.window.IconHandle();
  record.id = static_cast<unsigned>(record.icon);
  record.tip = app::VersionTip(app::kAppTitle, app::kVersionMajor, app::kVersionMinor,
                               app::kVersionPatch);
  tray_icon_.Add(record);
  in_tray_ = true;
  loupe_.visible = false;
  services_.window.Hide();
}

void Overlay::OnTaskbarCreated() {
  if (!unloaded_) tray_icon_.Readd();
}

void Overlay::Unload() {
  if (unloaded_) return;
  // Form QueryUnload: on every unload, also when no icon was ever added.
  tray_icon_.Delete();
  // Form Unload.
  unloaded_ = true;
  services_.CutFormLoaded = false;
  services_.MainTimer1.SetEnabled(false);
  services_.Timer1.SetEnabled(false);
  services_.window.Close();
}

void Overlay::HideHandles() {
  for (auto& handle : elements_.Image1) handle.visible = false;
}

std::wstring SizeText(float width, float height) {
  // Shortest decimal text that reads back as the same float, never in exponent form
  // ("%g" would write 500 as "5e+02").
  auto shortest = [](float v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
    return std::wstring(buffer, result.ec == std::errc{} ? result.ptr : buffer);
  };
  return shortest(width) + L"x" + shortest(height);
}

std::wstring ColourText(std::uint32_t colour) {
  return L"RGB(" + std::to_wstring(colour & 0xFF) + L"," + std::to_wstring((colour >> 8) & 0xFF) +
         L"," + std::to_wstring((colour >> 16) & 0xFF) + L")";
}

}  // namespace pelvanto::overlay
