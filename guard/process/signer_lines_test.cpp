#include "guard/process/signer_lines.h"

#include <gtest/gtest.h>

#include <string>

using namespace zorvix;

namespace {
// The bytes a Windows program writes for a text: UTF-16, low byte first.
std::string Utf16(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char((c >> 8) & 0xFF);
  }
  return bytes;
}
}  // namespace

TEST(SignerLines, LinesAreCutWhereverThePiecesEnd) {
  std::string bytes = Utf16(PathLine(L"C:\\程序\\a.exe") + SignerAnswer(L"Tolvark") + SignerAnswer(std::nullopt));
  LineBuffer buffer;
  std::vector<std::wstring> lines;
  for (size_t at = 0; at < bytes.size(); at += 3) {  // odd pieces split the UTF-16 units too
    buffer.Append(bytes.data() + at, std::min<size_t>(3, bytes.size() - at));
    while (auto line = buffer.TakeLine()) lines.push_back(*line);
  }
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"C:\\程序\\a.exe", L"+Tolvark", L"-"}));
  EXPECT_EQ(buffer.TakeLine(), std::nullopt);
  // A unit whose low byte is "\n" is not a line end: 0x0A4E is a character of its own.
  buffer.Append("\x0A\x4E", 2);
  EXPECT_EQ(buffer.TakeLine(), std::nullopt);
}

TEST(SignerLines, AnswersSayTheSignerOrNoneAndNothingElseCounts) {
  std::optional<std::wstring> signer = L"left over";
  ASSERT_TRUE(ParseSignerAnswer(L"-", &signer));
  EXPECT_EQ(signer, std::nullopt);
  ASSERT_TRUE(ParseSignerAnswer(L"+Tolvark Ltd.", &signer));
  EXPECT_EQ(signer, std::optional<std::wstring>(L"Tolvark Ltd."));
  for (const wchar_t* nonsense : {L"", L"Tolvark", L"myhost\r", L"--"}) EXPECT_FALSE(ParseSignerAnswer(nonsense, &signer));

  // A signer's line break would end the answer early and leave the rest to be read as the next one.
  EXPECT_EQ(SignerAnswer(L"Tolvark\r\nLtd."), L"+Tolvark  Ltd.\n");
}
