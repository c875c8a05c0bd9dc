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
  // Opens the address in a new window; false when the window table refused it (full).
  using Opener = std::function<bool(const std::wstring& url)>;
  // pages: the records of the open-pages files left by an abnormal end.
  Formask(std::vector<OpenPage> pages, Opener open);
  bool Create(HWND owner);
  // True once "确定(&Y)" answered the dialog.
  bool answered() const { return answered_; }
  // How many of the ticked pages "确定(&Y)" could not open.
  int notOpened() const { return notOpened_; }
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
  Opener open_;
  std::vector<OpenPage> pages_;
  common::ui::ListView lvw_;
  FocusKeeper focus_;
  bool answered_ = false;
  int notOpened_ = 0;
};

}  // namespace corvane
