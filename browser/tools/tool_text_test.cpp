#include "browser/tools/tool_text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ToolText, ModeByCaption) {
  EXPECT_EQ(ModeOfCaption(L"源文件"), ToolMode::kSource);
  EXPECT_EQ(ModeOfCaption(L"Ping 测试"), ToolMode::kPing);
  EXPECT_EQ(ModeOfCaption(L"IP 地址配置"), ToolMode::kIpconfig);
  EXPECT_EQ(ModeOfCaption(L""), ToolMode::kIpconfig);
  EXPECT_EQ(ModeOfCaption(L"ping 测试"), ToolMode::kIpconfig);
}

TEST(ToolText, EveryLineEndsInCrLf) {
  EXPECT_EQ(CollectedText(L"a\nb\r\nc"), L"a\r\nb\r\nc\r\n");
  EXPECT_EQ(CollectedText(L"a\r\n\r\nb\r\n"), L"a\r\n\r\nb\r\n");
  EXPECT_EQ(CollectedText(L"a\rb"), L"a\r\nb\r\n");
  EXPECT_EQ(CollectedText(L""), L"");
}

TEST(ToolText, SaveNameHoldsNoForbiddenCharacters) {
  EXPECT_EQ(SaveName(L"新闻 - 首页"), L"新闻 - 首页");
  EXPECT_EQ(SaveName(L"a/b:c*d?e\"f<g>h|i\\j"), L"a b c d e f g h i j");
  EXPECT_EQ(SaveName(L"  "), L"网络未知");
  EXPECT_EQ(SaveName(L""), L"网络未知");
  EXPECT_EQ(SaveName(L"end..."), L"end");
  EXPECT_EQ(SaveName(L"x\ty"), L"x y");
  EXPECT_EQ(SaveName(std::wstring(500, L'长')).size(), 120u);
}

TEST(ToolText, SaveNameIsNeverADevice) {
  // "CON" and the like name a device, not a file, whatever folder the dialog is in.
  EXPECT_EQ(SaveName(L"CON"), L"CON_");
  EXPECT_EQ(SaveName(L"  nul.txt "), L"nul_.txt") << "the blanks the cut takes away do not hide it";
  EXPECT_EQ(SaveName(L"aux:"), L"aux_");
  EXPECT_EQ(SaveName(L"LPT1"), L"LPT1_");
  EXPECT_EQ(SaveName(L"CONSOLE"), L"CONSOLE");
  std::wstring longDevice = SaveName(L"CON." + std::wstring(300, L'x'));
  EXPECT_EQ(longDevice.size(), 120u);
  EXPECT_EQ(longDevice.substr(0, 5), L"CON_.");
  EXPECT_EQ(SaveName(L"a\x7F" L"b"), L"a b") << "the same characters as every other file name";
}

TEST(ToolText, FindIgnoresLetterCase) {
  auto hit = FindFirst(L"<HTML><Body>body", L"body");
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->first, 7u);
  EXPECT_EQ(hit->second, 11u);
  EXPECT_FALSE(FindFirst(L"abc", L"x"));
  EXPECT_FALSE(FindFirst(L"abc", L""));
  EXPECT_EQ(FindFirst(L"ÄÖ ä", L"ä")->first, 0u);
}

}  // namespace
}  // namespace corvane
