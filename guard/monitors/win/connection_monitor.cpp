#include "guard/monitors/win/connection_monitor.h"

#include <algorithm>

#include "common/text.h"
#include "common/win/pump.h"
#include "guard/monitors/connection_rows.h"
#include "guard/guard_state.h"

namespace zorvix {

ConnectionMonitor::~ConnectionMonitor() { Formask::UnloadAll(AskMode::Network); }

std::wstring CannotDropText(const std::wstring& path, DropResult why, bool ipv6) {
  std::wstring name = L"【 " + common::FileNameOf(path) + L" 】";
  if (ipv6) return L"无法删除" + name + L"的IPv6网络连接：系统不提供删除IPv6连接的功能，该连接仍然存在。";
  if (why == DropResult::NeedsAdmin)
    return L"无法删除" + name + L"的网络连接：删除网络连接需要以管理员身份运行本软件，该连接仍然存在。";
  return L"无法删除" + name + L"的网络连接，该连接仍然存在。";
}

void ConnectionMonitor::Poll() {
  GuardState& g = Guard();
  if (polling_ || g.askWindowOpen || !g.firewallEnabled) return;
  if (!source_->ReadTcpRows(fresh_)) return;
  KeepWatched(fresh_);
  if (fresh_.empty() && !rescan_) return;
  // The connections themselves are compared: one replacing another leaves the count as it was.
  if (SameConnections(fresh_, last_) && !rescan_) return;
  last_.swap(fresh_);
  rescan_ = false;
  polling_ = true;
  stopped_ = false;
  ScanConnections();
  polling_ = false;
}

void ConnectionMonitor::ScanConnections() {
  ++scans_;
  directory_.Refresh();
  // No poll starts while this one runs, so the rows stay as they are while messages run in between.
  for (const TcpRow& row : last_) {
    if (stopped_) return;
    auto owner = ProgramOf(row.pid);
    if (!owner || owner->id.pid == GetCurrentProcessId()) continue;
    Connection c{row, *owner};
    if (networkCut_) {
      if (DropConnection(c) == DropResult::Dropped) ++cutDrops_;
    } else if (!AllowedOnce(owner->id) && !runAllowList_.Contains(owner->path) && CheckPrograms(c)) {
      DropConnection(c);
    }
    YieldNow();
  }
}

std::vector<Connection> ConnectionMonitor::ListConnections() {
  std::vector<TcpRow> rows;
  std::vector<Connection> list;
  if (!source_->ReadTcpRows(rows)) return list;
  KeepWatched(rows);
  directory_.Refresh();
  for (const TcpRow& row : rows) list.push_back({row, ProgramOf(row.pid).value_or(OwnerProgram{})});
  return list;
}

// The one place the program of a process id is looked up.
std::optional<OwnerProgram> ConnectionMonitor::ProgramOf(DWORD pid) { return directory_.Find(pid); }

// Lets the window messages run, at most once per clock tick: under load a queue check per row would
// cost more than the rows.
void ConnectionMonitor::YieldNow() {
  uint64_t now = GetTickCount64();
  if (now == lastYield_) return;
  lastYield_ = now;
  common::PumpMessages();
}

bool ConnectionMonitor::AllowedOnce(const ProcessIdentity& id) const {
  return std::find(allowedOnce_.begin(), allowedOnce_.end(), id) != allowedOnce_.end();
}

bool ConnectionMonitor::CheckPrograms(const Connection& c) {
  const std::wstring& path = c.owner.path;
  if (hooks_.isTrusted && hooks_.isTrusted(path)) {
    runAllowList_.Add(path);
    return false;
  }
  switch (programs_.Count(store_, path)) {
    case ProgramTable::Verdict::Allowed: runAllowList_.Add(path); return false;
    case ProgramTable::Verdict::Blocked: return Guard().firewallEnabled;
    case ProgramTable::Verdict::Unknown: break;
  }
  if (!currentProcessing_.Contains(path)) Ask(c);
  return false;  // the connection stays while the user decides
}

void ConnectionMonitor::Ask(const Connection& c) {
  std::wstring key = c.owner.path;
  currentProcessing_.Add(key);
  AskHooks h = hooks_.askHooks ? hooks_.askHooks() : AskHooks{};
  h.addProgram = [this](const std::wstring& path, int block) { AddProgram(path, block); };
  h.dropConnection = [this, c](const TcpRow& row) { DropConnection({row, c.owner}); };
  h.closed = [this, key, id = c.owner.id](const AskSubject&, AskAnswer answer) {
    // Allowed this once: the same process is not frozen and asked again while it runs.
    if (answer == AskAnswer::Allowed) {
      std::erase_if(allowedOnce_, [](const ProcessIdentity& p) { return !IsRunning(p); });
      allowedOnce_.push_back(id);
    }
    UpdatePrograms();
    currentProcessing_.Remove(key);
  };
  AskSubject s;
  s.FilePath = c.owner.path;
  s.connection = c.row;
  s.process = c.owner.id;
  // Programs that must run on (the system's own, critical ones) are asked about without freezing; one
  // that has ended meanwhile is not asked about.
  auto frozen = FrozenProcess::Freeze(c.owner.id);
  if ((!frozen && !IsRunning(c.owner.id)) || !Formask::Open(s, std::move(h), std::move(frozen)))
    currentProcessing_.Remove(key);
}

DropResult ConnectionMonitor::DropConnection(const Connection& c) {
  DropResult r = source_->Drop(c.row);
  if (r == DropResult::Dropped) return r;
  // The system has no call that deletes an IPv6 connection: the program keeps it, and the user must know.
  bool ipv6 = c.row.family == 6;
  unsigned cause = ipv6 ? 4 : r == DropResult::NeedsAdmin ? 2 : 1;
  notice_ = CannotDropText(c.owner.path, r, ipv6);
  if (!(told_ & cause) && hooks_.cannotDrop) hooks_.cannotDrop(notice_);
  told_ |= cause;
  return r;
}

void ConnectionMonitor::SetNetworkCut(bool on) {
  networkCut_ = on;
  rescan_ = on;  // every connection of this moment goes, not only the next new one
}

bool ConnectionMonitor::AddProgram(const std::wstring& path, int block) {
  bool added = zorvix::AddProgram(store_, path, block);
  if (added) runAllowList_.Clear();
  Changed();
  return added;
}

bool ConnectionMonitor::DeleteProgram(int index, const std::wstring& path) {
  bool deleted = zorvix::DeleteProgram(store_, index, path);
  runAllowList_.Clear();
  Changed();
  return deleted;
}

// The counters are stored by entry number, so the table in memory follows every change at once.
void ConnectionMonitor::Changed() {
  UpdatePrograms();
  if (hooks_.programsChanged) hooks_.programsChanged();
}

}  // namespace zorvix
