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
    // A connection stayed although it had to go (no administrator rights, or IPv6, which the system
    // cannot delete): told once a run for each cause, with the program named.
    std::function<void(const std::wstring& text)> cannotDrop;
    // The monitored-program table changed: every view of it reads it again.
    std::function<void()> programsChanged;
  };
  ConnectionMonitor(TcpSource& source, KeyStore& store) : source_(&source), store_(store) {}
  void SetSource(TcpSource& source) { source_ = &source; }
  ~ConnectionMonitor();
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
  // Paths the guard knows already (its process table), so that only an unknown process is opened.
  void UseKnownPaths(ProcessDirectory::KnownPaths known) { directory_.UseKnownPaths(std::move(known)); }

  // One poll: skipped while an ask window is open or the firewall is off. Costs one fetch of the tables
  // and a compare unless the connections changed (a change of state alone is none).
  void Poll();
  // The watched connections of this moment with their programs (the connections view).
  std::vector<Connection> ListConnections();
  // Stops a scan that yields to the window messages (the guard unloads).
  void Stop() { stopped_ = true; }

  // The decision for one connection: true when it must be deleted now.
  bool CheckPrograms(const Connection& c);
  DropResult DropConnection(const Connection& c);

  // "断开网络": while set, every connection of every program but the guard is deleted.
  void SetNetworkCut(bool on);
  bool networkCut() const { return networkCut_; }
  // Connections deleted for the cut this run.
  int cutDrops() const { return cutDrops_; }
  // The last notice of a connection that stayed, in full (the status line of the firewall window).
  const std::wstring& notice() const { return notice_; }

  // The monitored-program table (memory mirror of the settings section).
  void UpdatePrograms() { programs_.UpdatePrograms(store_); }
  bool AddProgram(const std::wstring& path, int block);
  // Deletes the entry of the program a view shows at that number; false when it is gone.
  bool DeleteProgram(int index, const std::wstring& path);
  const ProgramTable& programs() const { return programs_; }

  // Programs allowed for the rest of this run.
  const PathList& RunAllowList() const { return runAllowList_; }
  // Programs with an ask dialog open.
  const PathList& CurrentProcessing() const { return currentProcessing_; }
  // A process allowed once ("本次允许") passes while it runs.
  bool AllowedOnce(const ProcessIdentity& id) const;
  size_t scans() const { return scans_; }

 private:
  void ScanConnections();
  void Ask(const Connection& c);
  std::optional<OwnerProgram> ProgramOf(DWORD pid);
  void Changed();
  void YieldNow();

  TcpSource* source_;
  KeyStore& store_;
  Hooks hooks_;
  ProgramTable programs_;
  ProcessDirectory directory_;
  std::vector<TcpRow> fresh_, last_;
  PathList runAllowList_;
  PathList currentProcessing_;
  std::vector<ProcessIdentity> allowedOnce_;
  std::wstring notice_;
  bool polling_ = false;
  bool stopped_ = false;
  unsigned told_ = 0;  // the causes of a connection that stayed the user was told of
  bool networkCut_ = false;
  bool rescan_ = false;
  int cutDrops_ = 0;
  uint64_t lastYield_ = 0;
  size_t scans_ = 0;
};

// What the user is told when a connection stays.
std::wstring CannotDropText(const std::wstring& path, DropResult why, bool ipv6);

}  // namespace zorvix
