// The group files as the file system holds them; every name passed here has passed IsPlainGroupName
// or comes from the folder's own listing.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "common/win/text_file.h"

namespace corvane {

// The folder's groups in the order the file system lists "*.txt" (folders included, as listed).
std::vector<std::wstring> ListGroups(const std::wstring& groupFolder);
std::wstring GroupPath(const std::wstring& groupFolder, const std::wstring& name);
bool GroupExists(const std::wstring& groupFolder, const std::wstring& name);
std::optional<std::wstring> ReadGroup(const std::wstring& groupFolder, const std::wstring& name);

struct GroupWrite {
  common::TextWrite write;
  std::wstring stored;  // the text as written: addresses the form cannot hold in their ASCII form
  bool ok() const { return write.ok(); }
};
// Written whole to a new file in the form given (a new group: the code page), then moved over the old one.
GroupWrite WriteGroup(const std::wstring& groupFolder, const std::wstring& name, const std::wstring& text,
                      const common::TextFormat& format = {});

enum class GroupChange { kDone, kNoFile, kExists, kFailed };
// Renames the group's file; never replaces another group.
GroupChange RenameGroup(const std::wstring& groupFolder, const std::wstring& from, const std::wstring& to);
GroupChange DeleteGroup(const std::wstring& groupFolder, const std::wstring& name);

}  // namespace corvane
