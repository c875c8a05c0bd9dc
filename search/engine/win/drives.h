// The drives of this machine: every root for the range list, the searched ones for "我的电脑".
#pragma once
#include <string>
#include <vector>

namespace sercavo {

// Every drive root the system reports ("C:\", ...), upper case, all types (`FillDriveList`).
std::vector<std::wstring> LogicalDrives();
// The roots searched for "我的电脑": neither removable nor optical nor unknown (`ListSearchDrives`).
std::vector<std::wstring> ListSearchDrives();

}  // namespace sercavo
