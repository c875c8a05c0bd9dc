// Formclear "清除历史记录": ten boxes naming kinds of browsing traces, "全选", and the clearing of the
// ticked ones, then the completion message naming the steps that failed.
#pragma once
#include <array>
#include <functional>

#include "browser/pages/win/focus_keeper.h"
#include "browser/tools/trace_plan.h"
#include "common/win/ui/window.h"

namespace corvane {

inline constexpr wchar_t kClearTitle[] = L"清除历史记录";

class Formclear : public common::ui::Window {
 public:
  enum : int { kChk0 = 700, kCheckAll = 710, kCommand1 = IDOK, kCommand2 = IDCANCEL, kFrame = 711 };
  // `folders`: where the steps look (the known folders in the program); `cleared` runs after the steps, so
  // the browser drops what it holds of the cleared history.
  explicit Formclear(TraceFolders folders, std::function<void()> cleared = {})
      : folders_(std::move(folders)), cleared_(std::move(cleared)) {}
  bool Create(HWND owner);

  void CheckAll_Click();
  void Command1_Click();
  HWND Chk(int index) const { return chk_[size_t(index)]; }
  HWND CheckAll() const { return checkAll_; }
  std::array<bool, kTraceBoxes> Ticked() const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  TraceFolders folders_;
  std::function<void()> cleared_;
  std::array<HWND, kTraceBoxes> chk_{};
  HWND checkAll_ = nullptr;
  HWND owner_ = nullptr;
  FocusKeeper focus_;
};

// Shows the cleaner modally over owner with the shell's known folders.
void ShowFormclear(HWND owner, std::function<void()> cleared = {});

}  // namespace corvane
