#include "guard/monitors/win/connection_monitor.h"

#include "common/text.h"
#include "common/win/pump.h"
#include "guard/monitors/connection_rows.h"
#include "guard/startup/guard_state.h"

namespace zorvix {

ConnectionMonitor::~ConnectionMonitor() { Formask::UnloadAll(AskMode::Network); }

void ConnectionMonitor::Poll() {
  GuardState& g = Guard();
  if (polling_ || g.askWindowOpen || !g.firewallEnabled) return;
  if (!source_->ReadTcpRows(fresh_) || fresh_.empty()) return;
  // The rows themselves are compared: one connection replacing another leaves the count as it was.
  if (fresh_ == last_) return;
  last_.swap(fresh_);
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
    if (!IsWatched(row)) continue;
    auto owner = ProgramOf(row.pid);
    if (!owner || owner->id.pid == GetCurrentProcessId()) continue;
    if (!runAllowList_.Contains(owner->path) && CheckPrograms({row, *owner})) DropConnection(row);
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
  h.dropConnection = [this](const TcpRow& row) { DropConnection(row); };
  h.closed = [this, key](const AskSubject&, AskAnswer) {
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

DropResult ConnectionMonitor::DropConnection(const TcpRow& row) {
  DropResult r = source_->Drop(row);
  if (r == DropResult::NeedsAdmin && !adminTold_) {
    adminTold_ = true;
    if (hooks_.needsAdmin) hooks_.needsAdmin();
  }
  // The system has no call that deletes an IPv6 connection: the program keeps it, and the user must know.
  if (r == DropResult::Failed && row.family == 6 && !ipv6Told_) {
    ipv6Told_ = true;
    if (hooks_.cannotDropIpv6) hooks_.cannotDropIpv6();
  }
  return r;
}

bool ConnectionMonitor::AddProgram(const std::wstring& path, int block) {
  bool added = zorvix::AddProgram(store_, path, block);
  if (added) runAllowList_.Clear();
  return added;
}

void ConnectionMonitor::DeleteProgram(int index) {
  zorvix::DeleteProgram(store_, index);
  runAllowList_.Clear();
}

}  // namespace zorvix
