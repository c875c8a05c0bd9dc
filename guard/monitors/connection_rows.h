// Rules on the rows of one poll: which rows the monitor looks at, and how they read in the view.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "guard/monitors/tcp_source.h"

namespace zorvix {

// A row the monitor examines: not listening, and not an empty row (local port, remote address and
// remote port all zero).
bool IsWatched(const TcpRow& row);
// The watched rows of one fetched table, in the table's order.
void KeepWatched(std::vector<TcpRow>& rows);
// The same connection: addresses, ports and owner alike. Its state may differ: a connection that goes
// from "SYN_SENT" to "ESTABLISHED" is no new connection.
bool SameConnection(const TcpRow& a, const TcpRow& b);
bool SameConnections(const std::vector<TcpRow>& a, const std::vector<TcpRow>& b);
// A port field (network order in the low 16 bits) as the port number.
uint16_t PortNumber(uint32_t field);
// The usual text of an address: dotted decimal for IPv4, the compressed hexadecimal form for IPv6.
std::wstring AddressText(const TcpRow& row, bool remote);

}  // namespace zorvix
