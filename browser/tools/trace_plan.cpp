#include "browser/tools/trace_plan.h"

#include <algorithm>

namespace corvane {

const std::array<const wchar_t*, kTraceBoxes> kTraceCaptions = {
    L"清除地址栏历史", L"清除搜索栏历史",  L"清除网站访问历史",   L"清除上网产生的表单记录", L"清空“我的文档”列表",
    L"清除 Cookies 痕迹", L"清除网页缓存", L"清除临时目录", L"清除撤销记录", L"清除“网上邻居”痕迹"};

namespace {

void EmptyHistory(std::vector<TraceAction>& plan, int box, bool captions) {
  for (int n = 1; n <= 15; ++n) {
    plan.push_back({TraceAction::kEmptySetting, box, std::to_wstring(n) + L"his_url", L""});
    if (captions) plan.push_back({TraceAction::kEmptySetting, box, std::to_wstring(n) + L"his_cap", L""});
  }
}

void Files(std::vector<TraceAction>& plan, int box, const std::wstring& folder, const wchar_t* pattern) {
  if (!folder.empty()) plan.push_back({TraceAction::kDeleteFiles, box, folder, pattern});
}

}  // namespace

std::vector<TraceAction> TracePlan(const std::array<bool, kTraceBoxes>& ticked, const TraceFolders& folders) {
  std::vector<TraceAction> plan;
  if (ticked[0]) {
    plan.push_back({TraceAction::kDeleteKey, 0, L"Software\\Microsoft\\Internet Explorer\\TypedUrls", L""});
    Files(plan, 0, folders.history, L"*.*");
    EmptyHistory(plan, 0, false);
  }
  if (ticked[4]) {
    Files(plan, 4, folders.recent, L"*.*");
    plan.push_back({TraceAction::kDeleteKey, 4, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\recentdocs", L""});
  }
  if (ticked[5]) {
    Files(plan, 5, folders.cookies, L"*.txt");
    if (!folders.windows.empty()) Files(plan, 5, folders.windows + L"\\cookies", L"*.txt");
    // Current systems keep the control's cookies in its cache, not in files.
    plan.push_back({TraceAction::kDeleteCookies, 5, L"", L""});
  }
  if (ticked[8]) EmptyHistory(plan, 8, true);
  return plan;
}

std::wstring TraceMessage(const std::vector<int>& failedBoxes) {
  std::wstring text = kTraceDone;
  if (failedBoxes.empty()) return text;
  text += L"\r\n\r\n以下项目没有能够完全清除：";
  std::vector<int> boxes = failedBoxes;
  std::sort(boxes.begin(), boxes.end());
  boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());
  for (int box : boxes)
    if (box >= 0 && box < kTraceBoxes) text += L"\r\n" + std::wstring(kTraceCaptions[size_t(box)]);
  return text;
}

}  // namespace corvane
