// The "autorun.inf" reader: the line that counts however far into the file it lies, in the file's own
// form, whatever pieces the file is read in.
#include "guard/monitors/autorun_inf.h"

#include <gtest/gtest.h>

#include "common/testing/gbk_double.h"

using namespace zorvix;

namespace {

const suite::GbkDouble kGbk;

// The command of a file read in pieces of `piece` bytes; "?" when there is none.
std::wstring Read(std::string_view file, size_t piece = 1 << 16) {
  AutorunInfReader reader(kGbk);
  for (size_t at = 0; at < file.size() && reader.Feed(file.substr(at, piece)); at += piece) {
  }
  reader.Finish();
  return reader.command().value_or(L"?");
}

std::string Utf16(std::wstring_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t c : text) {
    char hi = char(unsigned(c) >> 8), lo = char(unsigned(c) & 0xFF);
    bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return bytes;
}

}  // namespace

TEST(AutorunInf, TheFirstOpenOrShellLineCountsAndReadingStopsThere) {
  EXPECT_EQ(Read("[autorun]\r\n   Open=virus.exe\r\nshell=other.exe\r\n"), L"virus.exe");
  EXPECT_EQ(Read("[AutoRun]\n\tSHELLexecute=C:\\a\\b.exe -x\n"), L"C:\\a\\b.exe -x");
  EXPECT_EQ(Read("open=last-line-without-end.exe"), L"last-line-without-end.exe");
  EXPECT_EQ(Read("[autorun]\nopen virus.exe\nopen=later.exe"), L"?") << "a taken line without = ends the reading";
  EXPECT_EQ(Read("icon=x.ico\nlabel=open=no\n ope=x\nshel=y\n\ropen=cr-first.exe\n"), L"?");
  EXPECT_EQ(Read(""), L"?");
  EXPECT_EQ(Read("op"), L"?");

  AutorunInfReader reader(kGbk);
  EXPECT_FALSE(reader.Feed("open=a.exe\r\nshell=b.exe\r\n"));
  EXPECT_TRUE(reader.done());
  EXPECT_FALSE(reader.Feed("open=c.exe\n")) << "nothing after the line is read";
  EXPECT_EQ(reader.command().value_or(L"?"), L"a.exe");
}

TEST(AutorunInf, ALineFarIntoALargeFileIsFound) {
  std::string lines;
  while (lines.size() < (3u << 20)) lines += "; padding padding padding padding padding padding\r\n";
  EXPECT_EQ(Read(lines + "open=late.exe\r\n"), L"late.exe");
  // One line of 3 MB, and a taken line longer than any path keeps its beginning.
  EXPECT_EQ(Read("label=" + std::string(3u << 20, 'x') + "\nopen=late.exe\n"), L"late.exe");
  std::wstring longest = Read("open=run.exe " + std::string(AutorunInfReader::kMaxLineBytes * 2, 'y') + "\n");
  EXPECT_EQ(longest.substr(0, 8), L"run.exe ");
  EXPECT_LE(longest.size(), AutorunInfReader::kMaxLineBytes);
}

TEST(AutorunInf, EachFormIsReadAsItIs) {
  const std::wstring inf = L"[autorun]\r\nopen=中文\\點.exe\r\n";
  EXPECT_EQ(Read(Utf16(inf, false)), L"中文\\點.exe");
  EXPECT_EQ(Read(Utf16(inf, true)), L"中文\\點.exe");
  const std::string utf8 = "open=\xE4\xB8\xAD\xE6\x96\x87.exe\n";  // 中文.exe
  EXPECT_EQ(Read("\xEF\xBB\xBF" + utf8), L"中文.exe");
  EXPECT_EQ(Read(utf8), L"中文.exe") << "valid UTF-8 without a mark";
  EXPECT_EQ(Read("open=\xD6\xD0\xCE\xC4.exe\n"), L"中文.exe") << "the code page";
  // A byte that is no UTF-8 anywhere before the line makes the whole file the code page's, even when the
  // line alone would pass for UTF-8.
  std::wstring asCodePage;
  kGbk.Decode("\xE4\xB8\xAD.exe", asCodePage);
  ASSERT_NE(asCodePage, L"中.exe");
  EXPECT_EQ(Read("label=\xFC\x63\n" + std::string(200000, ';') + "\nopen=\xE4\xB8\xAD.exe\n"), asCodePage);
  EXPECT_EQ(Read("label=\xE4\xB8\xAD\nopen=\xE6\x96\x87.exe\n"), L"文.exe") << "UTF-8 throughout";
}

TEST(AutorunInf, PiecesCutAnywhereGiveTheSameReading) {
  const std::string files[] = {
      Utf16(L"[autorun]\r\n  open=中文\\點.exe\r\n", false),
      Utf16(L"shell=點.exe\n", true),
      "\xEF\xBB\xBF  open=\xE4\xB8\xAD.exe\n",
      "label=\xF0\x9F\x98\x80\xE4\xB8\xAD\nopen=\xE6\x96\x87.exe\n",  // four- and three-byte sequences
      "label=\xE4\xB8\nopen=\xD6\xD0.exe\n",                          // a sequence cut short by the line end
      "x=\xC3\nopen=\xD6\xD0.exe",
  };
  for (const std::string& file : files) {
    std::wstring whole = Read(file, file.size() + 1);
    for (size_t piece = 1; piece <= 7; ++piece) EXPECT_EQ(Read(file, piece), whole) << "pieces of " << piece;
  }
  EXPECT_EQ(Read(files[4], 1), L"中.exe");
  EXPECT_EQ(Read(files[3], 1), L"文.exe");
}
