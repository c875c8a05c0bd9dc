#include "guard/monitors/win/autorun_scan.h"

#include <mutex>
#include <thread>

#include "common/text.h"
#include "common/win/system.h"
#include "guard/monitors/win/autorun_files.h"

namespace zorvix {

std::vector<std::wstring> LogicalDriveRoots() {
  wchar_t buf[512]{};
  DWORD n = GetLogicalDriveStringsW(511, buf);
  std::vector<std::wstring> roots;
  for (const wchar_t* p = buf; n && n < 512 && *p; p += wcslen(p) + 1) roots.push_back(common::ToUpper(p));
  return roots;
}

std::vector<std::wstring> DriveRootsOfMask(DWORD unitMask) {
  std::vector<std::wstring> roots;
  for (int i = 0; i < 26; ++i)
    if (unitMask & (1u << i)) roots.push_back(std::wstring(1, wchar_t(L'A' + i)) + L":\\");
  return roots;
}

std::optional<AutorunFinding> ExamineDrive(const std::wstring& root) {
  DriveKind kind = DriveKindOf(GetDriveTypeW(root.c_str()));
  if (!ScansDrive(kind)) return std::nullopt;
  std::wstring inf = root + L"autorun.inf";
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(inf.c_str(), GetFileExInfoStandard, &a) || (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  long long size = (static_cast<long long>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  if (size < kMinAutorunBytes) return std::nullopt;
  std::wstring windows = common::GetWindowsFolder();
  AutorunFinding found{root, kind, inf, CleanerMayDelete(inf, root, windows)};
  if (auto command = ReadAutorunCommand(inf)) {
    std::wstring program = AutorunProgram(*command);
    if (!program.empty()) {
      found.target = AutorunTargetPath(root, program);
      found.targetDeletable = CleanerMayDelete(*found.target, root, windows);
    }
  }
  return found;
}

struct AutorunScan::State {
  std::mutex m;
  bool done = false;
  std::vector<AutorunFinding> found;
};

bool AutorunScan::Start(std::vector<std::wstring> roots) {
  if (Busy()) return false;
  auto state = std::make_shared<State>();
  state_ = state;
  // Detached: a drive that never answers keeps only this thread waiting, never the guard or its exit.
  std::thread([state, examine = examine_, roots = std::move(roots)] {
    std::vector<AutorunFinding> found;
    for (const std::wstring& root : roots.empty() ? LogicalDriveRoots() : roots)
      if (auto f = examine(root)) found.push_back(std::move(*f));
    std::lock_guard lock(state->m);
    state->found = std::move(found);
    state->done = true;
  }).detach();
  return true;
}

bool AutorunScan::Busy() const {
  if (!state_) return false;
  std::lock_guard lock(state_->m);
  return !state_->done;
}

std::optional<std::vector<AutorunFinding>> AutorunScan::Take() {
  if (!state_ || Busy()) return std::nullopt;
  auto found = std::move(state_->found);
  state_.reset();
  return found;
}

}  // namespace zorvix
