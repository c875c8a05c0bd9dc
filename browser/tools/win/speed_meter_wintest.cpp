#include <winsock2.h>
#include <gtest/gtest.h>

#include "browser/tools/win/speed_meter_view.h"
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

TEST(IpHelper, BothTablesReadTheInterfaces) {
  CIpHelper best, old(CIpHelper::Table::kOld);
  const CInterfaces& rows = best.Interfaces();
  ASSERT_GT(rows.Count(), 0u);
  EXPECT_EQ(best.TableBits(), 64);
  const CInterfaces& oldRows = old.Interfaces();
  ASSERT_GT(oldRows.Count(), 0u);
  EXPECT_EQ(old.TableBits(), 32);
  // The same interfaces in both, by index.
  for (size_t i = 1; i <= oldRows.Count(); ++i) {
    bool found = false;
    for (size_t k = 1; k <= rows.Count(); ++k) found |= rows.Item(k)->InterfaceIndex == oldRows.Item(i)->InterfaceIndex;
    EXPECT_TRUE(found) << oldRows.Item(i)->InterfaceIndex;
    EXPECT_EQ(oldRows.Item(i)->CounterBits, 32);
  }
  EXPECT_GE(best.BytesReceived(), 0.0);
}

TEST(IpHelper, LoopbackTrafficRaisesTheTotals) {
  CIpHelper ip;
  ip.Interfaces();
  double before = ip.BytesReceived(), sentBefore = ip.BytesSent();
  LoopbackTraffic(400000);
  ip.Interfaces();
  EXPECT_GE(ip.BytesReceived() - before, 400000.0);
  EXPECT_GE(ip.BytesSent() - sentBefore, 400000.0);
}

TEST(SpeedMeterView, TextsFromTheSecondTickOn) {
  Boxes boxes;
  SpeedMeterView view;
  ASSERT_TRUE(view.Attach(boxes.down, boxes.up, false));
  EXPECT_FALSE(view.Timer2().show);  // the first tick only records the totals
  EXPECT_EQ(common::ui::WindowText(view.PicDown()), L"宽带下载速度");
  EXPECT_EQ(common::ui::WindowText(view.PicUp()), L"宽带上传速度");
  LoopbackTraffic(600000);  // the loopback counts what it receives and what it sends
  SpeedMeter::Reading second = view.Timer2();
  ASSERT_TRUE(second.show);
  EXPECT_GE(second.downKB, 580);
  EXPECT_GE(second.upKB, 580);
  EXPECT_EQ(view.down().text(), std::to_wstring(second.downKB) + L" KB/秒");
  EXPECT_EQ(common::ui::WindowText(view.PicUp()), std::to_wstring(second.upKB) + L" KB/秒");
  // More than 500 KB in one second: the bar is wider than its box, which clips it.
  RECT box;
  GetClientRect(view.PicDown(), &box);
  EXPECT_EQ(view.down().BarPixels(), box.right * second.downKB / 500);
  EXPECT_GT(view.down().BarPixels(), box.right);
}

TEST(SpeedMeterView, Timer2TicksOnItsOwn) {
  Boxes boxes;
  SpeedMeterView* view = SpeedMeterView::Start(boxes.down, boxes.up);
  ASSERT_NE(view, nullptr);
  // Two ticks: the texts change from the second on, whenever anything was received.
  MSG msg;
  DWORD end = GetTickCount() + 3500;
  while (GetTickCount() < end) {
    LoopbackTraffic(20000);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
  }
  EXPECT_NE(view->down().text().find(L" KB/秒"), std::wstring::npos) << view->down().text();
  // The meter goes with its boxes.
  boxes.frame.Destroy();
}

}  // namespace
}  // namespace corvane
