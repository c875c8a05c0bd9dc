#include "common/reg_entry.h"

namespace common {

std::wstring RootName(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine: return L"HKEY_LOCAL_MACHINE\\";
    case RegRoot::CurrentUser: return L"HKEY_CURRENT_USER\\";
    case RegRoot::ClassesRoot: return L"HKEY_CLASSES_ROOT\\";
    case RegRoot::Users: return L"HKEY_USERS\\";
  }
  return L"";
}

}  // namespace common
