#include "browser/pages/win/group_files.h"

#include <windows.h>

#include "browser/pages/groups.h"
#include "browser/pages/win/favorites_files.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"

namespace corvane {

std::vector<std::wstring> ListGroups(const std::wstring& groupFolder) {
  std::vector<std::wstring> names;
  for (const auto& e : ListFolder(groupFolder, L"*.txt"))
    if (auto name = GroupNameOf(e.name)) names.push_back(*name);
  return names;
}

std::wstring GroupPath(const std::wstring& groupFolder, const std::wstring& name) {
  return groupFolder + name + L".txt";
}

bool GroupExists(const std::wstring& groupFolder, const std::wstring& name) {
  return GetFileAttributesW(common::ExtendedPath(GroupPath(groupFolder, name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> ReadGroup(const std::wstring& groupFolder, const std::wstring& name) {
  return common::ReadFileText(GroupPath(groupFolder, name), common::kSmallFileCap);
}

GroupWrite WriteGroup(const std::wstring& groupFolder, const std::wstring& name, const std::wstring& text,
                      const common::TextFormat& format) {
  std::wstring path = GroupPath(groupFolder, name);
  GroupWrite r{common::WriteTextFile(path, text, format), text};
  if (r.write.status != common::WriteStatus::kNotHeld) return r;
  // Only the lines the form cannot hold change: they open the same pages in their ASCII form.
  common::TextFormat bare{format.encoding, 0};
  r.stored = HeldAddresses(text, [&](std::wstring_view line) {
    return common::EncodeExactly(line, bare, common::AnsiCodePage()).has_value();
  });
  r.write = common::WriteTextFile(path, r.stored, format);
  return r;
}

GroupChange RenameGroup(const std::wstring& groupFolder, const std::wstring& from, const std::wstring& to) {
  std::wstring source = common::ExtendedPath(GroupPath(groupFolder, from));
  std::wstring target = common::ExtendedPath(GroupPath(groupFolder, to));
  if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) return GroupChange::kNoFile;
  if (!common::EqualsNoCase(from, to)) {
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) return GroupChange::kExists;
    return MoveFileExW(source.c_str(), target.c_str(), 0) ? GroupChange::kDone : GroupChange::kFailed;
  }
  // A change of letter case only: the target is the file itself, which some file systems keep as it is
  // unless it moves away first.
  std::wstring aside = source + L".rename";
  if (!MoveFileExW(source.c_str(), aside.c_str(), 0)) return GroupChange::kFailed;
  if (MoveFileExW(aside.c_str(), target.c_str(), 0)) return GroupChange::kDone;
  MoveFileExW(aside.c_str(), source.c_str(), 0);
  return GroupChange::kFailed;
}

GroupChange DeleteGroup(const std::wstring& groupFolder, const std::wstring& name) {
  std::wstring path = common::ExtendedPath(GroupPath(groupFolder, name));
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return GroupChange::kNoFile;
  return DeleteFileW(path.c_str()) ? GroupChange::kDone : GroupChange::kFailed;
}

}  // namespace corvane
