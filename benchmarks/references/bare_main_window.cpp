// bare_main_window.exe: the floor for the working set of the main window alone, idle.
// A window titled "bare main", as large as the program's, with the same children made the same
// way: a group box, two owner-drawn buttons, a drop-down combo box with its tooltip (common
// controls 6, from the same manifest), a label, a second group box with a caption label and a
// read-only multi-line edit, in the same faces and sizes (宋体 and 楷体, GB2312), and the
// program's icon, showing the program's own texts. Nothing else: no tray icon, no timers, no
// hooks, no threads.
// Each part can be left out, to see what it costs ("bare_main_window.exe no-fonts no-icons"):
//   no-controls  no child windows (nor fonts, nor tooltip)
//   no-fonts     the children keep the system font
//   no-tooltip   no tooltip window (common controls are still loaded)
//   no-icons     no window icons
//   measure      the fonts' faces are tried as the program chooses them: every installed GB2312
//                face enumerated, each one made and its glyphs looked up
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

// The program's texts (constants only), so the same glyphs are drawn.
#include "platform/win32/text/main_window_texts.h"

namespace {

using pelvanto::win32::kExitCaption;
using pelvanto::win32::kHelpCaptionText;
using pelvanto::win32::kHelpTextContent;
using pelvanto::win32::kIntervalLabelText;
using pelvanto::win32::kIntervalTip;

struct Parts {
  bool controls = true;
  bool fonts = true;
  bool tooltip = true;
  bool icons = true;
  bool measure = false;
};

Parts g_parts;
HFONT g_fonts[5] = {};

bool Has(const wchar_t* command_line, const wchar_t* word) {
  return std::wcsstr(command_line, word) != nullptr;
}

HFONT MakeFont(const wchar_t* face, int height, int weight) {
  return ::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@')
    reinterpret_cast<std::vector<std::wstring>*>(faces)->emplace_back(font->lfFaceName);
  return 1;
}

// What the program does once per font when it chooses a face by the glyphs it has.
void MeasureFaces() {
  HDC dc = ::GetDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = GB2312_CHARSET;
  std::vector<std::wstring> faces;
  ::EnumFontFamiliesExW(dc, &wanted, NoteFace, reinterpret_cast<LPARAM>(&faces), 0);
  const wchar_t* text = kHelpTextContent;
  std::vector<WORD> glyphs(std::wcslen(text));
  for (int use = 0; use < 5; ++use)
    for (const std::wstring& face : faces) {
      HFONT font = MakeFont(face.c_str(), 16, FW_NORMAL);
      HGDIOBJ old = ::SelectObject(dc, font);
      ::GetGlyphIndicesW(dc, text, static_cast<int>(std::wcslen(text)), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
      ::SelectObject(dc, old);
      ::DeleteObject(font);
    }
  ::ReleaseDC(nullptr, dc);
}

void DrawButton(const DRAWITEMSTRUCT& item) {
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(item.hDC, const_cast<RECT*>(&item.rcItem), EDGE_RAISED, BF_RECT);
  wchar_t text[32];
  ::GetWindowTextW(item.hwndItem, text, 32);
  ::SetBkMode(item.hDC, TRANSPARENT);
  RECT r = item.rcItem;
  ::DrawTextW(item.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void MakeChildren(HWND window, HINSTANCE instance) {
  auto make = [&](DWORD ex, const wchar_t* cls, const wchar_t* text, DWORD style, RECT r) {
    HWND child = ::CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right, r.bottom, window, nullptr, instance, nullptr);
    return child;
  };
  HWND outer = make(0, WC_BUTTONW, L"", BS_GROUPBOX, {0, 0, 593, 353});
  HWND capture = make(0, WC_BUTTONW, L"切图开始", BS_OWNERDRAW | WS_TABSTOP, {8, 16, 84, 30});
  HWND box = make(0, WC_COMBOBOXW, L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                  {192, 20, 49, 200});
  HWND label = make(0, WC_STATICW, kIntervalLabelText, SS_LEFT | SS_NOPREFIX, {110, 25, 84, 12});
  HWND exit = make(0, WC_BUTTONW, kExitCaption, BS_OWNERDRAW | WS_TABSTOP, {496, 16, 84, 30});
  make(0, WC_BUTTONW, L"", BS_GROUPBOX, {8, 56, 577, 289});
  HWND caption = make(0, WC_STATICW, kHelpCaptionText, SS_LEFT | SS_NOPREFIX, {16, 50, 60, 20});
  HWND text = make(WS_EX_CLIENTEDGE, WC_EDITW, kHelpTextContent,
                   ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                   {16, 88, 561, 249});
  for (int seconds = 1; seconds <= 10; ++seconds)
    ::SendMessageW(box, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(std::to_wstring(seconds).c_str()));
  ::SetWindowTextW(box, L"2");

  if (g_parts.tooltip) {
    HWND tip =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ::GetComboBoxInfo(box, &info);
    for (HWND part : {box, info.hwndItem}) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = window;
      tool.uId = reinterpret_cast<UINT_PTR>(part);
      tool.lpszText = const_cast<wchar_t*>(kIntervalTip);
      ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (g_parts.fonts) {
      g_fonts[4] = MakeFont(L"宋体", 12, FW_NORMAL);
      ::SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(g_fonts[4]), FALSE);
    }
  }
  if (!g_parts.fonts) return;
  if (g_parts.measure) MeasureFaces();
  g_fonts[0] = MakeFont(L"宋体", 16, FW_NORMAL);
  g_fonts[1] = MakeFont(L"宋体", 14, FW_NORMAL);
  g_fonts[2] = MakeFont(L"宋体", 12, FW_NORMAL);
  g_fonts[3] = MakeFont(L"楷体", 19, FW_BOLD);
  auto font = [](HWND child, HFONT f) {
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  };
  font(capture, g_fonts[0]);
  font(exit, g_fonts[0]);
  font(box, g_fonts[1]);
  font(label, g_fonts[2]);
  font(outer, g_fonts[2]);
  font(caption, g_fonts[3]);
  font(text, g_fonts[1]);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DRAWITEM: DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  g_parts.controls = !Has(command_line, L"no-controls");
  g_parts.fonts = g_parts.controls && !Has(command_line, L"no-fonts");
  g_parts.tooltip = g_parts.controls && !Has(command_line, L"no-tooltip");
  g_parts.icons = !Has(command_line, L"no-icons");
  g_parts.measure = Has(command_line, L"measure");
  ::SetProcessDPIAware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  if (g_parts.controls) ::InitCommonControlsEx(&controls);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"BareMainWindow";
  if (g_parts.icons) {
    wc.hIcon = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
  }
  if (!::RegisterClassExW(&wc)) return 1;
  RECT outer{0, 0, 595, 354};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  ::AdjustWindowRect(&outer, style, FALSE);
  HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"bare main", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  if (g_parts.controls) MakeChildren(window, instance);
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  for (HFONT f : g_fonts)
    if (f) ::DeleteObject(f);
  return static_cast<int>(msg.wParam);
}
