// The firewall's table of monitored programs: each program seen holding a connection, the user's
// decision and two counters. Kept as numbered keys of one settings section; mirrored in memory.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zorvix {

// One settings section: text values by key.
class KeyStore {
 public:
  virtual ~KeyStore() = default;
  virtual std::optional<std::wstring> Get(const std::wstring& key) const = 0;
  virtual bool Set(const std::wstring& key, const std::wstring& value) = 0;
  virtual bool Remove(const std::wstring& key) = 0;
  // Every value of the section, in one pass over it.
  virtual std::vector<std::pair<std::wstring, std::wstring>> All() const = 0;
};

inline constexpr wchar_t kFireWallSection[] = L"FireWall";
inline constexpr wchar_t kProgramCount[] = L"ProgramCount";
inline constexpr int16_t kAllowed = 0, kBlocked = -1;

struct MonitoredProgram {
  int number = 0;  // n of the keys n + "Name", ...
  std::wstring Name, Path;
  int16_t Status = kBlocked;
  int32_t Attempts = 0, Blocks = 0;
};

// A stored "Status": any number but 0 means allowed; 0, empty, absent or not a number means blocked.
int16_t StatusOf(const std::optional<std::wstring>& stored);
// "ProgramCount": absent or not a number reads as 0.
int ProgramCount(const KeyStore& store);

// Adds a program with a decision (block 1 stores allowed, 0 blocked). A program already listed, in any
// letter case, is left as it is; false then.
bool AddProgram(KeyStore& store, std::wstring_view programPath, int block);
// Removes the entry of that program (the one numbered index, unless the numbers moved since it was shown)
// and moves the entries after it down by one. False when no entry has that path.
bool DeleteProgram(KeyStore& store, int index, std::wstring_view programPath);
// A view's row whose entry is gone (deleted in another view meanwhile): nothing was deleted.
std::wstring ProgramGoneText(std::wstring_view name);

// The table in memory, without a bound on its size.
class ProgramTable {
 public:
  // Reads the entries from the values the section holds, "ProgramCount" taken as a bound only: a count
  // far beyond the entries costs nothing. An entry without a name is named after its path; one with
  // neither is skipped.
  void UpdatePrograms(const KeyStore& store);
  const std::vector<MonitoredProgram>& entries() const { return entries_; }
  // The first entry with this path, letter case ignored; null when none.
  const MonitoredProgram* Find(std::wstring_view path) const;

  enum class Verdict { Unknown, Allowed, Blocked };
  // One check that found the program holding a connection: counts it and stores the counters.
  Verdict Count(KeyStore& store, std::wstring_view path);

 private:
  std::vector<MonitoredProgram> entries_;
  std::unordered_map<std::wstring, size_t> byPath_;  // lower-case path to the first entry
};

}  // namespace zorvix
