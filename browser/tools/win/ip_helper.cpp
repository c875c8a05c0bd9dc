#include "browser/tools/win/ip_helper.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include <string>

#include "common/win/code_page.h"
#include "common/win/system.h"

namespace corvane {
namespace {

using GetIfTable2Fn = DWORD(WINAPI*)(PMIB_IF_TABLE2*);
using FreeMibTableFn = void(WINAPI*)(PVOID);

std::wstring Text16(const WCHAR* s) { return std::wstring(s, wcsnlen(s, IF_MAX_STRING_SIZE)); }

CInterface FromRow2(const MIB_IF_ROW2& r) {
  CInterface i;
  i.InterfaceDescription = Text16(r.Description);
  i.OutputQueueLength = int32_t(r.OutQLen);
  i.OutgoingErrors = r.OutErrors;
  i.DiscardedOutgoingPackets = r.OutDiscards;
  i.NonunicastPacketsSent = r.OutNUcastPkts;
  i.UnicastPacketsSent = r.OutUcastPkts;
  i.OctetsSent = r.OutOctets;
  i.UnknownProtocolPackets = r.InUnknownProtos;
  i.IncomingErrors = r.InErrors;
  i.DiscardedIncomingPackets = r.InDiscards;
  i.NonunicastPacketsReceived = r.InNUcastPkts;
  i.MaximumTransmissionUnit = int32_t(r.Mtu);
  i.UnicastPacketsReceived = r.InUcastPkts;
  i.OctetsReceived = r.InOctets;
  i.OperationalStatus = int32_t(r.OperStatus);
  i.AdminStatus = int32_t(r.AdminStatus);
  i.AdapterAddress = FormatAdapterAddress(r.PhysicalAddress, r.PhysicalAddressLength);
  i.Speed = r.ReceiveLinkSpeed;
  i.InterfaceType = int32_t(r.Type);
  i.InterfaceIndex = int32_t(r.InterfaceIndex);
  i.InterfaceName = Text16(r.Alias);
  i.FilterInterface = r.InterfaceAndOperStatusFlags.FilterInterface;
  i.HardwareInterface = r.InterfaceAndOperStatusFlags.HardwareInterface;
  i.CounterBits = 64;
  return i;
}

}  // namespace

CIpHelper::CIpHelper(Table table) : table_(table), interfaces_(std::make_unique<CInterfaces>()) {}

const CInterfaces& CIpHelper::Interfaces() {
  interfaces_ = std::make_unique<CInterfaces>();
  RefreshTable();
  return *interfaces_;
}

void CIpHelper::SetInterfaces(std::unique_ptr<CInterfaces> interfaces) {
  interfaces_ = interfaces ? std::move(interfaces) : std::make_unique<CInterfaces>();
}

void CIpHelper::Add(CInterface row) {
  if (CountsTraffic(row)) {
    received_ += row.OctetsReceived;
    sent_ += row.OctetsSent;
  }
  auto obj = std::make_unique<CInterface>(std::move(row));
  interfaces_->Add(obj);
}

void CIpHelper::RefreshTable() {
  received_ = sent_ = 0;
  bits_ = 0;
  if (table_ == Table::kBest && RefreshTable2()) return;
  RefreshOldTable();
}

bool CIpHelper::RefreshTable2() {
  HMODULE lib = GetModuleHandleW(L"iphlpapi.dll");
  auto get = common::FindProc<GetIfTable2Fn>(lib, "GetIfTable2");
  auto free = common::FindProc<FreeMibTableFn>(lib, "FreeMibTable");
  if (!get || !free) return false;
  PMIB_IF_TABLE2 table = nullptr;
  if (get(&table) != NO_ERROR || !table) return false;
  for (ULONG i = 0; i < table->NumEntries; ++i) Add(FromRow2(table->Table[i]));
  free(table);
  bits_ = 64;
  return true;
}

void CIpHelper::RefreshOldTable() {
  ULONG size = 0;
  DWORD r = GetIfTable(nullptr, &size, FALSE);
  if (r == ERROR_NOT_SUPPORTED || size == 0) return;
  // The table may grow between the two calls: ask again with the size it then needs.
  std::string buffer;
  for (int tries = 0; tries < 3; ++tries) {
    buffer.assign(size, '\0');
    r = GetIfTable(reinterpret_cast<PMIB_IFTABLE>(buffer.data()), &size, FALSE);
    if (r != ERROR_INSUFFICIENT_BUFFER) break;
  }
  if (r != NO_ERROR) return;
  for (CInterface& row : ParseIfTable(buffer, [](std::string_view b) { return common::FromAnsi(b); })) Add(row);
  bits_ = 32;
}

}  // namespace corvane
