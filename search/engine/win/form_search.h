// The modal search window `FormSearch`: keyword and range boxes, the search/stop button and the folder
// picker. Its search button runs the search of the main window.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui/window.h"

namespace sercavo {

class FrmMain;
inline constexpr wchar_t kFormSearchClass[] = L"SercavoFormSearch";

class FormSearch : public common::ui::Window {
 public:
  enum : int { kIdKeyword = 10, kIdRange = 11, kIdSearch = 12, kIdBrowse = 13, kIdType = 14, kIdSize = 15 };
  explicit FormSearch(FrmMain& main) : main_(main) {}
  // Creates the window with the kind's caption (`Form_Load`); false when it could not be made.
  bool Load(const std::wstring& caption);
  // Shows it modally over the main window until it closes.
  void ShowModal();

  void Command1Click();
  void Command2Click();
  HWND comb(int i) const { return comb_[i]; }
  std::wstring Command1Caption() const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void FillDriveList();
  void Activate();
  void Close();

  FrmMain& main_;
  HWND comb_[2] = {};
  HWND cmd1_ = nullptr, cmd2_ = nullptr;
};

}  // namespace sercavo
