#include "guard/monitors/connection_rows.h"

#include <gtest/gtest.h>

using namespace zorvix;

namespace {
TcpRow V4(uint32_t state, std::array<uint8_t, 4> remote, uint16_t remotePort, uint16_t localPort = 50000) {
  TcpRow r;
  r.state = state;
  std::copy(remote.begin(), remote.end(), r.remoteAddr.begin());
  r.remotePort = uint32_t(remotePort >> 8 | (remotePort & 0xff) << 8);  // as the system delivers it
  r.localPort = uint32_t(localPort >> 8 | (localPort & 0xff) << 8);
  return r;
}
TcpRow V6(std::array<uint16_t, 8> groups) {
  TcpRow r;
  r.family = 6;
  for (int i = 0; i < 8; ++i)
    r.remoteAddr[2 * i] = uint8_t(groups[i] >> 8), r.remoteAddr[2 * i + 1] = uint8_t(groups[i]);
  return r;
}
}  // namespace

TEST(ConnectionRows, ListeningAndEmptyRowsAreNotWatched) {
  std::vector<TcpRow> rows = {V4(5, {1, 2, 3, 4}, 80), V4(kTcpListen, {0, 0, 0, 0}, 0, 135), V4(5, {0, 0, 0, 0}, 0, 0),
                              V4(2, {9, 9, 9, 9}, 443), V4(8, {0, 0, 0, 0}, 0, 139)};
  KeepWatched(rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(PortNumber(rows[0].remotePort), 80);
  EXPECT_EQ(PortNumber(rows[1].localPort), 139);
}

TEST(ConnectionRows, ARowThatReplacesAnotherIsAChangeAtTheSameCount) {
  std::vector<TcpRow> before = {V4(5, {1, 2, 3, 4}, 80), V4(5, {5, 6, 7, 8}, 443)};
  std::vector<TcpRow> after = before;
  EXPECT_EQ(before, after);
  after[1] = V4(5, {5, 6, 7, 9}, 443);
  EXPECT_NE(before, after);
  after = before;
  after[0].pid = 1234;
  EXPECT_NE(before, after);
}

TEST(ConnectionRows, PortsAndAddressesReadAsUsual) {
  EXPECT_EQ(PortNumber(0x5000), 80) << "port 80 as the system stores it";
  EXPECT_EQ(PortNumber(0x0050), 20480);
  EXPECT_EQ(PortNumber(0xffff0000u | 0xbb01), 443);
  EXPECT_EQ(AddressText(V4(5, {192, 168, 0, 1}, 1), true), L"192.168.0.1");
  EXPECT_EQ(AddressText(V6({0x2001, 0xdb8, 0, 0, 0, 0, 0, 1}), true), L"2001:db8::1");
  EXPECT_EQ(AddressText(V6({0, 0, 0, 0, 0, 0, 0, 1}), true), L"::1");
  EXPECT_EQ(AddressText(V6({0, 0, 0, 0, 0, 0, 0, 0}), true), L"::");
  EXPECT_EQ(AddressText(V6({0xfe80, 0, 0, 0, 0x1, 0, 0, 0}), true), L"fe80::1:0:0:0");
  EXPECT_EQ(AddressText(V6({0x2001, 0xdb8, 0, 1, 0, 0, 1, 1}), true), L"2001:db8:0:1::1:1");
  EXPECT_EQ(AddressText(V6({0x2001, 0, 0, 1, 0, 0, 0, 1}), true), L"2001:0:0:1::1");
  EXPECT_EQ(AddressText(V6({0, 0, 0, 0, 0, 0xffff, 0xc000, 0x0201}), true), L"::ffff:192.0.2.1");
  EXPECT_EQ(AddressText(V6({0x2001, 0xdb8, 1, 2, 3, 4, 5, 0}), true), L"2001:db8:1:2:3:4:5:0");
}

TEST(ConnectionRows, AStateChangeIsTheSameConnectionAnythingElseIsNot) {
  TcpRow a;
  a.state = 2 + 1;  // SYN_SENT
  a.remoteAddr = {10, 0, 0, 1};
  a.localPort = 0x3930;
  a.remotePort = 0x5000;
  a.pid = 40;
  TcpRow established = a;
  established.state = 5;
  EXPECT_TRUE(SameConnection(a, established));
  EXPECT_TRUE(SameConnections({a, a}, {established, a}));
  TcpRow other = a;
  other.pid = 41;
  EXPECT_FALSE(SameConnection(a, other));
  other = a;
  other.remotePort = 0x5100;
  EXPECT_FALSE(SameConnection(a, other));
  other = a;
  other.remoteAddr[3] = 2;
  EXPECT_FALSE(SameConnection(a, other));
  EXPECT_FALSE(SameConnections({a}, {a, a}));
}
