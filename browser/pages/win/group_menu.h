// The frame's menu "网站群组(G)": the editor, saving every open window as a group, and one item per
// group that opens its addresses.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "browser/pages/win/pages_host.h"

namespace corvane {

class GroupMenu {
 public:
  // group holds its own items now; GroupName(n) becomes the item with command firstId + n after them,
  // for at most count groups.
  void Attach(HMENU group, int firstId, int count, PagesHost host);
  void loadgroups();
  void opengroup(const std::wstring& name);
  void groupSave();
  void groupSetup();
  // GroupName(n) clicked.
  void GroupName_Click(int n);
  const std::vector<std::wstring>& names() const { return names_; }

 private:
  HMENU group_ = nullptr;
  int firstId_ = 0, count_ = 0;
  PagesHost host_;
  std::vector<std::wstring> names_;
};

}  // namespace corvane
