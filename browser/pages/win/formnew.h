// Formnew "广告网页的阻止列表": edits the block list file, one address per line. Each add or delete
// writes the list and closes the dialog; a save that fails leaves the file and the dialog as they were.
// The lines live in the dialog's own model (with their ends), the list box only shows them.
#pragma once
#include <string>
#include <vector>

#include "browser/pages/win/focus_keeper.h"
#include "browser/files/edit_messages.h"
#include "browser/files/text_lines.h"
#include "common/text_codec.h"
#include "common/win/ui/window.h"

namespace corvane {

class Formnew : public common::ui::Window {
 public:
  enum : int { kCommand1 = 501, kCommand2, kCommand3 = IDCANCEL, kList1 = 504, kText2 };
  // file: the block list; address: the frame's current address, offered for adding.
  Formnew(std::wstring file, std::wstring address);
  bool Create(HWND owner);
  void Command1_Click();  // "添加(&A)"
  void Command2_Click();  // "删除(&D)"
  // The addresses shown, in file order.
  std::vector<std::wstring> Items() const;
  HWND List1() const { return list1_; }
  HWND Text2() const { return text2_; }
  // False when the last save failed (the old file stays as it was).
  bool saved() const { return saved_; }
  // Why the file may not be written over (kNone when it may).
  EditBlock block() const { return block_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FillList();
  // Writes the model; on failure the model before the change comes back and the dialog stays.
  void saveblocklist(std::vector<TextLine> before);

  std::wstring file_, address_;
  HWND list1_ = nullptr, text2_ = nullptr, add_ = nullptr;
  FocusKeeper focus_;
  std::vector<TextLine> lines_;
  std::vector<size_t> shown_;  // the line behind each list item
  common::TextFormat format_;
  EditBlock block_ = EditBlock::kNone;
  bool saved_ = true;
};

}  // namespace corvane
