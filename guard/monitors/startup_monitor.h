// The start-up registry monitor's rules that need no system: the watched locations, how a value is named
// and shown as text, the queue of values to ask about, and the rules that skip a value.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/reg_entry.h"

namespace zorvix {

using common::RegRoot;
using common::RootName;
// Which view of the registry a value was read in: 64-bit programs' or 32-bit programs' (WOW6432Node).
enum class RegView { Native, Wow32 };

struct WatchedLocation {
  RegRoot root;
  std::wstring key;
};
// The locations Windows starts programs from, in reading order.
const std::vector<WatchedLocation>& WatchedLocations();

// The key path as it lies in the native view: a 32-bit view key under "Software\" is under
// "Software\WOW6432Node\" there.
std::wstring KeyPathInView(std::wstring_view key, RegView view);
inline constexpr wchar_t kDefaultValueName[] = L"(预设值)";
// The lower-case location of a value as the decision lists hold it: root name, key path as it lies in the
// native view, "\", value name ("(预设值)" for the unnamed one).
std::wstring RunLocation(RegRoot root, std::wstring_view key, RegView view, std::wstring_view valueName);

// Text of a value's data for types other than the two string types: bytes as hexadecimal each followed by a
// blank, numbers in decimal, one line per string of a multi-string.
std::wstring RegDataText(uint32_t type, const std::vector<uint8_t>& data);

// A start-up value waiting to be asked about. Program and location stay apart: a program text may hold
// anything, a "-" or "hkey" included.
struct StartupItem {
  std::wstring program;   // the value's program text
  std::wstring location;  // RunLocation of the value
  RegRoot root;
  RegView view;
  std::wstring key;   // as opened in its view
  std::wstring name;  // the value's name, empty for the unnamed one
};

// The values of the last reading, asked from the last one read backwards. A new reading replaces it.
class StartupQueue {
 public:
  void Reset() { items_.clear(); }
  void Add(StartupItem item) { items_.push_back(std::move(item)); }
  std::optional<StartupItem> TakeLast();
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

 private:
  std::vector<StartupItem> items_;
};

enum class SkipReason { None, Trusted, Allowed, TooShort };
// Why an item is not asked about: the program text is too short (6 characters or fewer) to name a
// program, its location is a whole entry of the allow list, or its program is trusted (asked last: it reads the file).
SkipReason SkipReasonFor(std::wstring_view program, std::wstring_view location, std::wstring_view allowList,
                         const std::function<bool()>& trusted);

}  // namespace zorvix
