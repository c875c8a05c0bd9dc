#include "guard/startup/tray_text.h"

#include "common/text.h"

namespace zorvix {

std::wstring WeekdayText(int weekdayFromSunday) {
  static const wchar_t* const kDays[] = {L" 星期天", L" 星期一", L" 星期二", L" 星期三",
                                         L" 星期四", L" 星期五", L" 星期六"};
  if (weekdayFromSunday < 1 || weekdayFromSunday > 7) return L"";
  return kDays[weekdayFromSunday - 1];
}

std::wstring TrayTip(std::wstring_view shortDate, int weekdayFromSunday) {
  return L"欢迎使用《Zorvix安全卫士》\r\n" + std::wstring(shortDate) + WeekdayText(weekdayFromSunday);
}

std::wstring AddressText(const uint8_t bytes[4]) {
  std::wstring s;
  for (int i = 0; i < 4; ++i) s += (i ? L"." : L"") + std::to_wstring(bytes[i]);
  return s;
}

std::wstring LocalIpMessage(std::wstring_view address) {
  return L"本机在局域网中的IP地址是：" + std::wstring(address) + L"    \r\n\r\n提示：IP地址已经复制到剪贴版中……";
}

std::optional<std::wstring> SocketLayerProblem(int major, int minor, int maxSockets) {
  if (major < 1 || (major == 1 && minor < 1))
    return L"Windows Sockets version " + std::to_wstring(major) + L"." + std::to_wstring(minor) +
           L" is not supported by winsock.dll ";
  if (maxSockets < 1) return std::wstring(L"This application requires a minimum of ") + L"1" + L" supported sockets.";
  return std::nullopt;
}

wchar_t DriveLetterOfCaption(std::wstring_view caption) {
  if (caption.size() < 2) return 0;
  wchar_t c = caption[1];
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') ? c : 0;
}

bool NamesProgram(std::wstring_view runValue, std::wstring_view programPath) {
  std::wstring text = common::Trim(runValue);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
  return !programPath.empty() && common::EqualsNoCase(text, programPath);
}

const std::vector<TrayMenuRow>& TrayMenuRows() {
  using R = TrayMenuRow;
  static const std::vector<TrayMenuRow> rows = {
      {R::Item, kTrayMain, L"【Zorvix安全卫士】"},
      {R::Item, kTrayView, L"系统监视器"},
      {R::Separator, 0, L""},
      {R::SubmenuBegin, 0, L"系统维护工具"},
      {R::Item, kTrayRegedit, L"注册表编辑器"},
      {R::Item, kTrayGroup, L"组策略管理器"},
      {R::Item, kTrayConfig, L"系统配置程序"},
      {R::Separator, 0, L""},
      {R::Item, kTrayInternet, L"INTERNET 选项"},
      {R::Item, kTrayDesktop, L"桌面背景设置"},
      {R::Item, kTrayControl, L"控制面板"},
      {R::Separator, 0, L""},
      {R::Item, kTrayNetIp, L"内网 IP 地址"},
      {R::Item, kTrayNetIpWan, L"公网 IP 地址"},
      {R::SubmenuEnd, 0, L""},
      {R::Separator, 0, L""},
      {R::Item, kTrayProcess, L"系统进程管理"},
      {R::Item, kTrayNetwall, L"当前网络连接"},
      {R::Separator, 0, L""},
      {R::SubmenuBegin, 0, L"我的电脑"},
      {R::Item, kTrayDisk0 + 0, L"【C】盘"},
      {R::Item, kTrayDisk0 + 1, L"【D】盘"},
      {R::Item, kTrayDisk0 + 2, L"【E】盘"},
      {R::Item, kTrayDisk0 + 3, L"【F】盘"},
      {R::Item, kTrayDisk0 + 4, L"【G】盘"},
      {R::Item, kTrayDisk0 + 5, L"【H】盘"},
      {R::Item, kTrayDisk0 + 6, L"【I】盘"},
      {R::Item, kTrayDisk0 + 7, L"【J】盘"},
      {R::SubmenuEnd, 0, L""},
      {R::SubmenuBegin, 0, L"关于软件"},
      {R::Item, kTrayAutorun, L"开机时自动运行"},
      {R::Separator, 0, L""},
      {R::Item, kTrayDownload, L"最新软件升级"},
      {R::Item, kTrayHelp, L"帮助主题"},
      {R::Item, kTrayAbout, L"关于"},
      {R::SubmenuEnd, 0, L""},
      {R::Separator, 0, L""},
      {R::Item, kTrayTurnOffPc, L"立即关闭电脑"},
      {R::Item, kTrayExit, L"软件退出"},
  };
  return rows;
}

std::wstring FirewallStateLine(bool firewallOn, bool networkCut) {
  if (networkCut) return L"网络已断开：所有程序的网络连接都被删除";
  return firewallOn ? L"" : L"防火墙已关闭";
}

}  // namespace zorvix
