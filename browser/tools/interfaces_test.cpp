#include "browser/tools/interfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "browser/tools/speed_meter.h"

namespace corvane {
namespace {

std::wstring Latin1(std::string_view b) { return std::wstring(b.begin(), b.end()); }

void Put(std::string& buf, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) buf[at + size_t(i)] = char(v >> (8 * i));
}

// A row of the published layout with distinct values in every field.
std::string Row(uint32_t index, uint32_t inOctets, uint32_t outOctets) {
  std::string r(kIfRowBytes, '\0');
  const char16_t name[] = u"{ETH-0}";
  for (size_t i = 0; name[i]; ++i) r[2 * i] = char(name[i]);
  Put(r, 512, index);
  Put(r, 516, 6);     // type
  Put(r, 520, 1500);  // MTU
  Put(r, 524, 100000000);
  Put(r, 528, 6);
  const unsigned char mac[] = {0x00, 0x0C, 0x29, 0x0A, 0x1B, 0x2C, 0xEE, 0xFF};
  memcpy(&r[532], mac, 8);
  Put(r, 540, 1);
  Put(r, 544, 5);
  Put(r, 548, 123456);
  Put(r, 552, inOctets);
  for (uint32_t k = 0; k < 5; ++k) Put(r, 556 + 4 * k, 10 + k);  // in: ucast .. unknown
  Put(r, 576, outOctets);
  for (uint32_t k = 0; k < 5; ++k) Put(r, 580 + 4 * k, 20 + k);  // out: ucast .. queue length
  const char descr[] = "Ethernet Adapter";
  Put(r, 600, sizeof descr);  // counted with its NUL, as the platform does
  memcpy(&r[604], descr, sizeof descr);
  return r;
}

std::string Table(const std::vector<std::string>& rows, uint32_t count) {
  std::string t(4, '\0');
  Put(t, 0, count);
  for (const auto& r : rows) t += r;
  return t;
}

TEST(InterfaceRow, EveryFieldFromItsOffset) {
  std::string row = Row(7, 0xFFFFFFF0u, 4000);
  CInterface i = ParseIfRow(reinterpret_cast<const uint8_t*>(row.data()), Latin1);
  EXPECT_EQ(i.InterfaceName, L"{ETH-0}");
  EXPECT_EQ(i.InterfaceIndex, 7);
  EXPECT_EQ(i.InterfaceType, 6);
  EXPECT_EQ(i.MaximumTransmissionUnit, 1500);
  EXPECT_EQ(i.Speed, 100000000u);
  EXPECT_EQ(i.AdapterAddress, L"00-0C-29-0A-1B-2C");
  EXPECT_EQ(i.AdminStatus, 1);
  EXPECT_EQ(i.OperationalStatus, 5);
  EXPECT_EQ(i.LastChange, 123456u);
  // Counters past 2^31 stay positive.
  EXPECT_EQ(i.OctetsReceived, 0xFFFFFFF0u);
  EXPECT_EQ(i.UnicastPacketsReceived, 10u);
  EXPECT_EQ(i.NonunicastPacketsReceived, 11u);
  EXPECT_EQ(i.DiscardedIncomingPackets, 12u);
  EXPECT_EQ(i.IncomingErrors, 13u);
  EXPECT_EQ(i.UnknownProtocolPackets, 14u);
  EXPECT_EQ(i.OctetsSent, 4000u);
  EXPECT_EQ(i.UnicastPacketsSent, 20u);
  EXPECT_EQ(i.NonunicastPacketsSent, 21u);
  EXPECT_EQ(i.DiscardedOutgoingPackets, 22u);
  EXPECT_EQ(i.OutgoingErrors, 23u);
  EXPECT_EQ(i.OutputQueueLength, 24);
  EXPECT_EQ(i.InterfaceDescription, L"Ethernet Adapter");
  EXPECT_EQ(i.CounterBits, 32);
}

TEST(InterfaceRow, LengthsDecideTheTexts) {
  std::string row = Row(1, 0, 0);
  Put(row, 528, 0);
  Put(row, 600, 8);  // "Ethernet" without the rest
  CInterface i = ParseIfRow(reinterpret_cast<const uint8_t*>(row.data()), Latin1);
  EXPECT_EQ(i.AdapterAddress, L"");
  EXPECT_EQ(i.InterfaceDescription, L"Ethernet");
  // Lengths past their fields are cut to the field.
  Put(row, 528, 200);
  Put(row, 600, 100000);
  memset(&row[604], 'x', 256);
  i = ParseIfRow(reinterpret_cast<const uint8_t*>(row.data()), Latin1);
  EXPECT_EQ(i.AdapterAddress, L"00-0C-29-0A-1B-2C-EE-FF");
  EXPECT_EQ(i.InterfaceDescription, std::wstring(256, L'x'));
}

TEST(InterfaceTable, RowsFollowTheCountAndTheBuffer) {
  std::vector<CInterface> rows = ParseIfTable(Table({Row(1, 10, 20), Row(2, 30, 40)}, 2), Latin1);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].InterfaceIndex, 2);
  EXPECT_EQ(rows[1].OctetsSent, 40u);
  // A count larger than the buffer reads only the whole rows there are; a cut row is left out.
  std::string cut = Table({Row(1, 10, 20), Row(2, 30, 40)}, 9);
  cut.resize(cut.size() - 1);
  EXPECT_EQ(ParseIfTable(cut, Latin1).size(), 1u);
  EXPECT_TRUE(ParseIfTable(std::string(3, '\1'), Latin1).empty());
  EXPECT_TRUE(ParseIfTable(Table({}, 0), Latin1).empty());
}

TEST(InterfaceCollection, AddTakesTheObjectAndPositionsStartAtOne) {
  CInterfaces c;
  auto obj = std::make_unique<CInterface>();
  obj->InterfaceIndex = 4;
  CInterface& added = c.Add(obj);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(added.InterfaceIndex, 4);
  c.Add(obj).InterfaceIndex = 5;  // an emptied reference gets a fresh object
  ASSERT_EQ(c.Count(), 2u);
  EXPECT_EQ(c.Item(1)->InterfaceIndex, 4);
  EXPECT_EQ(c.Item(2)->InterfaceIndex, 5);
  EXPECT_EQ(c.Item(0), nullptr);
  EXPECT_EQ(c.Item(3), nullptr);
  EXPECT_TRUE(c.Remove(1));
  EXPECT_FALSE(c.Remove(2));
  EXPECT_EQ(c.Item(1)->InterfaceIndex, 5);
}

// ---- the meter ----

std::vector<OctetSample> One(uint64_t rx, uint64_t tx, int bits = 32) { return {{1, rx, tx, bits}}; }

TEST(SpeedMeter, FirstTickOnlyRecords) {
  SpeedMeter m;
  EXPECT_FALSE(m.Tick(One(5000000, 100)).show);
  SpeedMeter::Reading r = m.Tick(One(5000000 + 1536, 100 + 2560));
  EXPECT_TRUE(r.show);
  EXPECT_EQ(r.downKB, 2);  // 1.5 rounds to even 2
  EXPECT_EQ(r.upKB, 2);    // 2.5 rounds to even 2
}

TEST(SpeedMeter, RoundsHalvesToEven) {
  EXPECT_EQ(KBRounded(0), 0);
  EXPECT_EQ(KBRounded(511), 0);
  EXPECT_EQ(KBRounded(512), 0);
  EXPECT_EQ(KBRounded(513), 1);
  EXPECT_EQ(KBRounded(3 * 512), 2);
  EXPECT_EQ(KBRounded(5 * 512), 2);
  EXPECT_EQ(KBRounded(7 * 512), 4);
  EXPECT_EQ(KBRounded(1000000), 977);
}

TEST(SpeedMeter, AMillionBytesOverfillsTheBox) {
  SpeedMeter m;
  m.Tick(One(1, 1));
  SpeedMeter::Reading r = m.Tick(One(1000001, 1));
  EXPECT_EQ(r.downKB, 977);
  EXPECT_EQ(BarWidth(500, r.downKB), 977);  // 1.95 times the box, which clips it
  EXPECT_EQ(BarWidth(100, 250), 50);
  EXPECT_EQ(SpeedText(r.downKB), L"977 KB/秒");
  EXPECT_EQ(SpeedText(0), L"0 KB/秒");
}

TEST(SpeedMeter, ThirtyTwoBitCountersWrapSixtyFourBitOnesReset) {
  SpeedMeter m;
  m.Tick(One(0xFFFFFC00u, 0x7FFFFF00u));
  SpeedMeter::Reading r = m.Tick(One(0x400, 0x80000300u));
  EXPECT_EQ(r.downKB, 2);  // 1024 bytes before the wrap and 1024 after
  EXPECT_EQ(r.upKB, 1);    // across 2^31
  // A 64-bit counter that went down was reset (an adapter restarted): what it holds now is the amount.
  SpeedMeter reset;
  reset.Tick(One(1000000000000ull, 70000000000ull, 64));
  r = reset.Tick(One(5120, 2048, 64));
  EXPECT_EQ(r.downKB, 5);
  EXPECT_EQ(r.upKB, 2);
  SpeedMeter top;
  top.Tick(One(~uint64_t(0) - 1023, 0, 64));
  EXPECT_EQ(top.Tick(One(1024, 0, 64)).downKB, 1);
}

TEST(SpeedMeter, BarWidthSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(BarWidth(200, int64_t(18014398504599182)), int64_t(200) * 18014398504599182 / 500);
  int64_t huge = BarWidth(200, std::numeric_limits<int64_t>::max() / 10);
  EXPECT_GT(huge, 200);  // still wider than its box, which clips it
  EXPECT_EQ(BarWidth(0, 100), 0);
  EXPECT_EQ(BarWidth(200, -5), 0);
}

TEST(SpeedMeter, NothingEverReceivedShowsNothing) {
  SpeedMeter m;
  m.Tick(One(0, 0));
  EXPECT_FALSE(m.Tick(One(0, 5000)).show);
  EXPECT_FALSE(m.Tick({}).show);
}

TEST(SpeedMeter, InterfacesThatComeOrGoAddNothing) {
  SpeedMeter m;
  m.Tick({{1, 100000, 0, 64}, {2, 900000000, 0, 64}});
  // Interface 2 is gone and 3 is new: only interface 1's 2048 bytes count.
  SpeedMeter::Reading r = m.Tick({{1, 102048, 0, 64}, {3, 5, 0, 64}});
  EXPECT_TRUE(r.show);
  EXPECT_EQ(r.downKB, 2);
}

TEST(SpeedMeter, OnlyTheCardsOwnInterfacesCount) {
  // The loopback, a tunnel, a virtual adapter and a filter layer carry bytes already counted by the card,
  // or bytes that never left the machine.
  CInterfaces rows;
  auto add = [&](int32_t index, int32_t type, bool hardware, bool filter) {
    auto row = std::make_unique<CInterface>();
    row->InterfaceIndex = index;
    row->InterfaceType = type;
    row->HardwareInterface = hardware;
    row->FilterInterface = filter;
    row->OctetsReceived = 10;
    rows.Add(row);
  };
  add(1, 6, true, false);               // the card
  add(2, kLoopbackType, true, false);   // the old table calls every interface hardware
  add(3, kTunnelType, true, false);
  add(4, 6, false, false);              // a virtual adapter
  add(5, 6, true, true);                // a filter layer over the card
  add(6, 71, true, false);              // a wireless card
  auto samples = SamplesOf(rows);
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(samples[0].index, 1);
  EXPECT_EQ(samples[1].index, 6);
}

}  // namespace
}  // namespace corvane
