// The auto-cut as the tray shows it: the icons' menu, the frame around the
// watched area, the program named as the clipboard's holder.
#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/tray_icon.h"
#include "overlay/elements.h"
#include "platform/win32/overlay/area_frame.h"
#include "platform/win32/system/clipboard.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/display/screen_capture.h"
#include "platform/win32/system/tray_menu.h"
#include "win32_rig.h"

namespace pelvanto::win32::testing {
namespace {

struct Item {
  UINT id;  // 0 for a separator
  std::wstring text;
  UINT state;  // MFS_GRAYED, MFS_CHECKED, MFS_DEFAULT
};

std::vector<Item> Items(HMENU menu) {
  std::vector<Item> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 64;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    // Greyed reads MF_GRAYED or MFS_GRAYED (with MF_DISABLED), whichever the system keeps.
    const UINT greyed = (info.fState & MFS_GRAYED) ? MFS_GRAYED : 0;
    items.push_back(
        {separator ? 0 : info.wID, text, greyed | (info.fState & (MFS_CHECKED | MFS_DEFAULT))});
  }
  return items;
}

TEST(TrayMenu, ItemsInOrderWithTheirStatesAndTheDefaultBold) {
  struct Case {
    const char* name;
    app::SteeringState state;
    std::vector<Item> items;
  };
  constexpr UINT G = MFS_GRAYED, C = MFS_CHECKED, D = MFS_DEFAULT;
  const Item kSeparator{0, L"", 0};
  const Case cases[] = {
      {"paused and locked",
       {true, true, true, false, true, true},
       std::vector<Item>{Item{1, L"显示主窗口", D}, kSeparator, Item{2, L"立即切图", G},
                         Item{4, L"继续切图", 0}, Item{5, L"调整选区", G}, kSeparator,
                         Item{10, L"跟随窗口", G}, Item{6, L"显示选区边框", C}, kSeparator,
                         Item{7, L"切图结束", 0}, Item{8, L"关闭退出", 0}}},
  };
  for (const Case& c : cases) {
    const OwnedMenu menu = BuildMenu(app::MenuFor(c.state));
    ASSERT_TRUE(menu) << c.name;
    const std::vector<Item> items = Items(menu.get());
    ASSERT_EQ(items.size(), c.items.size()) << c.name;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].id, c.items[i].id) << c.name << " " << i;
      if (c.items[i].id == 0) continue;
      EXPECT_EQ(items[i].text, c.items[i].text) << c.name << " " << i;
      EXPECT_EQ(items[i].state, c.items[i].state) << c.name << " " << i;
    }
  }
  EXPECT_FALSE(CommandOf(0));  // nothing chosen
  EXPECT_EQ(CommandOf(9), app::MenuCommand::kStartCapture);
  EXPECT_EQ(CommandOf(10), app::MenuCommand::kToggleFollow);
  EXPECT_FALSE(CommandOf(11));
}

// The colours of a picture of the screen, 0x00RRGGBB.
std::vector<std::uint32_t> PixelsOf(Picture& picture) {
  // A packed DIB: its header, then 24-bit rows bottom-up, each padded to four bytes.
  auto& dib = dynamic_cast<DibPicture&>(picture);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib.get()));
  const std::size_t width = static_cast<std::size_t>(picture.Width());
  const std::size_t height = static_cast<std::size_t>(picture.Height());
  std::vector<std::uint32_t> pixels(width * height);
  if (!header) return pixels;
  const auto* rows = reinterpret_cast<const std::uint8_t*>(header) + header->biSize;
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = rows + (height - 1 - y) * stride;
    for (std::size_t x = 0; x < width; ++x)
      pixels[y * width + x] = std::uint32_t{row[3 * x]} | std::uint32_t{row[3 * x + 1]} << 8 |
                              std::uint32_t{row[3 * x + 2]} << 16;
  }
  ::GlobalUnlock(dib.get());
  return pixels;
}

int FramePixelsIn(Picture& picture) {
  const std::uint32_t blue = 0x00007AEC;  // RGB(0, 122, 236) as 0x00RRGGBB
  int found = 0;
  for (std::uint32_t p : PixelsOf(picture)) found += p == blue;
  return found;
}

TEST(AreaFrame, ThinClickThroughEdgesAroundTheLargestCutSoNeverInAPicture) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  AreaFrame::Register(instance);
  AreaFrame frame(instance);
  const RectI area{100, 120, 400, 320};
  frame.Show(area, app::FrameStyle::kSolid);
  PumpFor(100);
  // Top and left just outside the area, right and bottom just outside its largest margin.
  const RECT expected[] = {
      {98, 118, 431, 120}, {98, 349, 431, 351}, {98, 120, 100, 349}, {429, 120, 431, 349}};
  const auto edges = frame.EdgeWindows();
  for (std::size_t i = 0; i < edges.size(); ++i) {
    ASSERT_TRUE(edges[i]) << i;
    const auto ex = static_cast<DWORD>(::GetWindowLongPtrW(edges[i], GWL_EXSTYLE));
    for (const DWORD flag : std::initializer_list<DWORD>{
             WS_EX_LAYERED, WS_EX_TRANSPARENT, WS_EX_NOACTIVATE, WS_EX_TOOLWINDOW, WS_EX_TOPMOST})
      EXPECT_EQ(ex & flag, flag) << "edge " << i << " lacks " << std::hex << flag;
    EXPECT_TRUE(::IsWindowVisible(edges[i]));
    RECT r{};
    ::GetWindowRect(edges[i], &r);
    EXPECT_TRUE(::EqualRect(&r, &expected[i]))
        << "edge " << i << " at " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_NE(::GetForegroundWindow(), edges[i]);
  }

  // The largest cut, the frame on the screen all along: not one frame pixel. One pixel more
  // on every side holds the frame's whole inner ring, so the frame is really there.
  DisplayScreen display;
  auto largest = display.CopyArea(100, 120, 300 + 29, 200 + 29);
  ASSERT_TRUE(largest);
  EXPECT_EQ(FramePixelsIn(*largest), 0) << "frame pixels in the largest cut";
  auto wider = display.CopyArea(99, 119, 331, 231);
  ASSERT_TRUE(wider);
  EXPECT_EQ(FramePixelsIn(*wider), 2 * 331 + 2 * 229) << "the frame's ring around the largest cut";
  for (HWND edge : edges) EXPECT_TRUE(::IsWindowVisible(edge));

  // Paused it stays where it is. Unchecked it goes at once, and the screen catches up later.
  frame.Show(area, app::FrameStyle::kDashed);
  for (HWND edge : edges) EXPECT_TRUE(::IsWindowVisible(edge));
  frame.Hide();
  for (HWND edge : edges) EXPECT_FALSE(::IsWindowVisible(edge));
  const ULONGLONG limit = ::GetTickCount64() + 1000;
  while (!frame.OffScreen() && ::GetTickCount64() < limit) PumpFor(10);
  EXPECT_TRUE(frame.OffScreen());
  auto gone = display.CopyArea(99, 119, 331, 231);
  ASSERT_TRUE(gone);
  EXPECT_EQ(FramePixelsIn(*gone), 0) << "the frame is still on the screen";
}

TEST(AutoCutStatus, TheTipAndTheFrameFollowTheStateThroughTheMenusCommands) {
  ProgramRig rig;
  ASSERT_TRUE(rig.main);
  const HWND main = rig.main->hwnd();
  const HWND capture = ::FindWindowExW(main, nullptr, L"Button", L"切图开始");
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(capture), BN_CLICKED),
                 reinterpret_cast<LPARAM>(capture));
  const HWND surface = ::FindWindowW(L"PelvantoOverlay", nullptr);
  ASSERT_TRUE(surface);
  ASSERT_TRUE(rig.tray.Find(kMainTrayId));
  EXPECT_EQ(rig.tray.Find(kMainTrayId)->tip, L"Pelvanto");
  // A selection, then Enter: the auto-cut runs.
  ::SendMessageW(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 120));
  ::SendMessageW(surface, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, 320));
  ::SendMessageW(surface, WM_LBUTTONUP, 0, MAKELPARAM(400, 320));
  ::SendMessageW(surface, WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(100);
  EXPECT_EQ(rig.tray.Find(kMainTrayId)->tip, L"Pelvanto\n每 2 秒切图 · 已切 0 张");
  EXPECT_EQ(FrameEdgesShown(), 4);

  const auto command = [&](app::MenuCommand c) {
    ::PostMessageW(main, kMenuCommand, static_cast<WPARAM>(c), 0);
    PumpFor(50);
  };
  command(app::MenuCommand::kPause);
  EXPECT_EQ(rig.tray.Find(kMainTrayId)->tip, L"Pelvanto\n已暂停");
  EXPECT_EQ(FrameEdgesShown(), 4);  // dashed
  command(app::MenuCommand::kResume);
  ::SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  EXPECT_EQ(rig.tray.Find(kMainTrayId)->tip, L"Pelvanto\n会话已锁定，暂停切图");
  ::SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  command(app::MenuCommand::kToggleFrame);
  EXPECT_EQ(FrameEdgesShown(), 0);
  command(app::MenuCommand::kToggleFrame);
  EXPECT_EQ(FrameEdgesShown(), 4);
  // One cut now lands, and the tip counts it.
  command(app::MenuCommand::kCutNow);
  PumpFor(300);
  EXPECT_EQ(rig.tray.Find(kMainTrayId)->tip.rfind(L"Pelvanto\n每 2 秒切图 · 已切 1 张 · 上次 ", 0),
            0U)
      << "tip: " << ::testing::PrintToString(rig.tray.Find(kMainTrayId)->tip);
  command(app::MenuCommand::kStopCapture);
  EXPECT_EQ(FrameEdgesShown(), 0);
  command(app::MenuCommand::kCutNow);  // posted after the end: nothing
  EXPECT_EQ(::FindWindowExW(main, nullptr, L"Button", L"切图开始"), capture);
}

TEST(ClipboardHolder, NamedByItsProgramAndLeftOutWhenUnknown) {
  EXPECT_EQ(ClipboardHolderName(), L"");
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(window);
  ASSERT_TRUE(::OpenClipboard(window));
  EXPECT_EQ(ClipboardHolderName(), L"pelvanto_win32_tests.exe");
  ::CloseClipboard();
  ASSERT_TRUE(::OpenClipboard(nullptr));  // held without a window: no name to give
  EXPECT_EQ(ClipboardHolderName(), L"");
  ::CloseClipboard();
  ::DestroyWindow(window);
  EXPECT_EQ(FileNameOf(L"C:\\Program Files\\Tool\\clip.exe"), L"clip.exe");
}

}  // namespace
}  // namespace pelvanto::win32::testing
