#include "guard/monitors/win/clear_lists.h"

#include "common/path.h"
#include "common/win/msgbox.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix {
namespace {
constexpr wchar_t kClearQuestion[] =
    L"您确实要清除所有的监控列表项目吗？"
    L"\r\n\r\n"
    L"提示：清除全部列表以后《Zorvix安全卫士》会立即重启……";
}  // namespace

bool ClearAllLists(FrmMain& frm, const std::wstring& folder) {
  if (common::MsgBox(frm.hwnd(), kClearQuestion, MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return false;
  DeleteFileW(common::ExtendedPath(AskFilePath(folder)).c_str());
  DeleteFileW(common::ExtendedPath(RegAskFilePath(folder)).c_str());
  frm.formfire().store().Clear();
  AskLists() = {};
  frm.formfire().UpdatePrograms();
  frm.RequestRestart();
  return true;
}

}  // namespace zorvix
