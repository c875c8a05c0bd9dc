#include "guard/monitors/win/autorun_files.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"
#include "guard/monitors/autorun_inf.h"

namespace zorvix {
namespace {

constexpr DWORD kPieceBytes = 64 * 1024;

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

}  // namespace

std::optional<std::wstring> ReadAutorunCommand(const std::wstring& inf) {
  Handle f(CreateFileW(common::ExtendedPath(inf).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // A disk file only: a device or pipe of that name could keep the read waiting for good.
  if (!f.ok() || GetFileType(f.get()) != FILE_TYPE_DISK) return std::nullopt;
  AutorunInfReader reader(common::AnsiCodePage());
  std::string piece(kPieceBytes, '\0');
  DWORD got = 0;
  while (ReadFile(f.get(), piece.data(), kPieceBytes, &got, nullptr) && got > 0)
    if (!reader.Feed(std::string_view(piece.data(), got))) break;
  reader.Finish();
  return reader.command();
}

}  // namespace zorvix
