#include "guard/control/win/switch_registry.h"

#include <algorithm>

#include "common/win/registry.h"

namespace zorvix {
namespace {

// A trailing separator names the same key; the registry is not asked to parse an empty last part.
std::wstring KeyWithoutTrailingSlash(std::wstring key) {
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

}  // namespace

SwitchRegistry SwitchRegistry::Real() {
  SwitchRegistry r;
  r.writeDword = [](HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    return common::WriteRegDword(root, KeyWithoutTrailingSlash(key), name, value);
  };
  r.writeString = [](HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    return common::WriteRegString(root, KeyWithoutTrailingSlash(key), name, text);
  };
  r.readString = [](HKEY root, const std::wstring& key, const std::wstring& name) {
    return common::QueryRegString(root, key, name);
  };
  return r;
}

std::vector<int> ApplySwitches(const std::array<bool, kSwitchRows>& ticked, const SwitchRegistry& registry) {
  std::vector<int> failed;
  for (const SwitchWrite& w : SwitchWrites(ticked)) {
    HKEY root = common::RootKey(w.root);
    bool ok = w.isDword ? registry.writeDword(root, w.key, w.name, w.dword)
                        : registry.writeString(root, w.key, w.name, w.text);
    if (!ok && std::find(failed.begin(), failed.end(), w.row) == failed.end()) failed.push_back(w.row);
  }
  return failed;
}

bool ContextEntriesOn(const SwitchRegistry& registry) {
  auto copyTo = registry.readString(HKEY_LOCAL_MACHINE, kCopyToKey, L"");
  auto moveTo = registry.readString(HKEY_LOCAL_MACHINE, kMoveToKey, L"");
  return copyTo && moveTo && ContextEntriesPresent(*copyTo, *moveTo);
}

}  // namespace zorvix
