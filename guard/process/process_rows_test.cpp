#include "guard/process/process_rows.h"

#include <gtest/gtest.h>

#include "common/text.h"

namespace zorvix {
namespace {

ProcessRow Row(uint32_t pid, std::wstring name, uint64_t workingSet = 0, bool trusted = false) {
  ProcessRow r;
  r.pid = pid;
  r.started = pid * 10;
  r.name = std::move(name);
  r.path = L"C:\\bin\\" + r.name;
  r.workingSet = workingSet;
  r.trusted = trusted;
  return r;
}

ProcessRows Rows() {
  return ProcessRows([](const std::wstring& a, const std::wstring& b) { return common::CompareNoCase(a, b); });
}

std::vector<uint32_t> Pids(const ProcessRows& rows) {
  std::vector<uint32_t> pids;
  for (size_t i = 0; i < rows.size(); ++i) pids.push_back(rows[i].pid);
  return pids;
}

TEST(ProcessRows, TextsAreMadeFromTheRow) {
  ProcessRows rows = Rows();
  ProcessRow r = Row(1234, L"a.exe", 1536 * 1024, true);
  r.priorityClass = 0x80;  // HIGH_PRIORITY_CLASS
  r.owner = L"系统/测试";
  r.remark = L"备注";
  rows.Add(r);
  rows.Add(Row(7, L"b.exe"));
  EXPECT_EQ(rows.Text(0, kColName), L"a.exe");
  EXPECT_EQ(rows.Text(0, kColPid), L"1234");
  EXPECT_EQ(rows.Text(0, kColMemory), L"1,536 K");
  EXPECT_EQ(rows.Text(0, kColOwner), L"系统/测试");
  EXPECT_EQ(rows.Text(0, kColTrust), L"√");
  EXPECT_EQ(rows.Text(1, kColTrust), L"?");
  EXPECT_EQ(rows.Text(0, kColPriority), L"高");
  EXPECT_EQ(rows.Text(1, kColPriority), L"") << "a class not known shows nothing";
  EXPECT_EQ(rows.Text(0, kColPath), L"C:\\bin\\a.exe");
  EXPECT_EQ(rows.Text(0, kColRemark), L"备注");
}

TEST(ProcessRows, NumbersSortByTheTextTheColumnShows) {
  // The header sorts what the user reads, as it always has: "10" before "9".
  ProcessRows rows = Rows();
  for (uint32_t pid : {9u, 100u, 10u}) rows.Add(Row(pid, L"p" + std::to_wstring(pid), pid * 1024));
  rows.SortBy(kColPid, true);
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{10, 100, 9}));
  rows.HeaderClick(kColPid);
  EXPECT_FALSE(rows.sortAscending());
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{9, 100, 10}));
  // The memory column by its text too, made from the working set at the time of the sort.
  rows.HeaderClick(kColMemory);
  EXPECT_TRUE(rows.sortAscending()) << "another column starts ascending";
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{10, 100, 9}));
  rows[0].workingSet = 99 * 1024;  // "99 K": its place holds until the next sort
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{10, 100, 9}));
  rows.Resort();
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{100, 9, 10}));
}

TEST(ProcessRows, RowsOfEqualTextKeepTheirOrder) {
  ProcessRows rows = Rows();
  for (uint32_t pid : {3u, 1u, 2u}) rows.Add(Row(pid, L"same.exe"));
  rows.SortBy(kColName, false);
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{3, 1, 2}));
}

TEST(ProcessRows, TheSelectionFollowsItsProcessThroughASortAndARefresh) {
  ProcessRows rows = Rows();
  rows.Add(Row(30, L"c.exe"));
  rows.Add(Row(10, L"a.exe"));
  rows.Add(Row(20, L"b.exe"));
  rows.Select(rows.Find(20));
  rows.SortBy(kColName, true);
  EXPECT_EQ(rows.Selected(), 1);
  EXPECT_EQ(rows[rows.Selected()].pid, 20u);
  EXPECT_TRUE(rows[1].focused);
  // A refresh: a row before it went, a new one came and the rows were sorted again.
  rows.Remove(10);
  rows.Add(Row(5, L"0.exe"));
  rows.Resort();
  ASSERT_GE(rows.Selected(), 0);
  EXPECT_EQ(rows[rows.Selected()].pid, 20u);
  EXPECT_EQ(rows.Selected(), 1);
  // The selected row's process went: nothing is selected, rather than the row that took its place.
  rows.Remove(20);
  EXPECT_EQ(rows.Selected(), -1);
  rows.Select(-1);
  EXPECT_EQ(rows.Selected(), -1);
}

TEST(ProcessRows, RowsAreFoundByPidAndByPathIgnoringCase) {
  ProcessRows rows = Rows();
  rows.Add(Row(1, L"a.exe"));
  rows.Add(Row(2, L"twin.exe"));
  rows.Add(Row(3, L"twin.exe"));
  EXPECT_EQ(rows.Find(3), 2);
  EXPECT_EQ(rows.Find(4), -1);
  EXPECT_EQ(rows.Row(4), nullptr);
  EXPECT_EQ(rows.FindPath(L"c:\\BIN\\TWIN.EXE"), 1) << "the first in the order shown";
  EXPECT_EQ(rows.FindPath(L"C:\\bin\\twin"), -1);
  EXPECT_EQ(rows.FindPath(L""), -1);
  rows.SortBy(kColPid, false);
  EXPECT_EQ(rows[rows.FindPath(L"C:\\bin\\twin.exe")].pid, 3u);
}

TEST(ProcessRows, RemovingLeavesTheOthersInTheirOrder) {
  ProcessRows rows = Rows();
  for (uint32_t pid : {1u, 2u, 3u, 4u}) rows.Add(Row(pid, L"p.exe", 0, pid % 2 == 0));
  EXPECT_FALSE(rows.Remove(9));
  EXPECT_EQ(rows.RemoveIf([](const ProcessRow& r) { return r.trusted; }), 2u);
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{1, 3}));
  EXPECT_TRUE(rows.Remove(1));
  EXPECT_EQ(Pids(rows), (std::vector<uint32_t>{3}));
}

}  // namespace
}  // namespace zorvix
