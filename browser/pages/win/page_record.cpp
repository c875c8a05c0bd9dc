#include "browser/pages/win/page_record.h"

#include "browser/pages/open_pages.h"
#include "common/path.h"
#include "common/win/system.h"

namespace corvane {
namespace {

// Open with no sharing for as long as the browser runs; gone with the last handle, however it ends.
HANDLE OpenLock(const std::wstring& path, DWORD creation) {
  return CreateFileW(common::ExtendedPath(path).c_str(), GENERIC_READ | DELETE, 0, nullptr, creation,
                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Whether a running browser holds the slot's lock.
bool Held(const std::wstring& folder, int slot) {
  HANDLE h = OpenLock(folder + LockFileName(slot), OPEN_EXISTING);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);  // left by a browser that ended: it goes now
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

bool Left(const std::wstring& folder, int slot) {
  return common::FileSize(folder + RecordFileName(slot)) >= kRestoreMinBytes;
}

}  // namespace

bool PageRecord::Claim(const std::wstring& tempFolder) {
  Release();
  for (int slot = 1; slot <= kMaxRecords; ++slot) {
    HANDLE h = OpenLock(tempFolder + LockFileName(slot), OPEN_ALWAYS);
    if (h == INVALID_HANDLE_VALUE) continue;  // a running browser's
    if (Left(tempFolder, slot)) {
      CloseHandle(h);  // an ended browser's pages, kept for the restore dialog
      continue;
    }
    lock_ = h;
    slot_ = slot;
    path_ = tempFolder + RecordFileName(slot);
    return true;
  }
  slot_ = 1;
  path_ = tempFolder + RecordFileName(1);
  return false;
}

void PageRecord::Release() {
  if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
  lock_ = INVALID_HANDLE_VALUE;
}

std::vector<std::wstring> LeftRecords(const std::wstring& tempFolder, int own) {
  std::vector<std::wstring> left;
  for (int slot = 1; slot <= kMaxRecords; ++slot)
    if (slot != own && Left(tempFolder, slot) && !Held(tempFolder, slot)) left.push_back(tempFolder + RecordFileName(slot));
  return left;
}

void EmptyTemp(const std::wstring& tempFolder, int own) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(common::ExtendedPath(tempFolder + L"*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    auto slot = RecordSlotOf(fd.cFileName);
    if (!slot || *slot == own) DeleteFileW(common::ExtendedPath(tempFolder + fd.cFileName).c_str());
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

}  // namespace corvane
