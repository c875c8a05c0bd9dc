#include "guard/process/process_rules.h"

#include <array>

#include "common/text.h"

namespace zorvix {
using common::FindNoCase;
using common::StartsWithNoCase;

std::wstring CheckPath(std::wstring_view path, std::wstring_view windowsFolder) {
  std::wstring p = common::ReplaceAll(path, L"\\??\\", L"");
  if (StartsWithNoCase(p, L"\\SYSTEMROOT\\"))
    p = std::wstring(windowsFolder) + p.substr(11);
  return p;
}

std::wstring CleanCommandPath(std::wstring_view text) {
  std::wstring t(text);
  if (StartsWithNoCase(t, L"rundll32.exe")) t = t.size() > 13 ? t.substr(13) : L"";
  if (size_t exe = FindNoCase(t, L".exe"); FindNoCase(t, L"exe") != std::wstring::npos) {
    if (exe != std::wstring::npos) t = t.substr(0, exe + 4);
  } else if (size_t dll = FindNoCase(t, L".dll"); FindNoCase(t, L"dll") != std::wstring::npos) {
    if (dll != std::wstring::npos) t = t.substr(0, dll + 4);
  }
  return common::RemoveAll(t, L'"');
}

std::wstring ExtractRunPath(std::wstring_view text) {
  std::wstring t = common::RemoveAll(text, L'"');
  if (size_t r = FindNoCase(t, L"RUNDLL32.EXE"); r != std::wstring::npos) {
    t = r + 13 < t.size() ? t.substr(r + 13) : L"";
    if (size_t dll = FindNoCase(t, L".dll"); dll != std::wstring::npos) t = t.substr(0, dll + 4);
  } else if (size_t exe = FindNoCase(t, L".exe"); exe != std::wstring::npos && exe >= 1) {
    t = t.substr(0, exe + 4);
  }
  return t;
}

std::wstring MemoryText(uint64_t workingSetBytes) {
  // Rounded to whole KB, half away from zero, as the "#,###" picture rounds.
  return common::FormatThousands((workingSetBytes + 512) / 1024) + L" K";
}

namespace {
struct Priority {
  unsigned long value;
  long base;  // the base priority of a process of this class
  const wchar_t* text;
};
constexpr std::array<Priority, 6> kPriorities{{{0x40, 4, L"低"},
                                               {0x4000, 6, L"较低"},
                                               {0x20, 8, L"标准"},
                                               {0x8000, 10, L"较高"},
                                               {0x80, 13, L"高"},
                                               {0x100, 24, L"实时"}}};
}  // namespace

std::wstring PriorityText(unsigned long priorityClass) {
  for (auto& p : kPriorities)
    if (p.value == priorityClass) return p.text;
  return L"";
}

unsigned long PriorityClassOf(std::wstring_view text) {
  for (auto& p : kPriorities)
    if (text == p.text) return p.value;
  return 0;
}

unsigned long PriorityClassOfBase(long basePriority) {
  for (auto& p : kPriorities)
    if (basePriority == p.base) return p.value;
  return 0;
}

std::optional<NoteKey> NoteKeyFor(std::wstring_view path, std::wstring_view systemFolder,
                                  std::wstring_view windowsFolder) {
  auto under = [&](std::wstring_view folder) {
    return !folder.empty() && path.size() > folder.size() + 1 && common::StartsWithNoCase(path, folder) &&
           path[folder.size()] == L'\\';
  };
  if (under(systemFolder)) return NoteKey{L"sysdir", std::wstring(path.substr(systemFolder.size() + 1))};
  if (under(windowsFolder)) return NoteKey{L"windir", std::wstring(path.substr(windowsFolder.size() + 1))};
  return std::nullopt;
}

OwnerAndRemark OwnerAndRemarkFor(std::wstring_view note, std::wstring_view logonUser, std::wstring_view fileNote) {
  if (note.empty()) return {std::wstring(logonUser), std::wstring(fileNote)};
  return {L"系统/" + std::wstring(note.substr(0, 2)), note.size() > 3 ? std::wstring(note.substr(3)) : L""};
}

bool IsTrustedCompany(std::wstring_view company) {
  static const wchar_t* const kVendors[] = {L"Beijing Rising Technology Co., Ltd.",
                                            L"Beijing Rising Information Technology Co., Ltd.",
                                            L"Thunder Networking Technologies,LTD",
                                            L"Realtek Semiconductor Corp.",
                                            L"Nero AG",
                                            L"Vimicro",
                                            L"Microsoft Corporation",
                                            L"www.rising.com.cn",
                                            L"WWW.RISING.COM.CN",
                                            L"NVIDIA Corporation",
                                            L"Kaspersky Lab",
                                            L"Kingsoft Corporation"};
  for (const wchar_t* v : kVendors)
    if (company == v) return true;
  return common::EqualsNoCase(company, L"tolvark");
}

bool IsTrustedSigner(std::wstring_view company, const std::optional<std::wstring>& signer) {
  return signer && IsTrustedCompany(*signer) && common::EqualsNoCase(company, *signer);
}

}  // namespace zorvix
