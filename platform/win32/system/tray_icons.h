#pragma once
// The program's icons in the tray, through Shell_NotifyIcon, and how their callbacks read.

#include <windows.h>

#include "host/tray.h"

namespace pelvanto::win32 {

// Icons call back with kTrayCallback (messages.h).

// One callback of an icon, read the same way whichever version the shell speaks.
struct TrayEvent {
  UINT message = 0;         // WM_LBUTTONDBLCLK, WM_CONTEXTMENU, WM_RBUTTONUP, ...
  UINT icon = 0;            // the icon's id
  POINT anchor{};           // screen pixels: where the menu opens
  bool has_anchor = false;  // version 4: the shell gave the id and the place
};
TrayEvent ReadTrayCallback(WPARAM wparam, LPARAM lparam);
// Whether the event asks for the icons' menu (a right click, the menu key, Shift+F10).
bool OpensMenu(const TrayEvent& event);

// Wine without a tray of the desktop's own shows the icons in a window of its own, which a
// full-screen window shown after it covers: a click on the covering window where that window's
// icon lies beneath is meant for the icon. Passes a right button press or release at `screen`
// on to the icon there; false when no such icon is there.
bool PassToTrayIcon(UINT message, POINT screen);

class TrayIcons final : public Tray {
 public:
  bool Add(const TrayRecord& record) override;
  void Delete(const TrayRecord& record) override;
  void Modify(const TrayRecord& record) override;
};

}  // namespace pelvanto::win32
