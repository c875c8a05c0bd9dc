#include "browser/tools/win/formping.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <winspool.h>

#include <commctrl.h>

#include "common/win/ui/modal.h"
#include "browser/pages/win/input_box.h"
#include "browser/pages/win/testing/input_answers.h"
#include "browser/tools/win/text_output.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/clipboard.h"
#include "common/win/message_loop.h"

namespace corvane {
namespace {
using common::ui::WindowText;

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// Processes of this name now running.
int CountProcesses(const wchar_t* name) {
  int n = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) n += _wcsicmp(pe.szExeFile, name) == 0;
  CloseHandle(snap);
  return n;
}

class Tool : public ::testing::Test {
 protected:
  void TearDown() override {
    common::ui::SetModalHook(nullptr);
    SetSaveDialogHook(nullptr);
  }
  Formping& Make(const std::wstring& caption, const std::wstring& address = L"") {
    forms.push_back(std::make_unique<Formping>([this] { return source; }));
    Formping& f = *forms.back();
    EXPECT_TRUE(f.Create(nullptr, caption));
    if (!address.empty()) SetWindowTextW(f.Text2(), address.c_str());
    return f;
  }
  static bool Finished(const Formping& f) { return !f.timerOn(); }

  std::wstring source = L"<html><body>页面</body></html>";
  std::vector<std::unique_ptr<Formping>> forms;
};

TEST_F(Tool, PingsTheHostOfTheAddress) {
  Formping& f = Make(kPingCaption, L"http://127.0.0.1/index.htm");
  f.Toolbar1_ButtonClick(L"open");
  EXPECT_TRUE(f.timerOn());
  EXPECT_NE(f.output().pid(), 0u);
  ASSERT_TRUE(suite::PumpUntil([&] { return Finished(f); }, 32000));
  std::wstring text = WindowText(f.Text1());
  EXPECT_TRUE(Contains(text, L"127.0.0.1")) << text;
  EXPECT_TRUE(Contains(text, L"TTL")) << text;
  EXPECT_TRUE(Contains(text, L"\r\n"));
  EXPECT_LT(f.timeip(), 30);  // the command ended well before the cap
  EXPECT_FALSE(f.output().running());
}

TEST_F(Tool, RejectedHostStartsNothing) {
  int pings = CountProcesses(L"ping.exe"), shells = CountProcesses(L"cmd.exe");
  for (const wchar_t* address : {L"http://x&del /q %USERPROFILE%\\*", L"http://a|b/", L"\"x\"", L"http://-t/",
                                 L"http://a b/", L"http://%COMSPEC%/"}) {
    Formping& f = Make(kPingCaption, address);
    f.ping();
    EXPECT_EQ(WindowText(f.Text1()), kPingRejected) << address;
    EXPECT_FALSE(f.timerOn());
    EXPECT_EQ(f.output().pid(), 0u);
  }
  EXPECT_EQ(CountProcesses(L"ping.exe"), pings);
  EXPECT_EQ(CountProcesses(L"cmd.exe"), shells);
}

TEST_F(Tool, AddressConfigurationShown) {
  Formping& f = Make(kIpconfigCaption);
  EXPECT_FALSE(IsWindowVisible(f.Text2()));  // no address in this mode
  f.Toolbar1_ButtonClick(L"open");
  ASSERT_TRUE(suite::PumpUntil([&] { return Finished(f); }, 32000));
  std::wstring text = WindowText(f.Text1());
  EXPECT_TRUE(Contains(text, L"IPv4")) << text;
  EXPECT_TRUE(Contains(text, L"127.0.0.1")) << text;
}

TEST_F(Tool, TwoWindowsEachShowTheirOwnOutput) {
  Formping& pinger = Make(kPingCaption, L"http://127.0.0.1");
  Formping& config = Make(L"地址");
  pinger.Toolbar1_ButtonClick(L"open");
  config.Toolbar1_ButtonClick(L"open");
  EXPECT_NE(pinger.output().pid(), config.output().pid());
  ASSERT_TRUE(suite::PumpUntil([&] { return Finished(pinger) && Finished(config); }, 32000));
  std::wstring ping = WindowText(pinger.Text1()), ipconfig = WindowText(config.Text1());
  EXPECT_TRUE(Contains(ping, L"TTL"));
  EXPECT_FALSE(Contains(ping, L"IPv4"));
  EXPECT_TRUE(Contains(ipconfig, L"IPv4"));
  EXPECT_FALSE(Contains(ipconfig, L"TTL"));
}

TEST_F(Tool, OutputIsReadForThirtyOneTicksAtMost) {
  Formping& f = Make(kPingCaption, L"127.0.0.1");
  f.ping();
  // Ticks faster than the command can end: the 31st still reads, then reading stops.
  for (int i = 0; i < 30; ++i) {
    f.Timer1_Timer();
    if (!f.timerOn()) GTEST_SKIP() << "the command ended within a few milliseconds";
  }
  EXPECT_TRUE(f.timerOn());
  f.Timer1_Timer();
  EXPECT_EQ(f.timeip(), 31);
  EXPECT_FALSE(f.timerOn());
  EXPECT_FALSE(f.output().running());
  std::wstring shown = WindowText(f.Text1());
  suite::PumpFor(1500);
  EXPECT_EQ(WindowText(f.Text1()), shown);  // stays as last read
}

TEST_F(Tool, SourceOfTheCurrentPageAtEveryOpen) {
  Formping* f = OpenFormping(nullptr, kSourceCaption, L"http://a.cn/", L"甲页", [this] { return source; });
  ASSERT_NE(f, nullptr);
  HWND w = f->hwnd();
  EXPECT_EQ(WindowText(w), L"源文件");
  EXPECT_EQ(WindowText(f->Text1()), source);
  EXPECT_EQ(WindowText(f->Text2()), L"http://a.cn/");
  EXPECT_EQ(WindowText(f->Text3()), L"甲页");
  EXPECT_EQ(GetFocus(), f->Text1());
  source = L"<html>另一页</html>";
  f->Toolbar1_ButtonClick(L"open");
  EXPECT_EQ(WindowText(f->Text1()), source);
  // Esc closes the window, which frees itself.
  MSG esc{f->Text1(), WM_KEYDOWN, VK_ESCAPE, 0};
  if (!common::PreTranslate(esc)) DispatchMessageW(&esc);
  suite::PumpFor(50);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Tool, ToolTipsOfTheEightButtons) {
  Formping& f = Make(kPingCaption);
  EXPECT_EQ(SendMessageW(f.Toolbar1(), TB_BUTTONCOUNT, 0, 0), 11);  // eight and three separators
  std::vector<std::wstring> tips;
  for (int key = Formping::kOpen; key <= Formping::kPrint; ++key) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = f.Toolbar1();
    info.hdr.idFrom = UINT_PTR(key);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(f.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    tips.push_back(info.lpszText ? info.lpszText : L"");
  }
  EXPECT_EQ(tips, (std::vector<std::wstring>{L"打开源文件", L"保存", L"查找", L"自动换行", L"复制", L"剪切", L"粘贴",
                                             L"打印"}));
}

TEST_F(Tool, FindSelectsTheFirstHitIgnoringCase) {
  Formping& f = Make(kSourceCaption);
  SetWindowTextW(f.Text1(), L"<HTML><Body>x</body>");
  testing::InputAnswers answers;
  answers.Queue(L"BODY");
  f.Toolbar1_ButtonClick(L"find");
  ASSERT_EQ(answers.asked().size(), 1u);
  EXPECT_EQ(answers.asked()[0].prompt, L"请输入查找内容：");
  EXPECT_EQ(answers.asked()[0].title, L"查找");
  DWORD a = 0, b = 0;
  SendMessageW(f.Text1(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  EXPECT_EQ(a, 7u);
  EXPECT_EQ(b, 11u);
  EXPECT_EQ(GetFocus(), f.Text1());
  answers.Queue(L"none");
  SendMessageW(f.Text1(), EM_SETSEL, 0, 0);
  f.Toolbar1_ButtonClick(L"find");
  SendMessageW(f.Text1(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  EXPECT_EQ(a, b);  // no hit selects nothing
}

TEST_F(Tool, CopyCutAndPasteGoThroughTheClipboard) {
  Formping& f = Make(kSourceCaption);
  SetWindowTextW(f.Text1(), L"甲乙丙丁");
  SendMessageW(f.Text1(), EM_SETSEL, 1, 3);
  f.Toolbar1_ButtonClick(L"copy");
  EXPECT_EQ(common::GetClipboardText(), L"乙丙");
  EXPECT_EQ(WindowText(f.Text1()), L"甲乙丙丁");
  f.Toolbar1_ButtonClick(L"cut");
  EXPECT_EQ(WindowText(f.Text1()), L"甲丁");
  SendMessageW(f.Text1(), EM_SETSEL, 2, 2);
  f.Toolbar1_ButtonClick(L"zhan");
  EXPECT_EQ(WindowText(f.Text1()), L"甲丁乙丙");
  f.Toolbar1_ButtonClick(L"line");
  EXPECT_EQ(GetFocus(), f.Text1());
}

TEST_F(Tool, SaveWritesTheTextAsProposed) {
  suite::TempDir dir;
  Formping& f = Make(kSourceCaption);
  SetWindowTextW(f.Text3(), L"新闻: 首页?");
  SetWindowTextW(f.Text1(), L"<p>中文</p>");
  std::wstring filter, proposed, target = dir.wpath() + L"\\page.htm";
  SetSaveDialogHook([&](const std::wstring& fl, const std::wstring& name) {
    filter = fl;
    proposed = name;
    return std::optional<std::wstring>(target);
  });
  f.Toolbar1_ButtonClick(L"save");
  EXPECT_EQ(filter, L"网页，仅html（htm ；html)|*.htm;*.html|文本文件（TXT）|*.txt");
  EXPECT_EQ(proposed, L"新闻  首页");
  EXPECT_EQ(suite::ReadBytes(target), suite::Ansi(L"<p>中文</p>\r\n"));
  // Text the code page cannot hold is kept whole.
  SetWindowTextW(f.Text1(), L"한국어");
  f.Toolbar1_ButtonClick(L"save");
  EXPECT_EQ(suite::ReadBytes(target), std::string("\xEF\xBB\xBF\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4\r\n"));
  // A cancelled dialog saves nothing.
  SetSaveDialogHook([](const std::wstring&, const std::wstring&) { return std::optional<std::wstring>(); });
  DeleteFileW(target.c_str());
  f.Toolbar1_ButtonClick(L"save");
  EXPECT_FALSE(suite::ReadBytes(target).has_value());
}

TEST_F(Tool, AFailedSaveSaysSoNamingTheFile) {
  suite::TempDir dir;
  Formping& f = Make(kSourceCaption);
  SetWindowTextW(f.Text1(), L"<p>中文</p>");
  std::wstring target = dir.wpath() + L"\\no such folder\\page.htm";
  SetSaveDialogHook([&](const std::wstring&, const std::wstring&) { return std::optional<std::wstring>(target); });
  suite::MsgBoxAnswers boxes;
  f.Toolbar1_ButtonClick(L"save");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find(target), std::wstring::npos);
  EXPECT_EQ(boxes.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
}

// Top-level windows of this thread: a print dialog or an error box would add one.
int ThreadWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        if (IsWindowVisible(h)) ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

TEST_F(Tool, PrintWithoutAPrinterEndsQuietly) {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size > 0) GTEST_SKIP() << "this machine has a printer";
  EXPECT_FALSE(PrintText(L"一行", L"源文件"));
  Formping& f = Make(kSourceCaption);
  ShowWindow(f.hwnd(), SW_SHOWNA);
  SetWindowTextW(f.Text1(), L"一行\r\n两行");
  suite::MsgBoxAnswers boxes;
  int before = ThreadWindows();
  f.Toolbar1_ButtonClick(L"print");
  // No job and nothing shown: no dialog, no message, no window left behind.
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(ThreadWindows(), before);
}

TEST_F(Tool, ClosingTheWindowMidRunEndsTheCommand) {
  Formping& f = Make(kPingCaption, L"http://127.0.0.1/");
  f.Toolbar1_ButtonClick(L"open");
  ASSERT_NE(f.output().pid(), 0u);
  HANDLE ping = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, f.output().pid());
  ASSERT_NE(ping, nullptr);
  ASSERT_EQ(WaitForSingleObject(ping, 0), DWORD(WAIT_TIMEOUT)) << "still running when the window closes";
  DestroyWindow(f.hwnd());
  EXPECT_EQ(WaitForSingleObject(ping, 5000), DWORD(WAIT_OBJECT_0));
  DWORD code = 0;
  GetExitCodeProcess(ping, &code);
  EXPECT_EQ(code, 1u);  // ended by the window, not done by itself
  CloseHandle(ping);
}

TEST(CommandOutput, TheCommandInheritsOnlyItsOwnPipe) {
  // An inheritable handle of the browser's: the command must not hold it open.
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, &sa, 0));
  CommandOutput out;
  ASSERT_TRUE(out.Start(L"ping.exe", L"-n 5 127.0.0.1"));
  CloseHandle(write);
  DWORD avail = 0;
  EXPECT_FALSE(PeekNamedPipe(read, nullptr, 0, nullptr, &avail, nullptr)) << "the command holds the browser's handle";
  EXPECT_EQ(GetLastError(), DWORD(ERROR_BROKEN_PIPE));
  EXPECT_TRUE(out.Read());  // its own pipe works
  out.Close();
  CloseHandle(read);
}

}  // namespace
}  // namespace corvane
