#include "browser/tools/trace_plan.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

const TraceFolders kFolders{L"H:\\History", L"R:\\Recent", L"C:\\Cookies", L"C:\\Windows"};

std::array<bool, kTraceBoxes> Ticked(std::initializer_list<int> boxes) {
  std::array<bool, kTraceBoxes> t{};
  for (int b : boxes) t[size_t(b)] = true;
  return t;
}

std::vector<int> BoxesOf(const std::vector<TraceAction>& plan) {
  std::vector<int> boxes;
  for (const auto& a : plan)
    if (boxes.empty() || boxes.back() != a.box) boxes.push_back(a.box);
  return boxes;
}

TEST(TracePlan, StepsInOrderWithTheirFolders) {
  auto plan = TracePlan(Ticked({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), kFolders);
  EXPECT_EQ(BoxesOf(plan), (std::vector<int>{0, 4, 5, 8}));
  EXPECT_EQ(plan, TracePlan(Ticked({8, 5, 4, 0}), kFolders));
  ASSERT_GE(plan.size(), 2u);
  EXPECT_EQ(plan[0].kind, TraceAction::kDeleteKey);
  EXPECT_EQ(plan[0].target, L"Software\\Microsoft\\Internet Explorer\\TypedUrls");
  EXPECT_EQ(plan[1].kind, TraceAction::kDeleteFiles);
  EXPECT_EQ(plan[1].target, L"H:\\History");
  EXPECT_EQ(plan[1].pattern, L"*.*");
  std::vector<std::wstring> folders;
  for (const auto& a : plan)
    if (a.kind == TraceAction::kDeleteFiles) folders.push_back(a.target + L"\\" + a.pattern);
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"H:\\History\\*.*", L"R:\\Recent\\*.*", L"C:\\Cookies\\*.txt",
                                                L"C:\\Windows\\cookies\\*.txt"}));
}

TEST(TracePlan, OnlyUndoHistoryEmptiesThirtySettings) {
  auto plan = TracePlan(Ticked({8}), kFolders);
  ASSERT_EQ(plan.size(), 30u);
  for (const auto& a : plan) EXPECT_EQ(a.kind, TraceAction::kEmptySetting);
  EXPECT_EQ(plan.front().target, L"1his_url");
  EXPECT_EQ(plan[1].target, L"1his_cap");
  EXPECT_EQ(plan.back().target, L"15his_cap");
  // Box 0 empties the addresses only.
  int urls = 0;
  for (const auto& a : TracePlan(Ticked({0}), kFolders))
    if (a.kind == TraceAction::kEmptySetting) urls += a.target.find(L"his_url") != std::wstring::npos ? 1 : 100;
  EXPECT_EQ(urls, 15);
}

TEST(TracePlan, NothingTickedOrNoStepClearsNothing) {
  EXPECT_TRUE(TracePlan(Ticked({}), kFolders).empty());
  EXPECT_TRUE(TracePlan(Ticked({1, 2, 3, 6, 7, 9}), kFolders).empty());
  // Unknown folders are left out; the registry steps stay.
  auto plan = TracePlan(Ticked({4}), TraceFolders{});
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].kind, TraceAction::kDeleteKey);
}

TEST(TracePlan, MessageNamesFailedSteps) {
  EXPECT_EQ(TraceMessage({}), L"清除工作已经完成，请重新启动《Corvane安全浏览器》！    ");
  std::wstring m = TraceMessage({5, 0, 5});
  EXPECT_EQ(m.find(kTraceDone), 0u);
  size_t first = m.find(L"清除地址栏历史"), second = m.find(L"清除 Cookies 痕迹");
  ASSERT_NE(first, std::wstring::npos);
  ASSERT_NE(second, std::wstring::npos);
  EXPECT_LT(first, second);
  EXPECT_EQ(m.find(L"清除 Cookies 痕迹", second + 1), std::wstring::npos);
  EXPECT_EQ(m.find(L"清除撤销记录"), std::wstring::npos);
}

}  // namespace
}  // namespace corvane
