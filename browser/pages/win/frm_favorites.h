// frmFavorites "添加到收藏夹": saves the active page as a shortcut file in the favorites folder.
#pragma once
#include <string>

#include "browser/pages/win/focus_keeper.h"
#include "common/win/ui/window.h"

namespace corvane {

class FrmFavorites : public common::ui::Window {
 public:
  enum : int { kCmdOK = IDOK, kCmdCancel = IDCANCEL, kTxtTitle = 601, kTxtUrl, kHint, kNewFolder, kFolders, kOffline };
  // favoritesFolder ends in a backslash.
  explicit FrmFavorites(std::wstring favoritesFolder) : folder_(std::move(favoritesFolder)) {}
  bool Create(HWND owner, const std::wstring& url, const std::wstring& title);
  void cmdOK_Click();
  // True once a favorite was written.
  bool saved() const { return saved_; }
  HWND txtTitle() const { return txtTitle_; }
  HWND txtUrl() const { return txtUrl_; }
  std::wstring TipText(HWND box) const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void AddTip(HWND box);
  void UpdateTip(HWND box);

  std::wstring folder_;
  HWND txtTitle_ = nullptr, txtUrl_ = nullptr, tip_ = nullptr;
  FocusKeeper focus_;
  bool saved_ = false;
};

}  // namespace corvane
