// Formgroup "网站群组 设置": the editor of the site groups, one tree node and one file per group.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "browser/pages/win/focus_keeper.h"
#include "browser/files/edit_messages.h"
#include "common/text_codec.h"
#include "common/win/ui/window.h"

namespace corvane {

class Formgroup : public common::ui::Window {
 public:
  enum : int {
    kTvw = 701, kText1, kToolbar1, kHint, kExplain,
    // The toolbar's buttons by key.
    kBuild = 711, kRename, kDel, kSave, kCopy, kMove, kZhan, kCancel
  };
  // groupFolder ends in a backslash.
  explicit Formgroup(std::wstring groupFolder) : folder_(std::move(groupFolder)) {}
  ~Formgroup() override;
  bool Create(HWND owner);

  // The toolbar's buttons.
  void Toolbar1_ButtonClick(int key);
  // Asks about unsaved changes and closes; false when the editor stays open.
  bool Close();

  // The tree: root and groups; SelectGroup picks a group by its text (the root for an empty name).
  HWND tvw() const { return tvw_; }
  HWND Text1() const { return text1_; }
  HWND Toolbar1() const { return toolbar1_; }
  int NodeCount() const;
  std::wstring NodeText(int index) const;
  bool SelectGroup(const std::wstring& name);
  // The selected group's name; empty for the root.
  std::wstring SelectedGroup() const;
  bool changed() const { return changed_; }
  // Why the selected group's file may not be saved over (kNone when it may).
  EditBlock block() const { return block_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  void CreateToolbar();
  void Layout();
  void LoadTree();
  HTREEITEM AddGroupNode(const std::wstring& name);
  HTREEITEM FindGroup(const std::wstring& name) const;
  std::wstring ItemText(HTREEITEM item) const;
  // Before the selection leaves the group: false keeps it (a save failed).
  bool AskToSave();
  bool SaveSelected();
  void ShowSelected();
  bool CheckNewName(const std::wstring& name, const std::wstring& current);
  void build();
  void rename();
  void del();
  LRESULT OnNotify(NMHDR* hdr);

  std::wstring folder_;
  HWND tvw_ = nullptr, text1_ = nullptr, toolbar1_ = nullptr, hint_ = nullptr, explain_ = nullptr;
  HTREEITEM root_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HACCEL accel_ = nullptr;
  FocusKeeper focus_;
  bool changed_ = false;
  bool quiet_ = false;  // the editor's own changes of the tree ask nothing
  // The selected group's file as it was read: its form, and whether it may be written over.
  common::TextFormat format_;
  EditBlock block_ = EditBlock::kNone;
};

}  // namespace corvane
