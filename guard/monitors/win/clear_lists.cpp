#include "guard/monitors/win/clear_lists.h"

#include "common/path.h"
#include "common/win/msgbox.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/formfire.h"

namespace zorvix {
namespace {
constexpr wchar_t kClearQuestion[] =
    L"您确实要清除所有的监控列表项目吗？"
    L"\r\n\r\n"
    L"提示：清除全部列表以后《Zorvix安全卫士》会立即重启……";
}  // namespace

bool ClearAllLists(MonitorHost& guard, const std::wstring& folder) {
  if (common::MsgBox(guard.frame(), kClearQuestion, MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return false;
  DeleteFileW(common::ExtendedPath(AskFilePath(folder)).c_str());
  DeleteFileW(common::ExtendedPath(RegAskFilePath(folder)).c_str());
  guard.formfire().store().Clear();
  AskLists() = {};
  guard.formfire().UpdatePrograms();
  guard.RequestRestart();
  return true;
}

}  // namespace zorvix
