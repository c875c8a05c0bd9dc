// Tests and benchmarks: a TCP table given row by row, since Wine reports no owning process for any
// connection. Deletions are recorded; a granted one takes the row out of the table.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "guard/monitors/tcp_source.h"

namespace zorvix::test_support {

class TcpTableDouble : public TcpSource {
 public:
  bool ReadTcpRows(std::vector<TcpRow>& out) override {
    ++fetches;
    out = rows;
    return !failing;
  }
  DropResult Drop(const TcpRow& row) override {
    dropped.push_back(row);
    if (answer == DropResult::Dropped) std::erase(rows, row);
    return answer;
  }

  // An IPv4 connection of pid from local port `local` to 10.0.0.`host`:`remote`.
  static TcpRow Connection(DWORD pid, uint16_t local, uint8_t host = 1, uint16_t remote = 80, uint32_t state = 5) {
    TcpRow r;
    r.state = state;
    r.localAddr = {192, 168, 1, 2};
    r.remoteAddr = {10, 0, 0, host};
    r.localPort = NetPort(local);
    r.remotePort = NetPort(remote);
    r.pid = pid;
    return r;
  }
  static TcpRow Connection6(DWORD pid, uint16_t local) {
    TcpRow r = Connection(pid, local);
    r.family = 6;
    r.localAddr = {0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    r.remoteAddr = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    return r;
  }
  static uint32_t NetPort(uint16_t port) { return uint32_t(port >> 8 | (port & 0xff) << 8); }

  std::vector<TcpRow> rows;
  std::vector<TcpRow> dropped;
  DropResult answer = DropResult::Dropped;
  bool failing = false;
  int fetches = 0;
};

}  // namespace zorvix::test_support
