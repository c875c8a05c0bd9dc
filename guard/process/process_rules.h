// Rules of the process table that need no system: path cleaning, texts of the columns, notes, trust.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvix {

// Removes every "\??\" and expands a leading "\SystemRoot\" (any case) to the Windows folder.
std::wstring CheckPath(std::wstring_view path, std::wstring_view windowsFolder);
// Program path out of a command line ("rundll32.exe x.dll,..." gives the dll); quotes removed.
std::wstring CleanCommandPath(std::wstring_view text);
// Program path out of a Run-key command line.
std::wstring ExtractRunPath(std::wstring_view text);
// Working set as shown in "内存使用": KB with thousands separators, then " K".
std::wstring MemoryText(uint64_t workingSetBytes);
// Text of a priority class value; empty for anything unknown.
std::wstring PriorityText(unsigned long priorityClass);
// The class value whose text is given, or 0.
unsigned long PriorityClassOf(std::wstring_view text);
// The class of a process of the given base priority, or 0 when no class has it.
unsigned long PriorityClassOfBase(long basePriority);

// Where a module's note is looked up in the notes file.
struct NoteKey {
  std::wstring section, key;
};
std::optional<NoteKey> NoteKeyFor(std::wstring_view path, std::wstring_view systemFolder,
                                  std::wstring_view windowsFolder);

// The owner and remark columns of a new row.
struct OwnerAndRemark {
  std::wstring owner, remark;
};
// With a note: owner "系统/" + its class (two characters), remark from its fourth character.
// Without one: the logged-on user and the product name of the file.
OwnerAndRemark OwnerAndRemarkFor(std::wstring_view note, std::wstring_view logonUser, std::wstring_view fileNote);

// The company names that make a signed file trusted: the listed vendors exactly, the maker in any case.
bool IsTrustedCompany(std::wstring_view company);
// A file is trusted when its valid signature's signer is a listed company and the company its version
// texts name is that signer: any publisher can sign a file that claims to be another's.
bool IsTrustedSigner(std::wstring_view company, const std::optional<std::wstring>& signer);

inline constexpr wchar_t kTrustedMark[] = L"√";
inline constexpr wchar_t kUntrustedMark[] = L"?";

}  // namespace zorvix
