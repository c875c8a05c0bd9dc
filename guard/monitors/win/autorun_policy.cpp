#include "guard/monitors/win/autorun_policy.h"

#include "common/win/registry.h"

namespace zorvix {

bool WritePolicyDword(const std::wstring& key, const std::wstring& name, DWORD value) {
  return common::WriteRegDword(HKEY_LOCAL_MACHINE, key, name, value);
}

}  // namespace zorvix
