#include "browser/tools/interfaces.h"

#include <algorithm>
#include <cstring>

namespace corvane {
namespace {

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
int32_t I32(const uint8_t* p) { return int32_t(U32(p)); }

// Byte offsets of the published row layout.
enum : size_t {
  kName = 0, kNameBytes = 512, kIndex = 512, kType = 516, kMtu = 520, kSpeed = 524, kPhysLen = 528, kPhys = 532,
  kPhysBytes = 8, kAdmin = 540, kOper = 544, kLastChange = 548, kInOctets = 552, kInUcast = 556, kInNUcast = 560,
  kInDiscards = 564, kInErrors = 568, kInUnknown = 572, kOutOctets = 576, kOutUcast = 580, kOutNUcast = 584,
  kOutDiscards = 588, kOutErrors = 592, kOutQLen = 596, kDescrLen = 600, kDescr = 604, kDescrBytes = 256
};

std::wstring Utf16Name(const uint8_t* p) {
  std::wstring s;
  for (size_t i = 0; i + 1 < kNameBytes; i += 2) {
    wchar_t c = wchar_t(p[i] | p[i + 1] << 8);
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}

}  // namespace

bool CountsTraffic(const CInterface& row) {
  return row.HardwareInterface && !row.FilterInterface && row.InterfaceType != kLoopbackType &&
         row.InterfaceType != kTunnelType;
}

CInterface& CInterfaces::Add(std::unique_ptr<CInterface>& objInterface) {
  if (!objInterface) objInterface = std::make_unique<CInterface>();
  items_.push_back(std::move(objInterface));
  return *items_.back();
}

CInterface* CInterfaces::Item(size_t vntIndexKey) const {
  return vntIndexKey >= 1 && vntIndexKey <= items_.size() ? items_[vntIndexKey - 1].get() : nullptr;
}

bool CInterfaces::Remove(size_t vntIndexKey) {
  if (!Item(vntIndexKey)) return false;
  items_.erase(items_.begin() + ptrdiff_t(vntIndexKey - 1));
  return true;
}

std::wstring FormatAdapterAddress(const uint8_t* bytes, size_t length) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring s;
  for (size_t i = 0; i < std::min<size_t>(length, kPhysBytes); ++i) {
    if (i) s.push_back(L'-');
    s.push_back(kHex[bytes[i] >> 4]);
    s.push_back(kHex[bytes[i] & 15]);
  }
  return s;
}

CInterface ParseIfRow(const uint8_t* row, const CodePageText& text) {
  CInterface r;
  size_t descrLen = std::min<size_t>(U32(row + kDescrLen), kDescrBytes);
  std::string_view descr(reinterpret_cast<const char*>(row + kDescr), descrLen);
  // A description counted with its closing NUL shows without it.
  descr = descr.substr(0, descr.find('\0'));
  r.InterfaceDescription = text ? text(descr) : std::wstring(descr.begin(), descr.end());
  r.OutputQueueLength = I32(row + kOutQLen);
  r.OutgoingErrors = U32(row + kOutErrors);
  r.DiscardedOutgoingPackets = U32(row + kOutDiscards);
  r.NonunicastPacketsSent = U32(row + kOutNUcast);
  r.UnicastPacketsSent = U32(row + kOutUcast);
  r.OctetsSent = U32(row + kOutOctets);
  r.UnknownProtocolPackets = U32(row + kInUnknown);
  r.IncomingErrors = U32(row + kInErrors);
  r.DiscardedIncomingPackets = U32(row + kInDiscards);
  r.NonunicastPacketsReceived = U32(row + kInNUcast);
  r.MaximumTransmissionUnit = I32(row + kMtu);
  r.UnicastPacketsReceived = U32(row + kInUcast);
  r.OctetsReceived = U32(row + kInOctets);
  r.LastChange = U32(row + kLastChange);
  r.OperationalStatus = I32(row + kOper);
  r.AdminStatus = I32(row + kAdmin);
  r.AdapterAddress = FormatAdapterAddress(row + kPhys, U32(row + kPhysLen));
  r.Speed = U32(row + kSpeed);
  r.InterfaceType = I32(row + kType);
  r.InterfaceIndex = I32(row + kIndex);
  r.InterfaceName = Utf16Name(row + kName);
  r.CounterBits = 32;
  return r;
}

std::vector<CInterface> ParseIfTable(std::string_view table, const CodePageText& text) {
  std::vector<CInterface> rows;
  if (table.size() < 4) return rows;
  const auto* p = reinterpret_cast<const uint8_t*>(table.data());
  size_t count = std::min<size_t>(U32(p), kMaxIfRows);
  count = std::min(count, (table.size() - 4) / kIfRowBytes);
  rows.reserve(count);
  for (size_t i = 0; i < count; ++i) rows.push_back(ParseIfRow(p + 4 + kIfRowBytes * i, text));
  return rows;
}

}  // namespace corvane
