// The process window in-process: load, trust filter, sorting, close.
#include "guard/startup/win/frm_main.h"

#include <gtest/gtest.h>

#include "common/testing/win/child_process.h"
#include "common/testing/win/test_certificate.h"
#include "common/text.h"
#include "common/testing/win/text_files.h"
#include "common/win/system.h"
#include "common/win/ui/list_view.h"
#include "common/win/ui/window.h"
#include "common/win/version_info.h"
#include "guard/process/process_rules.h"
#include "guard/guard_state.h"

#include <tlhelp32.h>

using namespace zorvix;

namespace {
// Every file carries a valid signature of the company its version texts name.
std::optional<std::wstring> SignedEverything(const std::wstring& path) {
  auto texts = common::ReadVersionTexts(path);
  if (!texts) return std::nullopt;
  return texts->company;
}

// -1 when the snapshot does not even list this test program: then it proves nothing.
int RunningSignerHelpers() {
  int n = 0;
  bool self = false;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
    n += common::EqualsNoCase(pe.szExeFile, kSignerProgram);
    self = self || pe.th32ProcessID == GetCurrentProcessId();
  }
  if (snap != INVALID_HANDLE_VALUE) CloseHandle(snap);
  return self ? n : -1;
}

std::vector<std::wstring> ColumnTexts(ProcessList& lvw, int col) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < lvw.Count(); ++i) texts.push_back(lvw.Text(i, col));
  return texts;
}
}  // namespace

TEST(FrmMain, LoadShowsTheTableSortedByOwnerWithItsColumns) {
  suite::ChildProcess child;
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  EXPECT_EQ(common::ui::WindowText(frm.hwnd()), L"系统进程管理");
  EXPECT_TRUE(IsWindowVisible(frm.hwnd()));
  EXPECT_TRUE(GetWindowLongW(frm.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(frm.TimerRunning());
  HWND header = ListView_GetHeader(frm.lvw().hwnd());
  ASSERT_EQ(Header_GetItemCount(header), 8);
  const wchar_t* captions[] = {L"进程名称", L"PID", L"内存使用", L"用户名", L"安全 ", L"优先", L"进程路径", L"备注"};
  for (int i = 0; i < 8; ++i) {
    wchar_t buf[32]{};
    HDITEMW item{HDI_TEXT | HDI_FORMAT};
    item.pszText = buf;
    item.cchTextMax = 32;
    Header_GetItem(header, i, &item);
    EXPECT_EQ(std::wstring(buf), captions[i]);
    if (i == 2) {
      EXPECT_TRUE(item.fmt & HDF_RIGHT);
    }
    if (i == 4) {
      EXPECT_TRUE(item.fmt & HDF_CENTER);
    }
  }
  EXPECT_GE(frm.table().HaveItem(child.pid()), 0);
  EXPECT_EQ(frm.lvw().sortColumn(), kColOwner);
  auto owners = ColumnTexts(frm.lvw(), kColOwner);
  EXPECT_TRUE(std::is_sorted(owners.begin(), owners.end(),
                             [](auto& a, auto& b) { return common::ui::CompareText(a, b) < 0; }));
  EXPECT_EQ(Guard().windowsFolder, common::GetWindowsFolder());
  EXPECT_EQ(frm.NotesFile, common::AppFolder() + L"sys\\process.dat");
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, HeaderClicksSortAndFlipTheOrder) {
  suite::ChildProcess a, b;
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  auto less = [](auto& x, auto& y) { return common::ui::CompareText(x, y) < 0; };
  frm.lvw().OnHeaderClick(kColPid);
  auto pids = ColumnTexts(frm.lvw(), kColPid);
  EXPECT_TRUE(std::is_sorted(pids.begin(), pids.end(), less));
  frm.lvw().OnHeaderClick(kColPid);
  pids = ColumnTexts(frm.lvw(), kColPid);
  EXPECT_TRUE(std::is_sorted(pids.rbegin(), pids.rend(), less));
  frm.lvw().OnHeaderClick(kColName);
  EXPECT_TRUE(frm.lvw().sortAscending());
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, TrustFilterStopsTheRefreshUntilCleared) {
  suite::ChildProcess vendor(L"", suite::BinFolder() + L"suite_child_vendor.exe");
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  int row = frm.table().HaveItem(vendor.pid());
  ASSERT_GE(row, 0);
  EXPECT_EQ(frm.lvw().Text(row, kColTrust), L"√");

  frm.SetChk(true);
  EXPECT_FALSE(frm.TimerRunning());
  EXPECT_LT(frm.table().HaveItem(vendor.pid()), 0);
  for (int i = 0; i < frm.lvw().Count(); ++i) EXPECT_NE(frm.lvw().Text(i, kColTrust), L"√");
  suite::ChildProcess later;
  suite::PumpFor(1500);
  EXPECT_LT(frm.table().HaveItem(later.pid()), 0) << "no refresh while the filter is on";

  frm.SetChk(false);
  EXPECT_TRUE(frm.TimerRunning());
  EXPECT_TRUE(suite::PumpUntil([&] { return frm.table().HaveItem(later.pid()) >= 0; }, 3000));
  EXPECT_GE(frm.table().HaveItem(vendor.pid()), 0);
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, SignaturesAreCheckedInTheHelperWhichTheNextTickEnds) {
  ASSERT_TRUE(suite::TrustTestCertificate());
  suite::ChildProcess signedChild(L"", suite::BinFolder() + L"suite_child_signed.exe");
  suite::ChildProcess unsignedChild(L"", suite::BinFolder() + L"suite_child_maker.exe");
  FrmMain frm;  // the guard's own check
  ASSERT_TRUE(frm.Load(L"2"));
  int trusted = frm.table().HaveItem(signedChild.pid()), untrusted = frm.table().HaveItem(unsignedChild.pid());
  ASSERT_GE(trusted, 0);
  ASSERT_GE(untrusted, 0);
  EXPECT_EQ(frm.lvw().Text(trusted, kColTrust), kTrustedMark);
  EXPECT_EQ(frm.lvw().Text(untrusted, kColTrust), kUntrustedMark);
  EXPECT_TRUE(suite::PumpUntil([] { return RunningSignerHelpers() == 0; }, 3000));
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, EndedProcessLeavesWithinATick) {
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  suite::ChildProcess child;
  ASSERT_TRUE(suite::PumpUntil([&] { return frm.table().HaveItem(child.pid()) >= 0; }, 2500));
  child.Kill();
  EXPECT_TRUE(suite::PumpUntil([&] { return frm.table().HaveItem(child.pid()) < 0; }, 1500));
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, CommandLineOneOrNoneStartsHidden) {
  for (const wchar_t* line : {L"", L"1", L"abc"}) {
    FrmMain frm(SignedEverything);
    ASSERT_TRUE(frm.Load(line));
    EXPECT_FALSE(IsWindowVisible(frm.hwnd())) << "command line '" << suite::Ansi(line) << "'";
    DestroyWindow(frm.hwnd());
  }
}

TEST(FrmMain, MinimisingHidesAndResizingKeepsTheListInItsFrame) {
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  SetWindowPos(frm.hwnd(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, list;
  GetClientRect(frm.hwnd(), &client);
  GetWindowRect(frm.lvw().hwnd(), &list);
  MapWindowPoints(nullptr, frm.hwnd(), reinterpret_cast<POINT*>(&list), 2);
  EXPECT_NEAR(list.left, common::ui::Twips(frm.hwnd(), 50), 1);
  EXPECT_NEAR(list.top, common::ui::Twips(frm.hwnd(), 450), 1);
  EXPECT_NEAR(list.right - list.left, client.right - common::ui::Twips(frm.hwnd(), 100), 2);
  EXPECT_NEAR(list.bottom - list.top, client.bottom - common::ui::Twips(frm.hwnd(), 1580), 2);
  ShowWindow(frm.hwnd(), SW_MINIMIZE);
  EXPECT_FALSE(IsWindowVisible(frm.hwnd()));
  DestroyWindow(frm.hwnd());
}

TEST(FrmMain, ClosingAfterTheTrayShowedItOnlyHides) {
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  Guard().shownFromTray = true;
  SendMessageW(frm.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(IsWindow(frm.hwnd()));
  EXPECT_FALSE(IsWindowVisible(frm.hwnd()));
  EXPECT_FALSE(Guard().shownFromTray);
  SendMessageW(frm.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(frm.hwnd(), nullptr);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the guard ends with its window";
}
