// Where the frame hands over to its network tools and options: one function per menu item or start-up
// step.
#pragma once
#include <string>

namespace corvane {

class FrmMain;

// Start-up: the interface statistics and the speed meters `PicDown`/`PicUp` (FrmMain::picDown, picUp).
void StartSpeedMeter(FrmMain& frame);
// "源文件": the source of the active page, in a new tool window; "Ping 测试" and "IP 地址配置": ping of the
// address's host and the address configuration, each in a new tool window.
void ShowPageSource(FrmMain& frame, const std::wstring& url);
void ShowPing(FrmMain& frame);
void ShowAddressConfiguration(FrmMain& frame);
// "清除历史记录" and "系统选项", modal.
void ShowTraceCleaner(FrmMain& frame);
void ShowOptions(FrmMain& frame);
// "缺省浏览器": make this browser the default one, or give the default back.
void setnavigation(FrmMain& frame);
void cancelnavigation(FrmMain& frame);

}  // namespace corvane
