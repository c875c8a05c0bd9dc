#include "guard/monitors/win/autorun_policy.h"

#include "common/win/msgbox.h"
#include "common/win/registry.h"

namespace zorvix {
namespace {
bool g_reported = false;
}

bool WritePolicyDword(const std::wstring& key, const std::wstring& name, DWORD value) {
  if (common::WriteRegDword(HKEY_LOCAL_MACHINE, key, name, value)) return true;
  if (!g_reported) {
    g_reported = true;
    common::MsgBox(nullptr,
                   L"无法写入系统设置 HKEY_LOCAL_MACHINE\\" + key + L"\\" + name +
                       L"，需要管理员权限。\r\n请以管理员身份运行本软件后再次清除。    ",
                   MB_ICONWARNING | MB_OK);
  }
  return false;
}

void ResetPolicyReport() { g_reported = false; }

}  // namespace zorvix
