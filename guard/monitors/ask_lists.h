// Decision lists: entries each preceded by ";" and kept lower-case, two of them (allow, deny) to a file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

class DecisionList {
 public:
  DecisionList() = default;
  // A stored line, taken as it stands.
  explicit DecisionList(std::wstring_view line) : text_(line) {}
  // Whole entries only: ";c:\a.exe.old" does not hold "c:\a.exe". Letter case is ignored.
  bool Contains(std::wstring_view entry) const;
  void Add(std::wstring_view entry);
  // Removes every occurrence of the entry; true when one was there.
  bool Remove(std::wstring_view entry);
  const std::wstring& text() const { return text_; }
  bool empty() const { return text_.empty(); }

 private:
  size_t Find(std::wstring_view lowered, size_t from) const;
  std::wstring text_;
};

// One two-line list file: line 1 the allow list, line 2 the deny list.
struct AskFileLists {
  DecisionList allow, deny;
};
// Missing lines read as empty lists.
AskFileLists ParseAskFile(std::wstring_view text);
// Both lines lower-cased, each ended by CR LF.
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
