#pragma once
// The main window's own texts, apart from the capture button's captions (app/capture_control.h).
// Their fonts are chosen to draw every character of them (text/fonts.cpp).

namespace pelvanto::win32 {

inline constexpr wchar_t kIntervalLabelText[] = L"切图频率(秒)：";
inline constexpr wchar_t kExitCaption[] = L"关闭退出";
inline constexpr wchar_t kHelpCaptionText[] = L"欢迎亲加入";
inline constexpr wchar_t kIntervalTip[] = L"自动切图的时间间隔";
inline constexpr wchar_t kHelpTextContent[] =
    L"使用说明\r\n"
    L"1. 在“切图频率(秒)”中选好自动切图的间隔，选 0 表示暂停。\r\n"
    L"2. 点“切图开始”，屏幕随即定格；用鼠标左键拖出要截取的区域。\r\n"
    L"3. 在选区里按住左键可以移动它，拖动四角和四边的小方块可以调整大小；"
    L"右键清除选区，没有选区时右键退出截屏。\r\n"
    L"4. 点工具条上的“复制退出”，程序就每隔设定的秒数把这块区域的最新画面放到剪贴板，"
    L"可以直接粘贴到 QQ 聊天窗口。\r\n"
    L"5. 双击通知区域里的图标可以找回本窗口；点“切图结束”停止截图。\r\n"
    L"提示：切换到另一个 QQ 聊天时，剪贴板会被清空，以免把图片发错了人。";

}  // namespace pelvanto::win32
