#include "search/engine/results_model.h"

#include <gtest/gtest.h>

namespace sercavo {
namespace {

ResultsModel Rows(std::initializer_list<const wchar_t*> sizes) {
  ResultsModel m;
  int n = 0;
  for (const wchar_t* s : sizes) m.Add({L"f" + std::to_wstring(n++), L"", s, L"", L""});
  return m;
}

std::vector<std::wstring> Column(const ResultsModel& m, int c) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < m.size(); ++i) out.push_back(m.Text(i, c));
  return out;
}

TEST(ResultsSort, TextOrderWithToggleStartingDescending) {
  ResultsModel m = Rows({L"9 KB", L"10 KB", L"0.5 KB"});
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
  m.Add({L"beta", L"", L"", L"", L""});
  m.Add({L"Alpha", L"", L"", L"", L""});
  m.Add({L"alpha", L"", L"", L"", L""});
  m.SetSelected(0, true);
  m.ColumnClick(kColName);  // descending
  m.ColumnClick(kColName);  // ascending
  EXPECT_EQ(Column(m, kColName), (std::vector<std::wstring>{L"Alpha", L"alpha", L"beta"}));
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{2}));
  m.ColumnClick(99);
  EXPECT_EQ(m.sortColumn(), kColName);
}

TEST(ResultsSelection, InvertSelectAllAndRemove) {
  ResultsModel m = Rows({L"a", L"b", L"c", L"d"});
  m.SetSelected(1, true);
  m.InvertSelection();
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{0, 2, 3}));
  m.Remove(2);
  m.Remove(10);
  EXPECT_EQ(m.size(), 3u);
  EXPECT_EQ(m.SelectedIndices(), (std::vector<size_t>{0, 2}));
  m.SelectAll();
  EXPECT_EQ(m.SelectedIndices().size(), 3u);
}

}  // namespace
}  // namespace sercavo
