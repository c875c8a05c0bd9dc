#include <winsock2.h>
#include <gtest/gtest.h>

#include "browser/tools/win/speed_meter_view.h"
#include "common/testing/win/child_process.h"
#include "common/win/ui/window.h"

namespace corvane {
namespace {

// Sends bytes through the loopback interface, received by a second socket.
void LoopbackTraffic(size_t bytes) {
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  SOCKET rx = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP), tx = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(rx, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  int len = sizeof a;
  getsockname(rx, reinterpret_cast<sockaddr*>(&a), &len);
  int big = 4 << 20;
  setsockopt(rx, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&big), sizeof big);
  std::string chunk(8000, 'x');
  char buf[9000];
  for (size_t sent = 0; sent < bytes; sent += chunk.size()) {
    sendto(tx, chunk.data(), int(chunk.size()), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    recv(rx, buf, sizeof buf, 0);
  }
  closesocket(tx);
  closesocket(rx);
  WSACleanup();
}

class Host : public common::ui::Window {};

// The frame's two boxes, as the frame makes them.
struct Boxes {
  Host frame;
  HWND down = nullptr, up = nullptr;
  Boxes() {
    frame.Create(L"CorvaneMeterTestHost", L"", WS_POPUP, 0, 0, 0, 400, 100);
    down = common::ui::CreateControl(frame.hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
    up = common::ui::CreateControl(frame.hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
    MoveWindow(down, 0, 0, 200, 20, FALSE);
  }
};

// The totals of a refresh: the counters of the rows the meter counts, and of no other.
double CountedReceived(const CInterfaces& rows) {
  uint64_t sum = 0;
  for (size_t i = 1; i <= rows.Count(); ++i)
    if (CountsTraffic(*rows.Item(i))) sum += rows.Item(i)->OctetsReceived;
  return double(sum);
}

const CInterface* Loopback(const CInterfaces& rows) {
  for (size_t i = 1; i <= rows.Count(); ++i)
    if (rows.Item(i)->InterfaceType == kLoopbackType) return rows.Item(i);
  return nullptr;
}

TEST(IpHelper, BothTablesReadTheInterfaces) {
  CIpHelper best, old(CIpHelper::Table::kOld);
  const CInterfaces& rows = best.Interfaces();
  ASSERT_GT(rows.Count(), 0u);
  EXPECT_EQ(best.TableBits(), 64);
  EXPECT_EQ(best.BytesReceived(), CountedReceived(rows));
  const CInterfaces& oldRows = old.Interfaces();
  ASSERT_GT(oldRows.Count(), 0u);
  EXPECT_EQ(old.TableBits(), 32);
  EXPECT_EQ(old.BytesReceived(), CountedReceived(oldRows));
  // The same interfaces in both, by index.
  for (size_t i = 1; i <= oldRows.Count(); ++i) {
    bool found = false;
    for (size_t k = 1; k <= rows.Count(); ++k) found |= rows.Item(k)->InterfaceIndex == oldRows.Item(i)->InterfaceIndex;
    EXPECT_TRUE(found) << oldRows.Item(i)->InterfaceIndex;
    EXPECT_EQ(oldRows.Item(i)->CounterBits, 32);
  }
}

TEST(IpHelper, LoopbackTrafficIsLeftOutOfTheTotals) {
  for (CIpHelper::Table table : {CIpHelper::Table::kBest, CIpHelper::Table::kOld}) {
    CIpHelper ip(table);
    const CInterface* lo = Loopback(ip.Interfaces());
    ASSERT_NE(lo, nullptr) << "the table lists the loopback";
    uint64_t before = lo->OctetsReceived;
    LoopbackTraffic(400000);
    const CInterfaces& rows = ip.Interfaces();
    lo = Loopback(rows);
    ASSERT_NE(lo, nullptr);
    // The traffic was there to count, in the loopback's own row; the totals hold the cards' rows only.
    EXPECT_GE(uint32_t(lo->OctetsReceived - before), 400000u);
    EXPECT_FALSE(CountsTraffic(*lo));
    EXPECT_EQ(ip.BytesReceived(), CountedReceived(rows));
  }
}

// A table of one card whose counters the test moves.
struct TableDouble {
  CInterfaces rows;
  uint64_t received = 0, sent = 0;
  const CInterfaces& Read() {
    rows = CInterfaces();
    auto card = std::make_unique<CInterface>();
    card->InterfaceIndex = 7;
    card->InterfaceType = 6;
    card->CounterBits = 64;
    card->OctetsReceived = received;
    card->OctetsSent = sent;
    rows.Add(card);
    return rows;
  }
};

TEST(SpeedMeterView, TextsFromTheSecondTickOn) {
  Boxes boxes;
  TableDouble table{{}, 5000000, 1000};
  SpeedMeterView view([&]() -> const CInterfaces& { return table.Read(); });
  ASSERT_TRUE(view.Attach(boxes.down, boxes.up, false));
  EXPECT_FALSE(view.Timer2().show);  // the first tick only records the totals
  EXPECT_EQ(common::ui::WindowText(view.PicDown()), L"宽带下载速度");
  EXPECT_EQ(common::ui::WindowText(view.PicUp()), L"宽带上传速度");
  table.received += 600 * 1024;
  table.sent += 12 * 1024;
  SpeedMeter::Reading second = view.Timer2();
  ASSERT_TRUE(second.show);
  EXPECT_EQ(second.downKB, 600);
  EXPECT_EQ(second.upKB, 12);
  EXPECT_EQ(view.down().text(), L"600 KB/秒");
  EXPECT_EQ(common::ui::WindowText(view.PicUp()), L"12 KB/秒");
  // More than 500 KB in one second: the bar is wider than its box, which clips it.
  RECT box;
  GetClientRect(view.PicDown(), &box);
  EXPECT_EQ(view.down().BarPixels(), box.right * 600 / 500);
  EXPECT_GT(view.down().BarPixels(), box.right);
  // An adapter reset: its counter starts again and the meter shows what came since, not a wrap.
  table.received = 3 * 1024;
  EXPECT_EQ(view.Timer2().downKB, 3);
  EXPECT_EQ(view.down().text(), L"3 KB/秒");
}

TEST(SpeedMeterView, Timer2TicksOnItsOwn) {
  Boxes boxes;
  TableDouble table{{}, 1, 1};
  SpeedMeterView* view = SpeedMeterView::Start(boxes.down, boxes.up, [&]() -> const CInterfaces& {
    table.received += 2048;  // 2 KB a tick
    return table.Read();
  });
  ASSERT_NE(view, nullptr);
  // Two ticks of the one-second timer: the texts change from the second on.
  EXPECT_TRUE(suite::PumpUntil([&] { return view->down().text() == L"2 KB/秒"; }, 3500)) << view->down().text();
  // The meter goes with its boxes.
  boxes.frame.Destroy();
}

}  // namespace
}  // namespace corvane
