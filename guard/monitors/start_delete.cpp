#include "guard/monitors/start_delete.h"

namespace zorvix {

std::wstring DeleteStartFailedText(std::wstring_view valueName, std::wstring_view location) {
  return L"无法删除启动项目【 " + std::wstring(valueName) + L" 】，它仍然保留在注册表中：\r\n\r\n" +
         std::wstring(location) + L"\r\n\r\n提示：删除本机所有用户的启动项目需要管理员权限……    ";
}


std::optional<std::wstring> StartDeleteProblem(StartDelete result, std::wstring_view valueName,
                                               std::wstring_view location, std::wstring_view backupFile) {
  switch (result) {
    case StartDelete::Deleted:
    case StartDelete::Missing: return std::nullopt;
    case StartDelete::Refused: return DeleteStartFailedText(valueName, location);
    case StartDelete::NotSaved:
      return L"无法把启动项目【 " + std::wstring(valueName) + L" 】备份到文件“" + std::wstring(backupFile) +
             L"”，为了以后还能恢复，该项目没有删除……    ";
  }
  return std::nullopt;
}

}  // namespace zorvix
