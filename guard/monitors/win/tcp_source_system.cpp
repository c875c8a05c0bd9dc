#include "guard/monitors/win/tcp_source_system.h"

#include <winsock2.h>
#include <ws2ipdef.h>

#include <iphlpapi.h>

#include <algorithm>
#include <cstring>

#include "guard/monitors/connection_rows.h"

#include "common/win/system.h"

namespace zorvix {
namespace {

// Both calls are looked up when first needed: the older one exists only on older systems, and a
// system without the newer one must still start.
using GetExtendedFn = DWORD(WINAPI*)(PVOID, PDWORD, BOOL, ULONG, TCP_TABLE_CLASS, ULONG);
using AllocateFromStackFn = DWORD(WINAPI*)(PVOID*, BOOL, HANDLE, DWORD, DWORD);

template <typename Fn>
Fn Lookup(const char* name) {
  HMODULE ip = GetModuleHandleW(L"iphlpapi.dll");
  if (!ip) ip = LoadLibraryW(L"iphlpapi.dll");
  return common::FindProc<Fn>(ip, name);
}

GetExtendedFn GetExtended() {
  static GetExtendedFn fn = Lookup<GetExtendedFn>("GetExtendedTcpTable");
  return fn;
}

AllocateFromStackFn AllocateFromStack() {
  static AllocateFromStackFn fn = Lookup<AllocateFromStackFn>("AllocateAndGetTcpExTableFromStack");
  return fn;
}

TcpRow FromV4(const MIB_TCPROW_OWNER_PID& r) {
  TcpRow row;
  row.state = r.dwState;
  std::memcpy(row.localAddr.data(), &r.dwLocalAddr, 4);
  std::memcpy(row.remoteAddr.data(), &r.dwRemoteAddr, 4);
  row.localPort = r.dwLocalPort;
  row.remotePort = r.dwRemotePort;
  row.pid = r.dwOwningPid;
  return row;
}

TcpRow FromV6(const MIB_TCP6ROW_OWNER_PID& r) {
  TcpRow row;
  row.family = 6;
  row.state = r.dwState;
  std::memcpy(row.localAddr.data(), r.ucLocalAddr, 16);
  std::memcpy(row.remoteAddr.data(), r.ucRemoteAddr, 16);
  row.localScope = r.dwLocalScopeId;
  row.remoteScope = r.dwRemoteScopeId;
  row.localPort = r.dwLocalPort;
  row.remotePort = r.dwRemotePort;
  row.pid = r.dwOwningPid;
  return row;
}

}  // namespace

bool SystemTcpSource::ReadTcpRows(std::vector<TcpRow>& rows) {
  rows.clear();
  if (!GetExtended()) return FetchFromStack(rows);
  if (!FetchExtended(AF_INET, rows)) return false;
  // A system without IPv6 has no such table; its IPv4 rows still stand.
  FetchExtended(AF_INET6, rows);
  return true;
}

bool SystemTcpSource::FetchExtended(ULONG family, std::vector<TcpRow>& rows) {
  if (buffer_.size() < 4096) buffer_.resize(4096);
  DWORD rc = ERROR_INSUFFICIENT_BUFFER;
  for (int tries = 0; tries < 4 && rc == ERROR_INSUFFICIENT_BUFFER; ++tries) {
    DWORD size = DWORD(buffer_.size());
    rc = GetExtended()(buffer_.data(), &size, FALSE, family, TCP_TABLE_OWNER_PID_ALL, 0);
    if (rc == ERROR_INSUFFICIENT_BUFFER) buffer_.resize(size + size / 4 + 1024);  // rows may appear meanwhile
  }
  if (rc != NO_ERROR) return false;
  if (family == AF_INET) {
    auto* t = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(buffer_.data());
    for (DWORD i = 0; i < t->dwNumEntries; ++i) rows.push_back(FromV4(t->table[i]));
  } else {
    auto* t = reinterpret_cast<const MIB_TCP6TABLE_OWNER_PID*>(buffer_.data());
    for (DWORD i = 0; i < t->dwNumEntries; ++i) rows.push_back(FromV6(t->table[i]));
  }
  return true;
}

// The older systems' call: IPv4 rows of the same layout, in a block from the given heap.
bool SystemTcpSource::FetchFromStack(std::vector<TcpRow>& rows) {
  AllocateFromStackFn fn = AllocateFromStack();
  if (!fn) return false;
  PVOID block = nullptr;
  HANDLE heap = GetProcessHeap();
  if (fn(&block, FALSE, heap, 0, AF_INET) != NO_ERROR || !block) return false;
  auto* t = static_cast<const MIB_TCPTABLE_OWNER_PID*>(block);
  for (DWORD i = 0; i < t->dwNumEntries; ++i) rows.push_back(FromV4(t->table[i]));
  HeapFree(heap, 0, block);
  return true;
}

bool SystemTcpSource::StillListed(const TcpRow& row) {
  std::vector<TcpRow> now;
  if (!(GetExtended() ? FetchExtended(AF_INET, now) : FetchFromStack(now))) return false;
  return std::any_of(now.begin(), now.end(), [&](const TcpRow& r) {
    return r.state != MIB_TCP_STATE_DELETE_TCB && SameConnection(r, row);
  });
}

DropResult SystemTcpSource::Drop(const TcpRow& row) {
  if (row.family != 4) return DropResult::Failed;
  MIB_TCPROW r{};
  r.dwState = MIB_TCP_STATE_DELETE_TCB;
  std::memcpy(&r.dwLocalAddr, row.localAddr.data(), 4);
  std::memcpy(&r.dwRemoteAddr, row.remoteAddr.data(), 4);
  r.dwLocalPort = row.localPort;
  r.dwRemotePort = row.remotePort;
  DWORD rc = SetTcpEntry(&r);
  if (rc == NO_ERROR) return StillListed(row) ? DropResult::Failed : DropResult::Dropped;
  // Without administrator rights the call answers "access denied" or, on newer systems, 317.
  return rc == ERROR_ACCESS_DENIED || rc == ERROR_MR_MID_NOT_FOUND ? DropResult::NeedsAdmin : DropResult::Failed;
}

}  // namespace zorvix
