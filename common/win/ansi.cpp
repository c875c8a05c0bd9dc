#include "common/win/ansi.h"

#include <windows.h>

#include "common/path.h"

namespace common {

std::string ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string r(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), r.data(), n, nullptr, nullptr);
  return r;
}

std::wstring FromAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring r(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), r.data(), n);
  return r;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(f, &size) && size.QuadPart < (1LL << 30)) {
    std::string data(size_t(size.QuadPart), '\0');
    DWORD got = 0;
    if (data.empty() || (ReadFile(f, data.data(), DWORD(data.size()), &got, nullptr) && got == data.size()))
      result = std::move(data);
  }
  CloseHandle(f);
  return result;
}

std::optional<std::wstring> ReadAnsiFile(const std::wstring& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return FromAnsi(*bytes);
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  std::wstring temp = path + L".new";
  HANDLE f = CreateFileW(ExtendedPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = bytes.empty() || (WriteFile(f, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size());
  ok = FlushFileBuffers(f) && ok;
  CloseHandle(f);
  if (ok) ok = MoveFileExW(ExtendedPath(temp).c_str(), ExtendedPath(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(ExtendedPath(temp).c_str());
  return ok;
}

bool WriteAnsiFile(const std::wstring& path, std::wstring_view text) { return WriteFileBytes(path, ToAnsi(text)); }

}  // namespace common
