// Tests: a drive letter over a temporary folder. Under Wine the mount manager declares it with a drive
// type (removable, fixed, network); elsewhere it is a substituted drive, which the system reports as fixed.
#pragma once
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

namespace zorvix::test_support {

class ScratchDrive {
 public:
  ScratchDrive(const std::wstring& folder, UINT driveType);
  ~ScratchDrive();
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;
  bool ok() const { return letter_ != 0; }
  std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }
  DWORD unitMask() const { return 1u << (letter_ - L'A'); }

 private:
  bool DefineWine(const std::wstring& folder, UINT driveType);
  wchar_t letter_ = 0;
  bool wine_ = false;
};


namespace scratch_detail {

// The mount manager's request to (un)define a drive over a Unix folder, as Wine declares it.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

inline bool DefineUnixDrive(wchar_t letter, const char* unixFolder, UINT type) {
  std::vector<char> buf(sizeof(UnixDrive) + (unixFolder ? strlen(unixFolder) + 1 : 0));
  auto* d = reinterpret_cast<UnixDrive*>(buf.data());
  d->size = ULONG(buf.size());
  d->type = type;
  d->letter = letter;
  if (unixFolder) {
    d->mountPointOffset = sizeof(UnixDrive);
    strcpy(buf.data() + sizeof(UnixDrive), unixFolder);
  }
  HANDLE mgr = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  if (mgr == INVALID_HANDLE_VALUE) return false;
  DWORD got = 0;
  bool ok = DeviceIoControl(mgr, kDefineUnixDrive, buf.data(), DWORD(buf.size()), nullptr, 0, &got, nullptr);
  CloseHandle(mgr);
  return ok;
}

// A letter naming no drive, or only an empty disk left behind by an earlier definition.
inline wchar_t FreeLetter() {
  DWORD used = GetLogicalDrives();
  for (wchar_t c = L'Y'; c >= L'M'; --c) {
    wchar_t root[] = {c, L':', L'\\', 0};
    if (!(used & (1u << (c - L'A'))) || GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) return c;
  }
  return 0;
}

}  // namespace scratch_detail

inline ScratchDrive::ScratchDrive(const std::wstring& folder, UINT driveType) {
  wchar_t letter = scratch_detail::FreeLetter();
  if (!letter) return;
  letter_ = letter;
  if (DefineWine(folder, driveType)) return;
  std::wstring device = std::wstring(1, letter) + L":";
  if (!DefineDosDeviceW(0, device.c_str(), folder.c_str())) letter_ = 0;
}

inline bool ScratchDrive::DefineWine(const std::wstring& folder, UINT driveType) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  char* path = unixName(folder.c_str());
  if (!path) return false;
  wine_ = scratch_detail::DefineUnixDrive(letter_, path, driveType);
  HeapFree(GetProcessHeap(), 0, path);
  return wine_;
}

inline ScratchDrive::~ScratchDrive() {
  if (!letter_) return;
  // The mount manager leaves the letter naming an empty disk; the name goes too, or letters run out.
  if (wine_) scratch_detail::DefineUnixDrive(letter_, nullptr, DRIVE_UNKNOWN);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, (std::wstring(1, letter_) + L":").c_str(), nullptr);
}

}  // namespace zorvix::test_support
