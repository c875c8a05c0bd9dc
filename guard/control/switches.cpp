#include "guard/control/switches.h"

#include "common/text.h"

namespace zorvix {

const std::array<const wchar_t*, kSwitchRows> kSwitchCaptions = {
    L"恢复被禁用的“任务管理器”",
    L"恢复被禁用的“注册表编辑器”",
    L"关机时自动清空“我最近的文档”",
    L"禁止 Autorun 病毒自动运行（除了光驱以外）",
    L"恢复被禁用的 INTERNET 选项",
    L"恢复“文件夹选项”中对系统隐含文件的显示",
    L"给鼠标右键增加 【复制到…】 以及 【移动到…】 的浮动菜单",
};

namespace {

SwitchWrite Dword(int row, common::RegRoot root, const wchar_t* key, const wchar_t* name, uint32_t value) {
  return {row, root, key, name, true, value, L""};
}

SwitchWrite Text(int row, common::RegRoot root, const wchar_t* key, const wchar_t* name, const wchar_t* value) {
  return {row, root, key, name, false, 0, value};
}

// Rows 1 to 6: what each writes when ticked. The key paths are written letter for letter as the
// policies have always been found there.
const std::vector<SwitchWrite>& OneWayWrites() {
  using R = common::RegRoot;
  static const std::vector<SwitchWrite> writes = {
      Dword(1, R::CurrentUser, L"software\\microsoft\\windows\\currentversion\\policies\\system", L"DisableTaskMgr", 0),
      Dword(1, R::CurrentUser, L"software\\microsoft\\windows\\currentversion\\policies\\explorer",
            L"NoChangeStartMenu", 0),
      Dword(2, R::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
            L"DisableRegistryTools", 0),
      Dword(3, R::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
            L"ClearRecentDocsOnExit", 1),
      Dword(3, R::Users, L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
            L"NoRecentDocsHistory", 1),
      // 0xDF: every drive type but CD-ROM.
      Dword(4, R::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
            L"NoDriveTypeAutoRun", 223),
      Dword(5, R::CurrentUser, L"Software\\Policies\\Microsoft\\internet explorer\\restrictions\\",
            L"NoBrowserOptions", 0),
      Dword(6, R::LocalMachine,
            L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL",
            L"CheckedValue", 1),
  };
  return writes;
}

}  // namespace

std::vector<SwitchWrite> SwitchWrites(const std::array<bool, kSwitchRows>& ticked) {
  std::vector<SwitchWrite> out;
  for (const SwitchWrite& w : OneWayWrites())
    if (ticked[w.row - 1]) out.push_back(w);
  bool on = ticked[kSwitchRows - 1];
  out.push_back(Text(7, common::RegRoot::LocalMachine, kCopyToKey, L"", on ? kCopyToClsid : L""));
  out.push_back(Text(7, common::RegRoot::LocalMachine, kMoveToKey, L"", on ? kMoveToClsid : L""));
  return out;
}

bool ContextEntriesPresent(std::wstring_view copyToValue, std::wstring_view moveToValue) {
  return common::EqualsNoCase(common::Trim(copyToValue), kCopyToClsid) &&
         common::EqualsNoCase(common::Trim(moveToValue), kMoveToClsid);
}

std::wstring ApplyResultText(const std::vector<int>& failedRows) {
  if (failedRows.empty()) return kApplyDoneText;
  std::wstring text = L"以下项目没有设置成功（修改本机设置需要管理员权限）：\r\n";
  for (int row : failedRows) {
    if (row < 1 || row > kSwitchRows) continue;
    text += L"\r\n" + std::to_wstring(row) + L"  " + kSwitchCaptions[row - 1];
  }
  text += L"\r\n\r\n提示：请以管理员身份运行本软件以后再试……    ";
  return text;
}

}  // namespace zorvix
