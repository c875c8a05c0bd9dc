// What the trace cleaner clears for the boxes ticked, in order, and where: the steps are pure, the folders
// come from the shell's known folders (or from a test).
#pragma once
#include <array>
#include <string>
#include <vector>

namespace corvane {

inline constexpr int kTraceBoxes = 10;
// Captions of Chk(0..9).
extern const std::array<const wchar_t*, kTraceBoxes> kTraceCaptions;
inline constexpr wchar_t kTraceDone[] = L"清除工作已经完成，请重新启动《Corvane安全浏览器》！    ";

struct TraceFolders {
  std::wstring history;  // the HTML control's history
  std::wstring recent;   // recent documents
  std::wstring cookies;  // the HTML control's cookie files
  std::wstring windows;  // the Windows folder, which held cookies once
};

struct TraceAction {
  enum Kind { kDeleteKey, kDeleteFiles, kEmptySetting, kDeleteCookies } kind;
  int box;              // the box whose step this is
  std::wstring target;  // key under HKEY_CURRENT_USER, folder, or settings key in section "myie"
  std::wstring pattern;  // file pattern for kDeleteFiles
  bool operator==(const TraceAction&) const = default;
};

// The actions of the ticked boxes, in the order the steps run (boxes 0, 4, 5, 8). Boxes without a step,
// and folders that are not known, add nothing.
std::vector<TraceAction> TracePlan(const std::array<bool, kTraceBoxes>& ticked, const TraceFolders& folders);

// The completion message: done, and the captions of the boxes whose step failed, if any.
std::wstring TraceMessage(const std::vector<int>& failedBoxes);

}  // namespace corvane
