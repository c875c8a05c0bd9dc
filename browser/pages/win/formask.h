// Formask "上次启动页面": offers the pages that were open when the browser last ended abnormally.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "browser/pages/open_pages.h"
#include "browser/pages/win/focus_keeper.h"
#include "common/win/ui/list_view.h"
#include "common/win/ui/window.h"

namespace corvane {

class Formask : public common::ui::Window {
 public:
  enum : int { kCommand1 = IDOK, kCommand2 = IDCANCEL, kCommand3 = 401, kCommand4 = 402, kLvw = 403 };
  using Opener = std::function<void(const std::wstring& url)>;
  Formask(std::wstring file, Opener open);
  bool Create(HWND owner);
  // True once "确定(&Y)" answered the dialog.
  bool answered() const { return answered_; }
  const std::vector<OpenPage>& pages() const { return pages_; }
  common::ui::ListView& lvw() { return lvw_; }
  bool Checked(int index) const;
  void SetChecked(int index, bool on);
  void Command1_Click();
  void ItemClick(int index);
  void ItemDblClick(int index);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::wstring file_;
  Opener open_;
  std::vector<OpenPage> pages_;
  common::ui::ListView lvw_;
  FocusKeeper focus_;
  bool answered_ = false;
};

}  // namespace corvane
