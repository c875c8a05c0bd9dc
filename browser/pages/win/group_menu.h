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
  // GroupName(n): kGroupName + n.
  enum : int { kGroupSetup = 3150, kGroupSave, kGroupName = 3200, kLastGroupName = 3999 };

  // group is the menu's popup, empty; it is filled here and the groups follow its own items.
  void Attach(HMENU group, PagesHost host);
  void loadgroups();
  void opengroup(const std::wstring& name);
  void groupSave();
  void groupSetup();
  // A menu command; false when it is none of ours.
  bool Command(int id);
  const std::vector<std::wstring>& names() const { return names_; }

 private:
  HMENU group_ = nullptr;
  PagesHost host_;
  std::vector<std::wstring> names_;
};

}  // namespace corvane
