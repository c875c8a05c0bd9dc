#include "guard/monitors/win/ask_list_files.h"

#include "common/path.h"
#include "common/text.h"
#include "common/win/system.h"

namespace zorvix {
namespace {

std::wstring InFolder(const std::wstring& folder, const wchar_t* file) {
  return common::JoinPath(folder.empty() ? common::AppFolder() : folder, file);
}

bool Load(AskFileLists& lists, ListFileState& state, const std::wstring& path) {
  common::TextFile file = common::ReadTextFile(path, kListFileCap);
  state = {file.status, file.format, file.exact};
  lists.Reload(file.ok() ? ParseAskFile(file.text) : AskFileLists{});
  return state.writable();
}

common::TextWrite Write(const AskFileLists& lists, const ListFileState& state, const std::wstring& path) {
  if (!state.writable()) return {};  // kFailed: what could not be read is not written over
  CreateDirectoryW(common::ExtendedPath(common::FolderOf(path)).c_str(), nullptr);
  return common::WriteTextFile(path, FormatAskFile(lists), state.format);
}

std::wstring CannotKeepText(const std::wstring& location, const std::wstring& why) {
  return L"您对【 " + location + L" 】的选择无法保存，只在本次运行期间有效：" + why;
}

}  // namespace

bool ListFileState::writable() const {
  return status == common::ReadStatus::kMissing || (status == common::ReadStatus::kRead && exact);
}

DecisionLists& AskLists() {
  static DecisionLists lists;
  return lists;
}

std::wstring AskFilePath(const std::wstring& folder) { return InFolder(folder, kAskFile); }
std::wstring RegAskFilePath(const std::wstring& folder) { return InFolder(folder, kRegAskFile); }

bool LoadAskLists(const std::wstring& folder) {
  return Load(AskLists().process, AskLists().processFile, AskFilePath(folder));
}
bool LoadRegAskLists(const std::wstring& folder) {
  return Load(AskLists().registry, AskLists().registryFile, RegAskFilePath(folder));
}
bool SaveAskLists(const std::wstring& folder) {
  return Write(AskLists().process, AskLists().processFile, AskFilePath(folder)).ok();
}
bool SaveRegAskLists(const std::wstring& folder) {
  return Write(AskLists().registry, AskLists().registryFile, RegAskFilePath(folder)).ok();
}

std::optional<std::wstring> ListFileProblem(const std::wstring& path, const ListFileState& state) {
  using common::ReadStatus;
  switch (state.status) {
    case ReadStatus::kMissing: return std::nullopt;
    case ReadStatus::kTooLarge:
      return L"列表文件 " + path + L" 超过 " + std::to_wstring(kListFileCap >> 20) + L" MB，没有读取。";
    case ReadStatus::kUnreadable: return L"列表文件 " + path + L" 无法读取。";
    case ReadStatus::kRead: break;
  }
  if (state.exact) return std::nullopt;
  return L"列表文件 " + path + L" 含有无法原样写回的内容，不会被改写。";
}

std::optional<std::wstring> RecordRegDecision(const std::wstring& location, bool allow, const std::wstring& folder) {
  DecisionLists& all = AskLists();
  std::wstring path = RegAskFilePath(folder);
  bool readable = LoadRegAskLists(folder);
  DecisionList& list = allow ? all.registry.allow : all.registry.deny;
  if (list.Contains(location)) return std::nullopt;
  std::wstring why;
  if (!DecisionList::Storable(location)) {
    why = L"其中含有列表文件不能保存的字符（“;”或换行）。";
  } else if (!readable) {
    why = ListFileProblem(path, all.registryFile).value_or(L"");
  } else {
    list.Add(location);
    common::TextWrite w = Write(all.registry, all.registryFile, path);
    if (w.ok()) return std::nullopt;
    list.Remove(location);
    why = w.status == common::WriteStatus::kNotHeld ? L"列表文件 " + path + L" 的编码不能保存其中的字符。"
                                                    : L"列表文件 " + path + L" 无法写入。";
  }
  list.AddForRun(location);
  if (!all.told.insert(common::ToLower(location)).second) return std::nullopt;
  return CannotKeepText(location, why);
}

}  // namespace zorvix
