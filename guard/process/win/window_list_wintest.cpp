// The window list against real windows of child processes.
#include "guard/process/win/window_list_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/ui/window.h"
#include "guard/process/window_list.h"

using namespace zorvix;

namespace {

class Host : public common::ui::Window {};

struct ListHost {
  ListHost() {
    host.Create(L"ZvWindowListHost", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300);
    lvw.Create(host.hwnd(), 1);
    AddWindowListColumns(lvw);
  }
  int RowOf(const std::wstring& title) {
    for (int i = 0; i < lvw.Count(); ++i)
      if (lvw.Text(i, 1) == title) return i;
    return -1;
  }
  Host host;
  common::ui::ListView lvw;
};

bool WindowShown(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()) != nullptr; }

}  // namespace

TEST(WindowList, ListsNumberedTitlesAndCloseByAShortWordReachesEveryCase) {
  suite::ChildProcess one(L"--window ZvAlpha Window One"), two(L"--window zvalpha window two"),
      other(L"--window ZvBeta Window"), untitled;
  ASSERT_TRUE(suite::PumpUntil([] { return WindowShown(L"ZvAlpha Window One") && WindowShown(L"ZvBeta Window"); },
                               5000));
  ListHost h;
  ListWindows(h.lvw);
  ASSERT_GE(h.RowOf(L"ZvAlpha Window One"), 0);
  ASSERT_GE(h.RowOf(L"zvalpha window two"), 0);
  ASSERT_GE(h.RowOf(L"ZvBeta Window"), 0);
  for (int i = 0; i < h.lvw.Count(); ++i) {
    EXPECT_EQ(h.lvw.Text(i, 0), std::to_wstring(i + 1));
    EXPECT_FALSE(h.lvw.Text(i, 1).empty());
    EXPECT_TRUE(h.lvw.Text(i, 2).empty());
  }
  // A second listing starts counting again.
  int count = h.lvw.Count();
  ListWindows(h.lvw);
  EXPECT_EQ(h.lvw.Count(), count);
  EXPECT_EQ(h.lvw.Text(0, 0), L"1");

  EXPECT_EQ(CloseWindowsByTitle(L"ZVALPHA"), 2);
  EXPECT_TRUE(one.WaitExit(3000));
  EXPECT_TRUE(two.WaitExit(3000));
  EXPECT_TRUE(other.Running());
  EXPECT_TRUE(untitled.Running());
  EXPECT_EQ(CloseWindowsByTitle(L""), 0);
  EXPECT_TRUE(other.Running());
}

TEST(WindowList, CloseCommandConfirmsThenClosesAndRemovesTheRow) {
  suite::ChildProcess target(L"--window ZvGamma Target");
  ASSERT_TRUE(suite::PumpUntil([] { return WindowShown(L"ZvGamma Target"); }, 5000));
  ListHost h;
  HWND header = ListView_GetHeader(h.lvw.hwnd());
  ASSERT_EQ(Header_GetItemCount(header), 3);
  ListWindows(h.lvw);
  int row = h.RowOf(L"ZvGamma Target");
  ASSERT_GE(row, 0);
  h.lvw.Select(row);
  {
    suite::MsgBoxAnswers answers(IDCANCEL);
    EXPECT_FALSE(CloseSelectedWindow(h.host.hwnd(), h.lvw));
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text, L"您确实要关闭窗口进程【 ZvGamma Target 】吗？  ");
  }
  EXPECT_FALSE(target.WaitExit(300));
  EXPECT_GE(h.RowOf(L"ZvGamma Target"), 0);
  suite::MsgBoxAnswers answers(IDOK);
  EXPECT_TRUE(CloseSelectedWindow(h.host.hwnd(), h.lvw));
  EXPECT_TRUE(target.WaitExit(3000));
  EXPECT_LT(h.RowOf(L"ZvGamma Target"), 0);
}
