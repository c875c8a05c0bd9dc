#include "search/engine/results_model.h"

#include <gtest/gtest.h>

namespace sercavo {
namespace {

std::vector<std::wstring> Column(const ResultsModel& m, int c) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < m.size(); ++i) out.push_back(m.Text(i, c));
  return out;
}

TEST(ResultsRows, TextsAreMadeFromNumbersAndSharedFolders) {
  ResultsModel m;
  m.AddFile(L"C:\\docs\\", L"报告.txt", 1500, 0);
  m.AddFile(L"C:\\docs\\", L"Makefile", 0, 0);
  m.AddFolder(L"C:\\docs\\old", L"old", 0);
  EXPECT_EQ(m.Path(0), L"C:\\docs\\报告.txt");
  EXPECT_EQ(m.Text(0, kColName), L"报告.txt");
  EXPECT_EQ(m.Text(0, kColSize), L"1.5 KB");
  EXPECT_EQ(m.Text(0, kColType), L"TXT");
  EXPECT_EQ(m.Text(1, kColType), L"MAKEFILE");
  EXPECT_EQ(m.Text(1, kColSize), L"0 KB");
  EXPECT_EQ(m.Path(2), L"C:\\docs\\old");
  EXPECT_EQ(m.Text(2, kColSize), L"未知");
  EXPECT_EQ(m.Text(2, kColType), L"文件夹");
  EXPECT_TRUE(m.IsFolder(2));
  EXPECT_EQ(m.Text(0, kColModified), L"1601-01-01 00:00:00");
  // 2024-01-05 13:45:12 UTC in 100 ns units since 1601.
  m.AddFile(L"C:\\", L"x", 0, 133489359120000000ull);
  EXPECT_EQ(m.Text(3, kColModified), L"2024-01-05 13:45:12");
}

TEST(ResultsRows, AMillionNamesNeedNoFolderTextEach) {
  ResultsModel m;
  std::wstring folder = L"C:\\a folder with a rather long path\\where many files are found\\";
  for (int i = 0; i < 100000; ++i) m.AddFile(folder, L"name" + std::to_wstring(i) + L".txt", i, 0);
  // About 12 characters per name and one copy of the folder.
  EXPECT_LT(m.TextBytes(), 100000u * 14 * sizeof(wchar_t));
  EXPECT_EQ(m.Path(99999), folder + L"name99999.txt");
  m.Clear();
  EXPECT_EQ(m.size(), 0u);
  EXPECT_EQ(m.TextBytes(), 0u);
}

TEST(ResultsSort, TextOrderWithToggleStartingDescending) {
  ResultsModel m;
  m.AddFile(L"C:\\", L"f0", 9000, 0);
  m.AddFile(L"C:\\", L"f1", 10000, 0);
  m.AddFile(L"C:\\", L"f2", 500, 0);
  m.ColumnClick(kColSize);
  EXPECT_FALSE(m.ascending());
  EXPECT_EQ(Column(m, kColSize), (std::vector<std::wstring>{L"9 KB", L"10 KB", L"0.5 KB"}));
  m.ColumnClick(kColSize);
  EXPECT_EQ(Column(m, kColSize), (std::vector<std::wstring>{L"0.5 KB", L"10 KB", L"9 KB"}));
  // The order flips on any column, not only the sorted one.
  m.ColumnClick(kColName);
  EXPECT_FALSE(m.ascending());
  EXPECT_EQ(Column(m, kColName), (std::vector<std::wstring>{L"f2", L"f1", L"f0"}));
}

TEST(ResultsSort, CaseIgnoredAndSelectionTravelsWithRows) {
  ResultsModel m;
  m.AddFile(L"C:\\", L"beta", 0, 0);
  m.AddFile(L"C:\\", L"Alpha", 0, 0);
  m.AddFile(L"C:\\", L"alpha", 0, 0);
  m.SetSelected(0, true);
  m.ColumnClick(kColName);  // descending
  m.ColumnClick(kColName);  // ascending
  EXPECT_EQ(Column(m, kColName), (std::vector<std::wstring>{L"Alpha", L"alpha", L"beta"}));
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{2}));
  m.ColumnClick(99);
  EXPECT_EQ(m.sortColumn(), kColName);
}

TEST(ResultsSort, PathsAndTimesSortAsTheirWholeTexts) {
  ResultsModel m([](uint64_t t, std::wstring& out) { out += std::to_wstring(t) + L"/1"; });
  m.AddFile(L"C:\\a\\b\\", L"c.txt", 0, 9);
  m.AddFile(L"C:\\a\\", L"b.txt", 0, 10);
  m.AddFolder(L"C:\\A\\b", L"b", 2);
  m.AddFile(L"C:\\a\\", L"B-.txt", 0, 100);
  m.ColumnClick(kColPath);
  m.ColumnClick(kColPath);  // ascending
  // As whole texts: "-" < "." < "\" decide, not the folder first.
  EXPECT_EQ(Column(m, kColPath),
            (std::vector<std::wstring>{L"C:\\A\\b", L"C:\\a\\B-.txt", L"C:\\a\\b.txt", L"C:\\a\\b\\c.txt"}));
  m.ColumnClick(kColModified);  // descending, as text: "9/1" > "2/1" > "100/1" > "10/1"
  EXPECT_EQ(Column(m, kColModified), (std::vector<std::wstring>{L"9/1", L"2/1", L"100/1", L"10/1"}));
  m.ColumnClick(kColType);
  EXPECT_EQ(Column(m, kColType), (std::vector<std::wstring>{L"TXT", L"TXT", L"TXT", L"文件夹"}));
}

TEST(ResultsSelection, InvertSelectAllAndRemove) {
  ResultsModel m;
  for (const wchar_t* n : {L"a", L"b", L"c", L"d"}) m.AddFile(L"C:\\", n, 0, 0);
  m.SetSelected(1, true);
  m.InvertSelection();
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{0, 2, 3}));
  m.Remove(2);
  m.Remove(10);
  EXPECT_EQ(m.size(), 3u);
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{0, 2}));
  EXPECT_EQ(m.Name(2), L"d");
  m.SelectAll();
  EXPECT_EQ(m.SelectedIndices().size(), 3u);
  m.ClearSelection();
  EXPECT_TRUE(m.SelectedIndices().empty());
}

}  // namespace
}  // namespace sercavo
