// The system's TCP tables read for real: a connection this test opens is found with its addresses and
// ports as the system stores them.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "guard/monitors/connection_rows.h"
#include "guard/monitors/win/process_directory.h"
#include "guard/monitors/win/tcp_source_system.h"
#include "guard/monitors/win/testing/window_child.h"

using namespace zorvix;

namespace {

// A listening socket on the loopback address and one connection to it.
struct LoopbackPair {
  explicit LoopbackPair(int family) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    sockaddr_storage addr{};
    int len = family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
    if (family == AF_INET) {
      auto* a = reinterpret_cast<sockaddr_in*>(&addr);
      a->sin_family = AF_INET;
      a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
      auto* a = reinterpret_cast<sockaddr_in6*>(&addr);
      a->sin6_family = AF_INET6;
      a->sin6_addr = in6addr_loopback;
    }
    server = socket(family, SOCK_STREAM, IPPROTO_TCP);
    if (bind(server, reinterpret_cast<sockaddr*>(&addr), len) || listen(server, 1) ||
        getsockname(server, reinterpret_cast<sockaddr*>(&addr), &len))
      return;
    client = socket(family, SOCK_STREAM, IPPROTO_TCP);
    if (connect(client, reinterpret_cast<sockaddr*>(&addr), len)) return;
    accepted = accept(server, nullptr, nullptr);
    serverPort = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in*>(&addr)->sin_port
                                         : reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
    sockaddr_storage local{};
    int localLen = sizeof local;
    getsockname(client, reinterpret_cast<sockaddr*>(&local), &localLen);
    clientPort = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in*>(&local)->sin_port
                                         : reinterpret_cast<sockaddr_in6*>(&local)->sin6_port);
  }
  ~LoopbackPair() {
    for (SOCKET s : {accepted, client, server})
      if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
  }
  bool ok() const { return accepted != INVALID_SOCKET; }
  SOCKET server = INVALID_SOCKET, client = INVALID_SOCKET, accepted = INVALID_SOCKET;
  uint16_t serverPort = 0, clientPort = 0;
};

const TcpRow* FindRow(const std::vector<TcpRow>& rows, uint8_t family, uint16_t local, uint16_t remote) {
  auto it = std::find_if(rows.begin(), rows.end(), [&](const TcpRow& r) {
    return r.family == family && PortNumber(r.localPort) == local && PortNumber(r.remotePort) == remote;
  });
  return it == rows.end() ? nullptr : &*it;
}

}  // namespace

TEST(SystemTcpSource, FindsALoopbackConnectionWithItsAddressesAndPorts) {
  LoopbackPair pair(AF_INET);
  ASSERT_TRUE(pair.ok());
  SystemTcpSource source;
  std::vector<TcpRow> rows;
  ASSERT_TRUE(source.ReadTcpRows(rows));
  const TcpRow* out = FindRow(rows, 4, pair.clientPort, pair.serverPort);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->state, 5u) << "established";
  EXPECT_EQ(AddressText(*out, false), L"127.0.0.1");
  EXPECT_EQ(AddressText(*out, true), L"127.0.0.1");
  auto listening = std::find_if(rows.begin(), rows.end(), [&](const TcpRow& r) {
    return r.state == kTcpListen && PortNumber(r.localPort) == pair.serverPort;
  });
  ASSERT_NE(listening, rows.end());
  EXPECT_FALSE(IsWatched(*listening));
  // Whatever the answer, it is the truth: a connection called deleted is gone from the table and from
  // its sockets; one that stayed is not called deleted (Wine's call reports success and closes nothing).
  TcpRow row = *out;
  DropResult dropped = source.Drop(row);
  ASSERT_TRUE(source.ReadTcpRows(rows));
  bool listed = FindRow(rows, 4, pair.clientPort, pair.serverPort) != nullptr;
  char byte = 'x';
  bool usable = send(pair.client, &byte, 1, 0) == 1 && recv(pair.accepted, &byte, 1, 0) == 1;
  if (dropped == DropResult::Dropped) {
    EXPECT_FALSE(listed);
    EXPECT_FALSE(usable);
  } else {
    EXPECT_TRUE(listed) << "called not deleted, yet gone";
    EXPECT_TRUE(usable);
  }
}

TEST(SystemTcpSource, ReadsIPv6ConnectionsAndRefusesToDeleteThem) {
  LoopbackPair pair(AF_INET6);
  if (!pair.ok()) GTEST_SKIP() << "no IPv6 loopback here";
  SystemTcpSource source;
  std::vector<TcpRow> rows;
  ASSERT_TRUE(source.ReadTcpRows(rows));
  const TcpRow* out = FindRow(rows, 6, pair.clientPort, pair.serverPort);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(AddressText(*out, true), L"::1");
  EXPECT_EQ(source.Drop(*out), DropResult::Failed);
}

TEST(ProcessDirectory, NamesAProgramOnceAndForgetsItWhenItEnds) {
  test_support::WindowChild child(L"directory-child");
  ProcessDirectory directory;
  ASSERT_TRUE(directory.Refresh());
  auto found = directory.Find(child.pid());
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path, suite::BinFolder() + L"suite_child.exe");
  EXPECT_EQ(found->id, child.Id());
  size_t opened = directory.opened();
  directory.Refresh();
  EXPECT_TRUE(directory.Find(child.pid()));
  EXPECT_EQ(directory.opened(), opened) << "a known process is not opened again";
  child.child.Kill();
  directory.Refresh();
  EXPECT_FALSE(directory.Find(child.pid()));
  EXPECT_FALSE(directory.Find(0)) << "the idle process has no program";
}
