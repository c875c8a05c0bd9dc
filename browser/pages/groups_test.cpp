#include <gtest/gtest.h>

#include "browser/pages/groups.h"

namespace corvane {
namespace {

TEST(GroupNames, OnlyPlainFileNamesInTheFolder) {
  for (const wchar_t* ok : {L"新闻", L"my sites", L"v1.2", L"a..b", L"...x", L"CONSOLE", L"COM10"})
    EXPECT_TRUE(IsPlainGroupName(ok)) << ok;
  for (const wchar_t* bad : {L"", L"..\\..\\x", L"C:\\x", L"C:x", L"a/b", L"..", L".", L"...", L" . ", L"   ",
                             L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b", L"a\tb", L"CON", L"nul.txt", L"aux ",
                             L"com3", L"LPT1.x", L"conin$"})
    EXPECT_FALSE(IsPlainGroupName(bad)) << bad;
  EXPECT_TRUE(IsPlainGroupName(std::wstring(200, L'组')));
  EXPECT_FALSE(IsPlainGroupName(std::wstring(201, L'组')));
}

TEST(GroupNames, ListedEntries) {
  EXPECT_EQ(GroupNameOf(L"新闻.txt"), L"新闻");
  EXPECT_EQ(GroupNameOf(L"Upper.TXT"), L"Upper");
  EXPECT_FALSE(GroupNameOf(L"."));
  EXPECT_FALSE(GroupNameOf(L".."));
  EXPECT_FALSE(GroupNameOf(L".txt"));
  EXPECT_FALSE(GroupNameOf(L"long.txtx"));
}

TEST(GroupFiles, BothWrittenFormsAndReading) {
  std::wstring saved = FormatSavedGroup({L"http://a.cn/", L"", L"about:blank", L"http://b.cn/"});
  EXPECT_EQ(saved, L"http://a.cn/\r\n\r\nhttp://b.cn/\r\n\r\n");
  EXPECT_EQ(GroupAddresses(saved), (std::vector<std::wstring>{L"http://a.cn/", L"http://b.cn/"}));
  EXPECT_EQ(FormatSavedGroup({L"about:blank"}), L"");

  std::wstring editor = EditorText(saved);
  EXPECT_EQ(editor, L"http://a.cn/\r\nhttp://b.cn/\r\n");
  EXPECT_EQ(FormatEditorGroup(editor), L"http://a.cn/\r\nhttp://b.cn/\r\n\r\n");
  EXPECT_EQ(FormatEditorGroup(L"typed without break"), L"typed without break\r\n");
  EXPECT_EQ(EditorText(FormatEditorGroup(editor)), editor);
  // Unix line ends, blank lines and blanks around addresses.
  EXPECT_EQ(GroupAddresses(L"\n  http://x/ \n\t\n\nhttp://y/"), (std::vector<std::wstring>{L"http://x/", L"http://y/"}));
  EXPECT_TRUE(GroupAddresses(L"").empty());
}

TEST(GroupFiles, OnlyAddressesTheFormCannotHoldChange) {
  auto held = [](std::wstring_view line) { return line.find(L'예') == std::wstring_view::npos; };
  EXPECT_EQ(HeldAddresses(L"http://中.cn/\r\nhttp://예시.kr/ñ\n\r\nhttp://b/", held),
            L"http://中.cn/\r\nhttp://xn--vv4b11d.kr/%C3%B1\n\r\nhttp://b/");
  EXPECT_EQ(HeldAddresses(L"", held), L"");
}

TEST(GroupMessages, NameTheGroup) {
  EXPECT_EQ(GroupExistsMessage(L"新闻"), L"对不起！网站群组“ 新闻 ”已经存在了，请你另外起个名字吧……    ");
  EXPECT_EQ(GroupChangedQuestion(L"新闻"), L"网站群组“ 新闻 ”的内容已经改变，是否保存？");
  EXPECT_EQ(GroupDeleteQuestion(L"新闻"), L"您确实要删除“ 新闻 ”吗？");
  EXPECT_NE(GroupNotOpenedStatus(L"新闻", 9).find(L" 9 "), std::wstring::npos);
}

}  // namespace
}  // namespace corvane
