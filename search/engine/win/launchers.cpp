#include "search/engine/win/launchers.h"

#include <string>

#include "common/path.h"
#include "common/text.h"
#include "common/win/system.h"
#include "search/engine/win/startup.h"

namespace sercavo {
namespace {
std::wstring System(const wchar_t* exe) { return common::QuoteArg(common::GetSystemFolder() + L"\\" + exe); }
std::wstring Explorer() { return common::QuoteArg(common::GetWindowsFolder() + L"\\explorer.exe"); }
}  // namespace

void AppendLaunchers(HMENU menu, int firstId) {
  const wchar_t* items[kLauncherCount] = {L"显示桌面", L"桌面设置", L"我的电脑", L"网上邻居", L"IE浏览器", L"电子邮件"};
  for (int i = 0; i < kLauncherCount; ++i) AppendMenuW(menu, MF_STRING, UINT_PTR(firstId + i), items[i]);
}

void RunLauncher(int index) {
  switch (index) {
    case 0:
      common::ShellOpen(common::FolderOf(common::ExePath()) + L"\\sys\\viewdesk.scf", L"", SW_SHOWNORMAL, L"Open");
      return;
    // System programs by their full paths: a file of the same name elsewhere never runs instead.
    case 1:
      common::StartCommand(System(L"rundll32.exe") + L" shell32,Control_RunDLL desk.cpl", SW_SHOWMINIMIZED);
      return;
    case 2: common::StartCommand(Explorer() + L" ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"); return;
    case 3: common::StartCommand(Explorer() + L" ::{208D2C60-3AEA-1069-A2D7-08002B30309D}"); return;
    case 4:
      common::StartCommand(
          common::QuoteArg(Paths().windowsFolder.substr(0, 2) + L"\\Program Files\\Internet Explorer\\iexplore.exe"));
      return;
    case 5: common::ShellOpen(L"mailto:", L"", SW_SHOWNORMAL, L"Open"); return;
  }
}

}  // namespace sercavo
