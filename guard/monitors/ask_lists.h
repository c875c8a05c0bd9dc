// Decision lists: entries each preceded by ";" and kept lower-case, two of them (allow, deny) to a file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

// One list: the line its file holds, plus the entries that hold for this run only because the file
// could not keep them.
class DecisionList {
 public:
  DecisionList() = default;
  // A stored line, taken as it stands (kept lower-case).
  explicit DecisionList(std::wstring_view line);
  // Whole entries only: ";c:\a.exe.old" does not hold "c:\a.exe". Letter case is ignored. An entry that
  // a line cannot hold is looked for among this run's entries only, never in the line.
  bool Contains(std::wstring_view entry) const;
  // Adds to the line; an entry the line cannot hold (see Storable) goes to this run's entries instead.
  // False then.
  bool Add(std::wstring_view entry);
  // Holds the entry for this run only (the file could not keep it).
  void AddForRun(std::wstring_view entry);
  // Removes every occurrence of the entry, from the line and this run's entries; true when one was there.
  bool Remove(std::wstring_view entry);
  // Takes the line of a fresh read of the file; this run's entries stay.
  void Reload(const DecisionList& read) { text_ = read.text_; }
  // An entry a line can hold: not empty, and no ";", CR or LF in it, which would split it into others.
  static bool Storable(std::wstring_view entry);
  // The stored line.
  const std::wstring& text() const { return text_; }
  bool empty() const { return text_.empty() && runOnly_.empty(); }

 private:
  size_t Find(std::wstring_view lowered, size_t from) const;
  std::wstring text_;                  // lower-case
  std::vector<std::wstring> runOnly_;  // lower-case, never written
};

// One two-line list file: line 1 the allow list, line 2 the deny list.
struct AskFileLists {
  DecisionList allow, deny;
  // The lines of a fresh read, this run's entries kept.
  void Reload(const AskFileLists& read);
};
// Missing lines read as empty lists.
AskFileLists ParseAskFile(std::wstring_view text);
// Both stored lines lower-cased, each ended by CR LF; this run's entries are left out.
std::wstring FormatAskFile(const AskFileLists& lists);

// A start-up value named as the registry lists hold it: root name, key path and value name joined by
// "\" (the root name before the first one).
struct RegLocation {
  std::wstring rootName, key, value;
  bool localMachine() const;  // the root named "hkey_local_machine"; every other name means the user's
};
// Every way to read such a text, the deepest key first: a value name may itself hold "\" (a program's
// path is a common name), so the text alone cannot say where the key ends. Readings with no key path
// between root name and value name are left out.
std::vector<RegLocation> RegPathReadings(std::wstring_view regpath);

inline constexpr wchar_t kAskFile[] = L"\\sys\\ask.dat";
inline constexpr wchar_t kRegAskFile[] = L"\\sys\\regask.dat";

}  // namespace zorvix
