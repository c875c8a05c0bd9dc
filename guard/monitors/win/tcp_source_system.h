// The system's TCP tables (IPv4 and IPv6, with the owning process of each row) and the deletion of an
// IPv4 connection.
#pragma once
#include <windows.h>

#include <vector>

#include "guard/monitors/tcp_source.h"

namespace zorvix {

class SystemTcpSource : public TcpSource {
 public:
  bool ReadTcpRows(std::vector<TcpRow>& rows) override;
  // Needs administrator rights. The system offers no deletion of IPv6 connections: Failed.
  DropResult Drop(const TcpRow& row) override;

 private:
  bool FetchExtended(ULONG family, std::vector<TcpRow>& rows);
  bool FetchFromStack(std::vector<TcpRow>& rows);
  std::vector<BYTE> buffer_;  // kept between polls, so that a poll allocates nothing
};

}  // namespace zorvix
