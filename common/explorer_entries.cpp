#include "common/explorer_entries.h"

#include "common/path.h"

namespace common {

std::wstring OpenCommand(std::wstring_view exePath) { return QuoteArg(exePath) + L" \"%1\""; }

std::vector<RegEntry> SearchMenuEntries(std::wstring_view searchExe) {
  const std::wstring menu = L"【Sercavo】";
  const std::wstring command = OpenCommand(searchExe);
  return {
      {RegRoot::ClassesRoot, L"Directory\\shell\\Sercavo", L"", menu},
      {RegRoot::ClassesRoot, L"Directory\\shell\\Sercavo\\command", L"", command},
      {RegRoot::LocalMachine, L"Software\\CLASSES\\Drive\\shell\\Sercavo", L"", menu},
      {RegRoot::LocalMachine, L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command", L"", command},
  };
}

}  // namespace common
