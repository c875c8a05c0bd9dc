#include "guard/process/win/file_details.h"

#include <shlwapi.h>

#include "common/path.h"
#include "common/win/version_info.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/process_query.h"
#include "guard/guard_state.h"

namespace zorvix {
namespace {

std::wstring SizeText(const WIN32_FILE_ATTRIBUTE_DATA& a) {
  wchar_t buf[64] = L"";
  LONGLONG bytes = (LONGLONG(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  return StrFormatByteSizeW(bytes, buf, 64) ? buf : L"";
}

// Local date and time in the user's short formats, without seconds, as the details columns show them.
std::wstring TimeText(const FILETIME& ft) {
  SYSTEMTIME utc, local;
  if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return L"";
  wchar_t date[80] = L"", time[80] = L"";
  if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80, nullptr)) return L"";
  if (!GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80)) return date;
  return std::wstring(date) + L" " + time;
}

}  // namespace

FileDetails ReadFileDetails(const std::wstring& path) {
  FileDetails d;
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (GetFileAttributesExW(common::ExtendedPath(path).c_str(), GetFileExInfoStandard, &a)) {
    if (!(a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) d.size = SizeText(a);
    d.created = TimeText(a.ftCreationTime);
    d.modified = TimeText(a.ftLastWriteTime);
    d.attributes = AttributeLetters(a.dwFileAttributes);
  }
  if (auto v = common::ReadVersionTexts(path)) {
    d.description = v->description;
    d.company = v->company;
    d.version = v->fileVersion;
    d.product = v->product;
  }
  return d;
}

std::wstring BuildFileInfo(std::wstring& path, const ProcessTable& table) {
  path = ResolveBareName(path);
  std::wstring memory;
  std::optional<std::wstring> remark;
  if (Guard().shownFromTray) {
    const ProcessRow* row = table.SelectedRow();
    memory = row ? MemoryText(row->workingSet) : L"";
    remark = row ? row->remark : L"";
  } else {
    memory = table.LookupProcessColumn(path, kColMemory);
  }
  return FileInfoReport(path, ReadFileDetails(path), memory, remark);
}

}  // namespace zorvix
