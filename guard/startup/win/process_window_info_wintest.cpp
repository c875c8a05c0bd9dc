// The file-information report and the Forminfo window on the process window.
#include "guard/process/win/forminfo.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <filesystem>
#include <vector>

#include "common/testing/temp_dir.h"

#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/system.h"
#include "guard/process/win/file_details.h"
#include "guard/startup/win/process_window_fixture.h"

using namespace zorvix;
using zorvix::testing::ProcessWindow;

namespace {
std::wstring Line(const std::wstring& report, size_t index) {
  auto lines = common::SplitLines(report);
  return index < lines.size() ? lines[index] : L"<none>";
}
}  // namespace

TEST_F(ProcessWindow, ReportOfAChildUsesItsRowOnlyWhenOpenedFromTheTray) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  std::wstring path = frm->lvw().Text(row, kColPath);
  std::wstring report = BuildFileInfo(path, frm->table());
  EXPECT_EQ(Line(report, 0), L"文件路径： " + path);
  EXPECT_EQ(Line(report, 2), L"内存占用： " + frm->lvw().Text(row, kColMemory));
  EXPECT_EQ(Line(report, 4), L"产品描述： 套件测试程序");
  EXPECT_EQ(Line(report, 5), L"产品公司： Suite Test Maker");
  EXPECT_EQ(Line(report, 6), L"产品版本： 1.2.3.4");
  EXPECT_EQ(Line(report, 7), L"软件名称： 套件测试");
  EXPECT_EQ(Line(report, 13), L"其它注释： 详见文件说明 ");

  Guard().shownFromTray = true;
  frm->lvw().rows()[row].remark = L"自己的备注";
  report = BuildFileInfo(path, frm->table());
  EXPECT_EQ(Line(report, 13), L"其它注释： 自己的备注");
}

TEST_F(ProcessWindow, ReportOfAProgramWithoutARowShowsUnknownMemoryAndCompletesABareName) {
  ASSERT_NO_FATAL_FAILURE(Load());
  std::wstring name = L"notepad.exe";
  std::wstring report = BuildFileInfo(name, frm->table());
  EXPECT_TRUE(common::EqualsNoCase(name, common::GetWindowsFolder() + L"\\notepad.exe") ||
              common::EqualsNoCase(name, common::GetSystemFolder() + L"\\notepad.exe"))
      << name;
  EXPECT_EQ(Line(report, 0), L"文件路径： " + name);
  EXPECT_EQ(Line(report, 2), L"内存占用： 未知");
  EXPECT_FALSE(report.ends_with(L"\n"));
}

TEST_F(ProcessWindow, LeftPressShowsTheTranslucentReportAndCopiesThePath) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  std::wstring path = frm->lvw().Text(row, kColPath);
  ASSERT_TRUE(common::SetClipboardText(nullptr, L"before"));
  POINT at = RowPoint(row);
  frm->commands().ListLeftPress(at);
  Forminfo& info = frm->commands().forminfo();
  ASSERT_TRUE(info.loaded());
  EXPECT_TRUE(IsWindowVisible(info.hwnd()));
  EXPECT_EQ(common::ui::WindowText(info.hwnd()), L"文件信息");
  EXPECT_EQ(zorvix::testing::ClipboardText(), path);
  EXPECT_EQ(Line(info.report(), 5), L"产品公司： Suite Test Maker");
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetWindowLongW(info.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_TRUE(GetLayeredWindowAttributes(info.hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_TRUE(flags & LWA_ALPHA);
  EXPECT_TRUE(GetWindowLongW(info.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(OnTop());
  // Placed beside the pointer, below and to the right of it.
  RECT main, box;
  GetWindowRect(frm->hwnd(), &main);
  GetWindowRect(info.hwnd(), &box);
  EXPECT_EQ(box.left, main.left + at.x + common::ui::Twips(frm->hwnd(), 150));
  EXPECT_EQ(box.top, main.top + at.y + common::ui::Twips(frm->hwnd(), 1230));
  // The pointer standing still keeps it; a move over the list closes it.
  frm->commands().ListMouseMove(at);
  EXPECT_TRUE(info.loaded());
  frm->commands().ListMouseMove({at.x + 3, at.y});
  EXPECT_FALSE(info.loaded());
}

TEST_F(ProcessWindow, CopyInfoLinkPutsTheReportOnTheClipboardAndCloses) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  frm->commands().ListLeftPress(RowPoint(row));
  Forminfo& info = frm->commands().forminfo();
  ASSERT_TRUE(info.loaded());
  const wchar_t* links[] = {L"查看目录", L"启动运行", L"复制信息"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(common::ui::WindowText(GetDlgItem(info.hwnd(), 20 + i)), links[i]);
  ASSERT_TRUE(common::SetClipboardText(nullptr, L"before"));
  info.LabcmdClick(Forminfo::kCopyInfo);
  EXPECT_FALSE(info.loaded());
  EXPECT_EQ(zorvix::testing::ClipboardText(), info.report());
  // A click on the report closes it too.
  frm->commands().ListLeftPress(RowPoint(row));
  ASSERT_TRUE(info.loaded());
  SendMessageW(info.hwnd(), WM_COMMAND, MAKEWPARAM(10, STN_CLICKED), 0);
  EXPECT_FALSE(info.loaded());
}

TEST_F(ProcessWindow, EnterOnARowOpensTheReportForTheKeyboardAndEscClosesIt) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  SetForegroundWindow(frm->hwnd());
  SetFocus(frm->lvw().hwnd());
  Key(WM_KEYDOWN, VK_RETURN);
  Forminfo& info = frm->commands().forminfo();
  ASSERT_TRUE(info.loaded());
  EXPECT_TRUE(IsWindowVisible(info.hwnd()));
  EXPECT_EQ(GetFocus(), GetDlgItem(info.hwnd(), 20)) << "the first link has the focus";
  Key(WM_KEYDOWN, VK_TAB);
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(info.hwnd(), 22));
  ASSERT_TRUE(common::SetClipboardText(nullptr, L"before"));
  Key(WM_KEYDOWN, VK_RETURN);  // "复制信息"
  EXPECT_FALSE(info.loaded());
  EXPECT_EQ(zorvix::testing::ClipboardText(), info.report());
  EXPECT_EQ(GetFocus(), frm->lvw().hwnd()) << "the focus goes back to the list";

  Key(WM_KEYDOWN, VK_RETURN);
  ASSERT_TRUE(info.loaded());
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(info.loaded());
  EXPECT_EQ(GetFocus(), frm->lvw().hwnd());
  EXPECT_NE(frm->hwnd(), nullptr) << "Esc closes only the report";
}

TEST_F(ProcessWindow, ClosingTheTrayOpenedWindowAlsoClosesForminfo) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  frm->commands().ListLeftPress(RowPoint(row));
  ASSERT_TRUE(frm->commands().forminfo().loaded());
  Guard().shownFromTray = true;
  SendMessageW(frm->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(frm->commands().forminfo().loaded());
  EXPECT_NE(frm->hwnd(), nullptr);
  EXPECT_FALSE(IsWindowVisible(frm->hwnd()));
}
