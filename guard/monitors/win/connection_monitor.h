// The connection monitor: a poll of the TCP tables every 200 ms; when the rows changed, each watched
// row's program is checked against the monitored-program table. Allowed and trusted programs pass,
// blocked ones lose the connection, and an unknown one is frozen while an ask dialog is open for it.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/text.h"
#include "guard/monitors/program_table.h"
#include "guard/monitors/tcp_source.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/process_directory.h"

namespace zorvix {

// One connection of a poll with the program that holds it (path empty when unknown).
struct Connection {
  TcpRow row;
  OwnerProgram owner;
};

// Program paths held as whole entries, ignoring letter case: a path is listed or it is not, whatever
// else the list holds.
class PathList {
 public:
  void Add(const std::wstring& path) { paths_.insert(common::ToLower(path)); }
  void Remove(const std::wstring& path) { paths_.erase(common::ToLower(path)); }
  bool Contains(const std::wstring& path) const { return paths_.count(common::ToLower(path)) > 0; }
  void Clear() { paths_.clear(); }

 private:
  std::unordered_set<std::wstring> paths_;
};

class ConnectionMonitor {
 public:
  struct Hooks {
    std::function<bool(const std::wstring& path)> isTrusted;
    // The hooks of an ask dialog (the file report, the signer); the monitor adds the network ones.
    std::function<AskHooks()> askHooks;
    // Told once, the first time a connection could not be deleted for want of administrator rights.
    std::function<void()> needsAdmin;
    // Told once, the first time an IPv6 connection could not be deleted.
    std::function<void()> cannotDropIpv6;
  };
  ConnectionMonitor(TcpSource& source, KeyStore& store) : source_(&source), store_(store) {}
  void SetSource(TcpSource& source) { source_ = &source; }
  ~ConnectionMonitor();
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
  // Paths the guard knows already (its process table), so that only an unknown process is opened.
  void UseKnownPaths(ProcessDirectory::KnownPaths known) { directory_.UseKnownPaths(std::move(known)); }

  // One poll: skipped while an ask window is open or the firewall is off. Costs one fetch of the tables
  // and a compare unless the rows changed.
  void Poll();
  // The watched connections of this moment with their programs (the connections view).
  std::vector<Connection> ListConnections();
  // Stops a scan that yields to the window messages (the window goes away).
  void Stop() { stopped_ = true; }

  // The decision for one connection: true when it must be deleted now.
  bool CheckPrograms(const Connection& c);
  DropResult DropConnection(const TcpRow& row);

  // The monitored-program table (memory mirror of the settings section).
  void UpdatePrograms() { programs_.UpdatePrograms(store_); }
  bool AddProgram(const std::wstring& path, int block);
  void DeleteProgram(int index);
  const ProgramTable& programs() const { return programs_; }

  // Programs allowed for the rest of this run.
  const PathList& RunAllowList() const { return runAllowList_; }
  // Programs with an ask dialog open.
  const PathList& CurrentProcessing() const { return currentProcessing_; }
  size_t scans() const { return scans_; }

 private:
  void ScanConnections();
  void Ask(const Connection& c);
  std::optional<OwnerProgram> ProgramOf(DWORD pid);
  void YieldNow();

  TcpSource* source_;
  KeyStore& store_;
  Hooks hooks_;
  ProgramTable programs_;
  ProcessDirectory directory_;
  std::vector<TcpRow> fresh_, last_;
  PathList runAllowList_;
  PathList currentProcessing_;
  bool polling_ = false;
  bool stopped_ = false;
  bool adminTold_ = false;
  bool ipv6Told_ = false;
  uint64_t lastYield_ = 0;
  size_t scans_ = 0;
};

}  // namespace zorvix
