#include "guard/control/face_pages.h"

#include <gtest/gtest.h>

#include <set>

#include "guard/control/switches.h"

using namespace zorvix;

TEST(FacePages, SevenPagesInTabOrderWithTheirKeysCaptionsAndActions) {
  const auto& pages = FacePages();
  ASSERT_EQ(pages.size(), size_t(kPageCount));
  const wchar_t* captions[] = {L"首页  ",       L"可疑程序进程",  L"窗口标题列表 ", L"开机启动软件 ",
                               L"网络防火墙", L"应用软件卸载 ", L"系统工具修复 "};
  const wchar_t* keys[] = {L"home", L"system", L"windows", L"start", L"net", L"setup", L"repair"};
  const wchar_t* actions[] = {L"官方网站(&D)", L"终止进程(&D)", L"关闭窗口(&D)", L"删除项目(&D)",
                              L"删除列表(&D)", L"软件卸载(&D)", L"立即修复(&D)"};
  for (int i = 0; i < kPageCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(int(pages[i].type), i + 1) << "the position is the page type";
    EXPECT_STREQ(pages[i].caption, captions[i]) << "trailing blanks are part of the caption";
    EXPECT_STREQ(pages[i].key, keys[i]);
    EXPECT_STREQ(pages[i].command4, actions[i]);
    EXPECT_EQ(PositionOfKey(keys[i]), i + 1);
    EXPECT_EQ(&PageAt(i + 1), &pages[i]);
  }
  EXPECT_EQ(PositionOfKey(L"Home"), 0) << "keys are compared exactly";
  EXPECT_EQ(&PageAt(0), &pages[0]);
  EXPECT_EQ(&PageAt(8), &pages[0]);
}

TEST(FacePages, ColumnsAndWidthsOfEachPage) {
  auto columns = [](int position) {
    std::vector<std::pair<std::wstring, int>> out;
    for (const auto& c : PageAt(position).columns) out.emplace_back(c.caption, c.twips);
    return out;
  };
  using V = std::vector<std::pair<std::wstring, int>>;
  EXPECT_TRUE(columns(1).empty()) << "the first page shows its text instead of the list";
  EXPECT_EQ(columns(2), (V{{L"进程名称", 1700}, {L"PID", 700}, {L"内存使用", 1000}, {L"用户名", 1500},
                           {L"安全 ", 700}, {L"优先", 700}, {L"进程路径", 5000}, {L"备注", 5000}}));
  EXPECT_EQ(columns(3), (V{{L"序号", 600}, {L"窗口名称", 6000}, {L"窗口属性", 2000}}));
  EXPECT_EQ(columns(4), (V{{L"项目名称", 1700}, {L"安全 ", 700}, {L"程序所在位置", 6000}, {L"注册表子键位置", 5000}}));
  EXPECT_EQ(columns(5), (V{{L"软件名称", 1500}, {L"网络访问", 1200}, {L"软件路径", 5000}}));
  EXPECT_EQ(columns(6), (V{{L"软件名称", 3600}, {L"卸载参数", 3000}, {L"软件注释", 3000}}));
  EXPECT_EQ(columns(7), (V{{L"选项", 800}, {L"制定功能", 6000}, {L"注释说明", 2000}}));
}

TEST(FacePages, TheProgramOfARowIsInThePathColumnOfPagesThatNameOne) {
  EXPECT_EQ(ProgramColumn(PageType::System), 6);
  EXPECT_STREQ(PageAt(2).columns[6].caption, L"进程路径");
  EXPECT_EQ(ProgramColumn(PageType::Start), 2);
  EXPECT_EQ(ProgramColumn(PageType::Net), 2);
  EXPECT_EQ(ProgramColumn(PageType::Setup), 1);
  for (PageType t : {PageType::Home, PageType::Windows, PageType::Repair}) EXPECT_EQ(ProgramColumn(t), -1);
}

TEST(FacePages, MessagesNameTheirObjectBetweenTheBrackets) {
  EXPECT_EQ(KillProcessConfirmText(L"a.exe"),
            L"您确实要终止程序进程【 a.exe 】吗？     \r\n\r\n提示：您还没有删除该文件……    ");
  EXPECT_EQ(DeleteStartConfirmText(L"(预设值)"), L"您确实要删除【 (预设值) 】这个启动项目吗？");
  EXPECT_EQ(DeleteNetConfirmText(L"qq.exe"), L"您确实要删除列表【 qq.exe 】吗？  ");
  EXPECT_EQ(UninstallConfirmText(L"Foo 1.0"), L"您确实要卸载【 Foo 1.0 】这个应用程序吗？");
  EXPECT_EQ(LocalIpText(L"10.0.0.7"),
            L"本机在局域网中的IP地址是：    10.0.0.7\r\n\r\n提示：IP地址已经复制到剪贴版中……");
  std::wstring notStarted = UninstallFailedText(L"C:\\x\\un.exe /S", L"系统找不到指定的文件。");
  EXPECT_NE(notStarted.find(L"C:\\x\\un.exe /S"), std::wstring::npos);
  EXPECT_NE(notStarted.find(L"系统找不到指定的文件。"), std::wstring::npos);
}
