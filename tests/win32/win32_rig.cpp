#include "win32_rig.h"

#include <algorithm>
#include <cwchar>
#include <map>

#include "platform/win32/overlay/overlay_host.h"

namespace pelvanto::win32::testing {

bool RecordingTray::Add(const TrayRecord& record) {
  if (Find(record.id) == nullptr) icons.push_back(record);
  return true;
}

void RecordingTray::Delete(const TrayRecord& record) {
  std::erase_if(
      icons, [&](const TrayRecord& r) { return r.window == record.window && r.id == record.id; });
}

void RecordingTray::Modify(const TrayRecord& record) {
  for (TrayRecord& r : icons)
    if (r.window == record.window && r.id == record.id) r = record;
}

const TrayRecord* RecordingTray::Find(unsigned id) const {
  const auto it = std::ranges::find(icons, id, &TrayRecord::id);
  return it == icons.end() ? nullptr : &*it;
}

ProgramRig::ProgramRig() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // Registered once for the whole test program; a second registration fails harmlessly.
  MainWindow::Register(instance);
  OverlayHost::Register(instance);
  main = std::make_unique<MainWindow>(services());
  if (!main->Create()) main.reset();
}

ProgramRig::~ProgramRig() {
  main.reset();
  PumpFor(50);
}

ProgramServices ProgramRig::services() {
  return {
      ::GetModuleHandleW(nullptr), pointer, pump, clock, screen, clipboard, tray, windows, session};
}

namespace {

std::wstring HelperPath(const wchar_t* name) {
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size())));
  // The tests sit in <build>\win32-tests, the stand-ins in <build>\e2e-helpers.
  const std::wstring build = exe.substr(0, exe.rfind(L'\\', exe.rfind(L'\\') - 1));
  return build + L"\\e2e-helpers\\" + name;
}

struct WindowSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK NoteWindowOf(HWND window, LPARAM search_ptr) {
  auto* search = reinterpret_cast<WindowSearch*>(search_ptr);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HelperProcess::HelperProcess(const wchar_t* name, const std::wstring& arguments) {
  const std::wstring exe = HelperPath(name);
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return;
  ::CloseHandle(info.hThread);
  process_.Reset(info.hProcess);
  WindowSearch search{info.dwProcessId, nullptr};
  const ULONGLONG deadline = ::GetTickCount64() + 120000;
  while (!search.found && ::GetTickCount64() < deadline) {
    PumpFor(50);
    ::EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&search));
  }
  window_ = search.found;
}

HelperProcess::~HelperProcess() {
  if (!process_) return;
  ::TerminateProcess(process_.get(), 0);
  ::WaitForSingleObject(process_.get(), 5000);
}

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

OwnedWindow PlainWindow(const RECT& r, COLORREF colour, DWORD ex_style) {
  // A window class per colour, its brush kept for the whole test program.
  static std::map<COLORREF, OwnedBrush> brushes;
  wchar_t name[32] = {};
  std::swprintf(name, 32, L"PelvantoPlain%06lX", static_cast<unsigned long>(colour));
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (OwnedBrush& brush = brushes[colour]; !brush) {
    brush.Reset(::CreateSolidBrush(colour));
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = ::DefWindowProcW;
    window_class.hInstance = instance;
    window_class.hbrBackground = brush.get();
    window_class.lpszClassName = name;
    ::RegisterClassW(&window_class);
  }
  return OwnedWindow(
      ::CreateWindowExW(ex_style, name, L"", WS_POPUP, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, instance, nullptr),
      &::DestroyWindow);
}

void PumpFor(unsigned milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  MSG msg;
  do {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  } while (::GetTickCount64() < end);
}

int IconWidth(std::uintptr_t icon) {
  ICONINFO info{};
  if (!::GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  const OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
  BITMAP bitmap{};
  if (!::GetObjectW(mask.get(), sizeof bitmap, &bitmap)) return 0;
  return bitmap.bmWidth;
}

bool IconAlive(std::uintptr_t icon) { return IconWidth(icon) > 0; }

int FrameEdgesShown() {
  int shown = 0;
  for (HWND w = ::FindWindowExW(nullptr, nullptr, L"PelvantoAreaFrame", nullptr); w;
       w = ::FindWindowExW(nullptr, w, L"PelvantoAreaFrame", nullptr))
    shown += ::IsWindowVisible(w) ? 1 : 0;
  return shown;
}

}  // namespace pelvanto::win32::testing
