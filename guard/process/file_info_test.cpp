#include "guard/process/file_info.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace zorvix;

namespace {
FileDetails Sample() {
  FileDetails d;
  d.size = L"12.5 KB";
  d.description = L"描述";
  d.company = L"Maker";
  d.version = L"1.2.3.4";
  d.product = L"产品";
  d.created = L"2024/1/5 12:34";
  d.modified = L"2024/2/6 7:08";
  d.attributes = L"A";
  return d;
}
}  // namespace

TEST(FileInfoReport, LaysOutEveryLineInOrder) {
  std::wstring dashes(71, L'-');
  std::wstring expected = L"文件路径： C:\\a\\b.exe\r\n"
                          L"文件大小： 12.5 KB\r\n"
                          L"内存占用： 1,500 K\r\n" +
                          dashes + L"\r\n" +
                          L"产品描述： 描述\r\n"
                          L"产品公司： Maker\r\n"
                          L"产品版本： 1.2.3.4\r\n"
                          L"软件名称： 产品\r\n" +
                          dashes + L"\r\n" +
                          L"创建时间： 2024/1/5 12:34\r\n"
                          L"修改时间： 2024/2/6 7:08\r\n"
                          L"文件属性： A        隐藏[H]   只读[R]   存档[A] \r\n" +
                          dashes + L"\r\n" + L"其它注释： 备注文字";
  EXPECT_EQ(FileInfoReport(L"C:\\a\\b.exe", Sample(), L"1,500 K", std::wstring(L"备注文字")), expected);
}

TEST(FileInfoReport, UnreachableFileKeepsLabelsAndTheFixedRemarkHasNoLineEnd) {
  std::wstring r = FileInfoReport(L"C:\\gone.exe", FileDetails{}, kUnknownMemory, std::nullopt);
  auto lines = common::SplitLines(r);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], L"文件路径： C:\\gone.exe");
  EXPECT_EQ(lines[1], L"文件大小： ");
  EXPECT_EQ(lines[2], L"内存占用： 未知");
  EXPECT_EQ(lines[3], std::wstring(71, L'-'));
  EXPECT_EQ(lines[11], L"文件属性：         隐藏[H]   只读[R]   存档[A] ");
  EXPECT_EQ(lines[13], L"其它注释： 详见文件说明 ");
  EXPECT_FALSE(r.ends_with(L"\n"));
  EXPECT_TRUE(r.ends_with(L"详见文件说明 "));
  // An empty remark column still gives its label rather than the fixed line.
  EXPECT_TRUE(FileInfoReport(L"x", FileDetails{}, L"", std::wstring()).ends_with(L"\r\n其它注释： "));
}

TEST(AttributeLetters, ListsTheSetLettersInTheShellsOrder) {
  EXPECT_EQ(AttributeLetters(0x20), L"A");
  EXPECT_EQ(AttributeLetters(0x1 | 0x2 | 0x4 | 0x20), L"RHSA");
  EXPECT_EQ(AttributeLetters(0x80), L"");  // "normal" has no letter
  EXPECT_EQ(AttributeLetters(0x10 | 0x800), L"DC");
}
