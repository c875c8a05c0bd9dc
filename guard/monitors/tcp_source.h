// Where the connection monitor gets the system's TCP connections from, and how it deletes one. The real
// source reads the system tables; tests give their own rows, since Wine reports no owning processes.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zorvix {

// One TCP connection as the system lists it. Addresses and ports stay as delivered: network byte
// order, the port in the low 16 bits. An IPv4 address fills the first 4 bytes of its array.
struct TcpRow {
  uint8_t family = 4;  // 4 or 6
  uint32_t state = 0;  // MIB_TCP_STATE: 2 = listening, 12 = deleted
  std::array<uint8_t, 16> localAddr{}, remoteAddr{};
  uint32_t localScope = 0, remoteScope = 0;  // IPv6 scope ids
  uint32_t localPort = 0, remotePort = 0;
  uint32_t pid = 0;
  bool operator==(const TcpRow&) const = default;
};

inline constexpr uint32_t kTcpListen = 2;
inline constexpr uint32_t kTcpDeleteTcb = 12;

enum class DropResult { Dropped, NeedsAdmin, Failed };

class TcpSource {
 public:
  virtual ~TcpSource() = default;
  // Replaces rows with the connections of this moment, both address families. False when the table
  // could not be read (rows are then left empty).
  virtual bool ReadTcpRows(std::vector<TcpRow>& rows) = 0;
  // Deletes one connection.
  virtual DropResult Drop(const TcpRow& row) = 0;
};

}  // namespace zorvix
