// The connection monitor's costs, each against the platform's own in the same run:
// - a poll of an unchanged table (about 100 loopback rows) against the bare GetExtendedTcpTable calls;
// - a scan of 1,000 rows held by 150 running programs, all known, against a bare process snapshot plus
//   the table fetch (the system call the scan uses, and the toolhelp walk);
// - handles and working set before and after 10,000 polls (one in ten with changed rows).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <iphlpapi.h>
#include <tlhelp32.h>

#include <memory>
#include <vector>

#include "bench/win/bench_util.h"
#include "common/path.h"
#include "common/win/system.h"
#include "guard/monitors/win/connection_monitor.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/monitors/win/tcp_source_system.h"
#include "guard/monitors/win/testing/tcp_table_double.h"
#include "guard/guard_state.h"

namespace {

using zorvix::test_support::TcpTableDouble;

// An idle copy of this program: it opens no window, so 150 of them do not exhaust the display's clients.
constexpr wchar_t kIdleArg[] = L"--idle";

struct Child {
  PROCESS_INFORMATION pi{};
  explicit Child(const std::wstring& exe) {
    std::wstring line = common::QuoteArg(exe) + L" " + kIdleArg;
    STARTUPINFOW si{sizeof si};
    CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  }
  ~Child() {
    if (!pi.hProcess) return;
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
};

// Loopback connections, so that the real table holds a few hundred rows.
class Loopback {
 public:
  explicit Loopback(int pairs) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof addr;
    server_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    bind(server_, reinterpret_cast<sockaddr*>(&addr), len);
    listen(server_, SOMAXCONN);
    getsockname(server_, reinterpret_cast<sockaddr*>(&addr), &len);
    for (int i = 0; i < pairs; ++i) {
      SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      if (connect(c, reinterpret_cast<sockaddr*>(&addr), len)) break;
      sockets_.push_back(c);
      sockets_.push_back(accept(server_, nullptr, nullptr));
    }
  }
  ~Loopback() {
    for (SOCKET s : sockets_) closesocket(s);
    closesocket(server_);
    WSACleanup();
  }

 private:
  SOCKET server_;
  std::vector<SOCKET> sockets_;
};

// The platform's cost of the same table: both families, into buffers kept between calls.
void BareTableCalls() {
  static std::vector<BYTE> buf(1 << 20);
  for (ULONG family : {ULONG(AF_INET), ULONG(AF_INET6)}) {
    DWORD size = DWORD(buf.size());
    GetExtendedTcpTable(buf.data(), &size, FALSE, family, TCP_TABLE_OWNER_PID_ALL, 0);
  }
}

void ToolhelpSnapshot() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
  }
  CloseHandle(snap);
}

// The one system call the scan's process look-up makes, into a buffer kept between calls.
void SystemSnapshot() {
  using QueryFn = LONG(NTAPI*)(int, PVOID, ULONG, PULONG);
  static auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  static std::vector<BYTE> buf(1 << 20);
  ULONG needed = 0;
  query(5 /* SystemProcessInformation */, buf.data(), ULONG(buf.size()), &needed);
}

// Open handles; where the system does not count them (Wine), the value a new handle gets, which
// climbs when handles leak, since freed slots are used again first.
size_t Handles() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return n;
  HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(probe);
  return reinterpret_cast<size_t>(probe) / 4;
}

}  // namespace

int main() {
  if (std::wstring(GetCommandLineW()).ends_with(kIdleArg)) {
    Sleep(INFINITE);
    return 0;
  }
  std::wstring self = common::ExePath();
  zorvix::SettingsSection store(zorvix::kGuardApp, L"FireWallBench");
  store.Clear();

  // 1. An unchanged table: one fetch and a compare.
  {
    Loopback loopback(50);
    zorvix::SystemTcpSource source;
    zorvix::ConnectionMonitor monitor(source, store);
    std::vector<zorvix::TcpRow> rows;
    source.ReadTcpRows(rows);
    double t0 = bench::NowMs();
    source.ReadTcpRows(rows);
    std::printf("real table rows: %zu (one fetch %.1f ms)\n", rows.size(), bench::NowMs() - t0);
    std::fflush(stdout);
    monitor.Poll();
    double poll = bench::BestMs([&] { monitor.Poll(); }, 10, 5);
    double bare = bench::BestMs(BareTableCalls, 10, 5);
    bench::Report("poll of an unchanged table", poll, "bare GetExtendedTcpTable (v4+v6)", bare);
  }

  // 2. A scan over 1,000 rows of 150 programs, all known.
  std::vector<std::unique_ptr<Child>> children;
  for (int i = 0; i < 150; ++i) children.push_back(std::make_unique<Child>(self));
  Sleep(2000);
  int running = 0;
  for (auto& c : children) running += c->Running();
  std::printf("programs running: %d of 150\n", running);
  TcpTableDouble table;
  for (int i = 0; i < 1000; ++i)
    table.rows.push_back(TcpTableDouble::Connection(children[i % 150]->pi.dwProcessId, uint16_t(20000 + i)));
  zorvix::ConnectionMonitor monitor(table, store);
  monitor.AddProgram(self, 1);
  monitor.UpdatePrograms();
  uint16_t flip = 0;
  auto changedPoll = [&] {
    table.rows[0].localPort = TcpTableDouble::NetPort(uint16_t(40000 + (++flip & 1)));
    monitor.Poll();
  };
  changedPoll();  // the first scan opens each process once
  double scan = bench::BestMs(changedPoll, 20, 5);
  std::vector<zorvix::TcpRow> copy;
  double bare = bench::BestMs([&] { SystemSnapshot(), table.ReadTcpRows(copy); }, 20, 5);
  bench::Report("scan: 1000 rows, 150 programs, all known", scan, "bare NtQuerySystemInformation + fetch", bare);
  double toolhelp = bench::BestMs([&] { ToolhelpSnapshot(), table.ReadTcpRows(copy); }, 20, 5);
  bench::Report("scan: 1000 rows, 150 programs, all known", scan, "bare toolhelp snapshot + fetch", toolhelp);

  // 3. Nothing grows from poll to poll.
  for (int i = 0; i < 100; ++i) i % 10 ? monitor.Poll() : changedPoll();
  size_t handles0 = Handles(), ws0 = bench::WorkingSetMB();
  size_t scans0 = monitor.scans();
  for (int i = 0; i < 10000; ++i) i % 10 ? monitor.Poll() : changedPoll();
  size_t handles1 = Handles(), ws1 = bench::WorkingSetMB();
  std::printf("%-48s %10zu      %-32s %10zu      ratio %.2f\n", "handles (or handle slot) after 10,000 polls", handles1,
              "before", handles0, handles0 ? double(handles1) / double(handles0) : 0.0);
  std::printf("%-48s %10zu MB   %-32s %10zu MB   ratio %.2f   (%zu scans)\n", "working set after 10,000 polls", ws1,
              "before", ws0, ws0 ? double(ws1) / double(ws0) : 0.0, monitor.scans() - scans0);
  store.Clear();
  return 0;
}
