#include "guard/process/process_actions.h"

#include <gtest/gtest.h>

#include "guard/process/process_rules.h"

using namespace zorvix;

TEST(PriorityItems, EachRowTextMarksItsItemAndNothingElseMarksAny) {
  const wchar_t* rowTexts[] = {L"实时", L"高", L"较高", L"标准", L"较低", L"低"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(PriorityItemFor(rowTexts[i]), i) << i;
    // The text the table shows for the class the item sets marks that same item.
    EXPECT_EQ(PriorityItemFor(PriorityText(kPriorityItems[i].priorityClass)), i) << i;
  }
  EXPECT_EQ(PriorityItemFor(L""), -1);
  EXPECT_EQ(PriorityItemFor(L"高 "), -1);
  EXPECT_EQ(PriorityItemFor(L"高于标准(&A)"), -1);
  EXPECT_EQ(std::wstring(kPriorityItems[2].caption), L"高于标准(&A)");
  EXPECT_EQ(kPriorityItems[0].priorityClass, 0x100u);
  EXPECT_EQ(kPriorityItems[5].priorityClass, 0x40u);
}

TEST(PidOf, OnlyWholePositiveNumbersGiveAPid) {
  EXPECT_EQ(PidOf(L"1234"), 1234u);
  EXPECT_EQ(PidOf(L" 88 "), 88u);
  EXPECT_EQ(PidOf(L"4294967295"), 4294967295u);
  for (const wchar_t* bad : {L"", L"0", L"abc", L"-5", L"1.5", L"4294967296", L"12abc", L"1e400", L"0x10", L"1e2"})
    EXPECT_EQ(PidOf(bad), 0u) << bad;
}

TEST(ActionTexts, ConfirmationsNameTheirObjectWithTheirTrailingBlanks) {
  EXPECT_EQ(EndConfirmText(L"a.exe"), L"您确实要结束进程【 a.exe 】吗？    ");
  EXPECT_EQ(DeleteConfirmText(L"C:\\x\\a.exe"),
            L"您确定要结束进程，并且还要删除以下文件吗？    \r\n\r\n【 C:\\x\\a.exe 】");
  EXPECT_EQ(PriorityFailText(L"a.exe"), L"无法为进程 a.exe 设置优先级。");
}

TEST(ShellCommandLines, NameEachProgramByItsFullPath) {
  EXPECT_EQ(FolderSelectCommand(L"C:\\Windows", L"C:\\a b\\x.exe"),
            L"C:\\Windows\\explorer.exe /select,\"C:\\a b\\x.exe\"");
  EXPECT_EQ(KillExplorerCommand(L"C:\\Windows\\system32"), L"C:\\Windows\\system32\\tskill.exe explorer");
  EXPECT_EQ(OpenExplorerCommands(L"C:\\Windows"),
            (std::vector<std::wstring>{L"C:\\Windows\\explorer.exe", L"C:\\Windows\\explorer.exe",
                                       L"C:\\Windows\\regedit.exe"}));
  // A Windows folder with a blank stays one program name.
  EXPECT_EQ(KillExplorerCommand(L"D:\\My Win\\system32"), L"\"D:\\My Win\\system32\\tskill.exe\" explorer");
}
