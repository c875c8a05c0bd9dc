// The interface table as the meter reads it: CInterface (one interface), CInterfaces (a collection of
// them) and the reading of the table's published row layout out of a byte buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One row of the interface table. Counters are unsigned and 64 bits wide: the old table's 32-bit
// counters are taken as they are, the newer table's 64-bit ones whole.
struct CInterface {
  std::wstring InterfaceDescription;
  int32_t OutputQueueLength = 0;
  uint64_t OutgoingErrors = 0;
  uint64_t DiscardedOutgoingPackets = 0;
  uint64_t NonunicastPacketsSent = 0;
  uint64_t UnicastPacketsSent = 0;
  uint64_t OctetsSent = 0;
  uint64_t UnknownProtocolPackets = 0;
  uint64_t IncomingErrors = 0;
  uint64_t DiscardedIncomingPackets = 0;
  uint64_t NonunicastPacketsReceived = 0;
  int32_t MaximumTransmissionUnit = 0;
  uint64_t UnicastPacketsReceived = 0;
  uint64_t OctetsReceived = 0;
  // The last status change as the table gives it: hundredths of a second since the system started
  // (0 where the table does not say).
  uint32_t LastChange = 0;
  int32_t OperationalStatus = 0;
  int32_t AdminStatus = 0;
  std::wstring AdapterAddress;
  uint64_t Speed = 0;
  int32_t InterfaceType = 0;
  int32_t InterfaceIndex = 0;
  std::wstring InterfaceName;
  // A filter layer stacked on an adapter repeats that adapter's counters; it is left out of the totals.
  bool FilterInterface = false;
  // The newer table says whether a network card is behind the interface; the old one does not (true).
  bool HardwareInterface = true;
  // Width of the counters in bits (32 in the old table, 64 in the newer one): differences wrap at it.
  int CounterBits = 32;
};

// Interface types whose bytes are no broadband traffic, or are counted by the card they run over.
inline constexpr int32_t kLoopbackType = 24, kTunnelType = 131;
// Whether the meter counts the interface: a card's own interface, no loopback, tunnel or filter layer.
bool CountsTraffic(const CInterface& row);

class CInterfaces {
 public:
  // Appends the object and returns it; the caller's pointer is left empty, so that one reused variable
  // gets a fresh object on its next use.
  CInterface& Add(std::unique_ptr<CInterface>& objInterface);
  // 1-based position; null outside 1..Count.
  CInterface* Item(size_t vntIndexKey) const;
  size_t Count() const { return items_.size(); }
  bool Remove(size_t vntIndexKey);

 private:
  std::vector<std::unique_ptr<CInterface>> items_;
};

// Sizes of the published row layout of the old table.
inline constexpr size_t kIfRowBytes = 860;
inline constexpr size_t kMaxIfRows = 32767;

// Text of the description bytes in the system code page.
using CodePageText = std::function<std::wstring(std::string_view bytes)>;

// "00-0C-29-0A-1B-2C": the first `length` bytes (at most the eight the row has), upper-case hex.
std::wstring FormatAdapterAddress(const uint8_t* bytes, size_t length);
// One row of the old table's layout; the row must hold kIfRowBytes bytes.
CInterface ParseIfRow(const uint8_t* row, const CodePageText& text);
// The whole table: a 4-byte row count, then the rows. Rows the buffer does not hold whole are not read,
// and counts above kMaxIfRows are cut to it.
std::vector<CInterface> ParseIfTable(std::string_view table, const CodePageText& text);

}  // namespace corvane
