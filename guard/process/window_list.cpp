#include "guard/process/window_list.h"

#include "common/text.h"

namespace zorvix {

bool ListedTitle(std::wstring_view title) { return !title.empty(); }

bool TitleMatches(std::wstring_view title, std::wstring_view text) {
  return !text.empty() && common::FindNoCase(title, text) != std::wstring_view::npos;
}

std::wstring CloseWindowConfirmText(std::wstring_view title) {
  return L"您确实要关闭窗口进程【 " + std::wstring(title) + L" 】吗？  ";
}

}  // namespace zorvix
