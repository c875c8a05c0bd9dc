#include "common/win/sibling_tool.h"

#include "common/win/msgbox.h"
#include "common/win/system.h"

namespace common {

std::wstring SiblingToolMissingText(std::wstring_view file) {
  return L"找不到工具程序【 " + std::wstring(file) + L" 】，无法启动。\r\n\r\n提示：请把该程序放在本软件所在的文件夹中……    ";
}

bool SiblingToolPresent(HWND owner, const std::wstring& file) {
  if (FileExists(file)) return true;
  MsgBox(owner, SiblingToolMissingText(file), MB_ICONWARNING | MB_OK);
  return false;
}

}  // namespace common
