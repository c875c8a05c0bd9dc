#include "guard/monitors/win/startup_backup.h"

#include <windows.h>

#include <cwchar>

#include "common/path.h"
#include "common/text.h"
#include "common/win/system.h"
#include "common/win/text_file.h"

namespace zorvix {
namespace {

// The comment above an entry: when the value was deleted.
std::wstring SavedWhen() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t buf[64];
  swprintf(buf, 64, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return std::wstring(buf) + L" 删除前保存";
}

}  // namespace

std::wstring StartupBackupPath(const std::wstring& folder) {
  return common::JoinPath(folder.empty() ? common::AppFolder() : folder, kStartupBackupFile);
}

bool AppendStartupBackup(const std::wstring& file, const SavedRegValue& value) {
  common::TextFile old = common::ReadTextFile(file, common::kLargeFileCap);
  if (!old.editable()) return false;
  bool fresh = old.status == common::ReadStatus::kMissing;
  std::wstring text = fresh ? RegFileStart() : old.text;
  common::TextFormat format = fresh ? common::TextFormat{common::Encoding::Utf16Le, 2} : old.format;
  text += RegFileEntry(value, SavedWhen());
  CreateDirectoryW(common::ExtendedPath(common::FolderOf(file)).c_str(), nullptr);
  return common::WriteTextFile(file, text, format).ok();
}

}  // namespace zorvix
