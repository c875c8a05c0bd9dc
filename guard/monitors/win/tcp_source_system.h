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
  // Needs administrator rights. The system offers no deletion of IPv6 connections: Failed. Dropped only
  // when the connection is gone from the table afterwards.
  DropResult Drop(const TcpRow& row) override;

 private:
  bool FetchExtended(ULONG family, std::vector<TcpRow>& rows);
  bool FetchFromStack(std::vector<TcpRow>& rows);
  // The connection is in the table still (a deletion reported done that closed nothing).
  bool StillListed(const TcpRow& row);
  std::vector<BYTE> buffer_;  // kept between polls, so that a poll allocates nothing
};

}  // namespace zorvix
