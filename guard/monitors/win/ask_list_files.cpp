#include "guard/monitors/win/ask_list_files.h"

#include "common/text.h"
#include "common/win/text_file.h"
#include "common/win/system.h"
#include "guard/startup/guard_state.h"

namespace zorvix {
namespace {

std::wstring InFolder(const std::wstring& folder, const wchar_t* file) {
  return JoinPath(folder.empty() ? common::AppFolder() : folder, file);
}

bool Load(AskFileLists& lists, const std::wstring& path) {
  lists = {};
  if (!common::FileExists(path)) return true;
  auto text = common::ReadFileText(path, common::kSmallFileCap);
  if (!text) return false;
  lists = ParseAskFile(*text);
  return true;
}

bool Save(const AskFileLists& lists, const std::wstring& path) {
  CreateDirectoryW(common::FolderOf(path).c_str(), nullptr);
  return common::WriteTextFile(path, FormatAskFile(lists)).ok();
}

}  // namespace

DecisionLists& AskLists() {
  static DecisionLists lists;
  return lists;
}

std::wstring AskFilePath(const std::wstring& folder) { return InFolder(folder, kAskFile); }
std::wstring RegAskFilePath(const std::wstring& folder) { return InFolder(folder, kRegAskFile); }

bool LoadAskLists(const std::wstring& folder) { return Load(AskLists().process, AskFilePath(folder)); }
bool LoadRegAskLists(const std::wstring& folder) { return Load(AskLists().registry, RegAskFilePath(folder)); }
bool SaveAskLists(const std::wstring& folder) { return Save(AskLists().process, AskFilePath(folder)); }
bool SaveRegAskLists(const std::wstring& folder) { return Save(AskLists().registry, RegAskFilePath(folder)); }

}  // namespace zorvix
