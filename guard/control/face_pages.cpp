#include "guard/control/face_pages.h"

#include "guard/process/window_list.h"

namespace zorvix {

const wchar_t kIntroduction[] =
    L"欢迎使用《Zorvix安全卫士》控制中心\r\n"
    L"\r\n"
    L"可疑程序进程：列出没有通过数字签名认证的正在运行的程序，可以终止它们并打开所在目录。\r\n"
    L"窗口标题列表：列出桌面上所有带标题的窗口，可以关闭标题中含有所选文字的窗口。\r\n"
    L"开机启动软件：列出每次开机或登录时自动运行的程序，可以删除不需要的启动项目。\r\n"
    L"网络防火墙：列出防火墙记住的程序及其网络访问权限，可以删除其中的记录。\r\n"
    L"应用软件卸载：列出本机安装的应用软件，可以运行它们自带的卸载程序。\r\n"
    L"系统工具修复：恢复被恶意程序禁用的系统功能，并可给鼠标右键增加复制、移动菜单。\r\n"
    L"\r\n"
    L"左边的按钮可以打开系统监视器、系统清理工具、当前网络连接和系统进程管理。\r\n"
    L"在列表中单击一行，可以查看该程序的文件信息；按 F5 刷新当前列表，按 Ctrl+Tab 切换页面。";

const std::vector<FacePage>& FacePages() {
  using A = ColumnAlign;
  static const std::vector<FacePage> pages = [] {
    std::vector<PageColumn> windows;
    for (const auto& c : kWindowListColumns) windows.push_back({c.caption, c.twips});
    return std::vector<FacePage>{
        {PageType::Home, L"首页  ", L"home", {}, L"官方网站(&D)"},
        {PageType::System,
         L"可疑程序进程",
         L"system",
         {{L"进程名称", 1700},
          {L"PID", 700},
          {L"内存使用", 1000, A::Right},
          {L"用户名", 1500},
          {L"安全 ", 700, A::Center},
          {L"优先", 700},
          {L"进程路径", 5000},
          {L"备注", 5000}},
         L"终止进程(&D)"},
        {PageType::Windows, L"窗口标题列表 ", L"windows", windows, kCloseWindowCaption},
        {PageType::Start,
         L"开机启动软件 ",
         L"start",
         {{L"项目名称", 1700}, {L"安全 ", 700, A::Center}, {L"程序所在位置", 6000}, {L"注册表子键位置", 5000}},
         L"删除项目(&D)"},
        {PageType::Net,
         L"网络防火墙",
         L"net",
         {{L"软件名称", 1500}, {L"网络访问", 1200, A::Center}, {L"软件路径", 5000}},
         L"删除列表(&D)"},
        {PageType::Setup,
         L"应用软件卸载 ",
         L"setup",
         {{L"软件名称", 3600}, {L"卸载参数", 3000}, {L"软件注释", 3000}},
         L"软件卸载(&D)"},
        {PageType::Repair,
         L"系统工具修复 ",
         L"repair",
         {{L"选项", 800}, {L"制定功能", 6000}, {L"注释说明", 2000}},
         L"立即修复(&D)"},
    };
  }();
  return pages;
}

const FacePage& PageAt(int position) {
  const auto& pages = FacePages();
  return position >= 1 && position <= int(pages.size()) ? pages[position - 1] : pages.front();
}

int PositionOfKey(std::wstring_view key) {
  const auto& pages = FacePages();
  for (size_t i = 0; i < pages.size(); ++i)
    if (key == pages[i].key) return int(i) + 1;
  return 0;
}

int ProgramColumn(PageType type) {
  switch (type) {
    case PageType::System: return 6;  // "进程路径"
    case PageType::Start:
    case PageType::Net: return 2;
    case PageType::Setup: return 1;  // the uninstall command names its program
    default: return -1;
  }
}

std::wstring KillProcessConfirmText(std::wstring_view name) {
  return L"您确实要终止程序进程【 " + std::wstring(name) + L" 】吗？     \r\n\r\n提示：您还没有删除该文件……    ";
}

std::wstring DeleteStartConfirmText(std::wstring_view valueName) {
  return L"您确实要删除【 " + std::wstring(valueName) + L" 】这个启动项目吗？";
}

std::wstring DeleteNetConfirmText(std::wstring_view name) {
  return L"您确实要删除列表【 " + std::wstring(name) + L" 】吗？  ";
}

std::wstring UninstallConfirmText(std::wstring_view name) {
  return L"您确实要卸载【 " + std::wstring(name) + L" 】这个应用程序吗？";
}

std::wstring UninstallFailedText(std::wstring_view command, std::wstring_view reason) {
  std::wstring text = L"无法启动卸载程序：\r\n\r\n" + std::wstring(command);
  if (!reason.empty()) text += L"\r\n\r\n" + std::wstring(reason);
  return text;
}

std::wstring LocalIpText(std::wstring_view address) {
  return L"本机在局域网中的IP地址是：    " + std::wstring(address) + L"\r\n\r\n提示：IP地址已经复制到剪贴版中……";
}

}  // namespace zorvix
