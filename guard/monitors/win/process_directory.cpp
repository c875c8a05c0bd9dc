#include "guard/monitors/win/process_directory.h"

#include "guard/process/win/process_query.h"
#include "guard/process/win/process_system.h"

namespace zorvix {
namespace {

// The path of a process opened for it; empty when it cannot be opened or the id has passed to another
// process since the snapshot (its path must not be filed under the old start time).
std::wstring OpenedPath(DWORD pid, uint64_t started) {
  HANDLE h = OpenForQuery(pid);
  if (!h) return L"";
  std::wstring path = StartTimeOf(h) == started ? ProcessImagePath(h) : L"";
  CloseHandle(h);
  return path;
}

}  // namespace

bool ProcessDirectory::Refresh() {
  if (!running_.Take(RealProcessSystem())) return false;
  std::erase_if(known_, [this](const auto& k) {
    const ProcessInfo* p = running_.Find(k.first);
    return !p || p->started != k.second.id.started;
  });
  return true;
}

std::optional<OwnerProgram> ProcessDirectory::Find(DWORD pid) {
  const ProcessInfo* run = running_.Find(pid);
  if (!run) return std::nullopt;
  auto it = known_.find(pid);
  if (it == known_.end()) {
    OwnerProgram p{{pid, run->started}, L""};
    if (auto path = knownPaths_ ? knownPaths_(pid, run->started) : std::nullopt) {
      p.path = *path;
    } else {
      ++opened_;
      p.path = OpenedPath(pid, run->started);
    }
    it = known_.emplace(pid, std::move(p)).first;
  }
  if (it->second.path.empty()) return std::nullopt;
  return it->second;
}

}  // namespace zorvix
