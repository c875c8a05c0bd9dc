// Dialog "退出浏览器": asks before the browser ends and shows the minutes spent online.
#pragma once
#include <string>

#include "browser/pages/win/focus_keeper.h"
#include "common/win/ui/window.h"

namespace corvane {

class ExitDialog : public common::ui::Window {
 public:
  enum : int { kOKButton = IDOK, kCancelButton = IDCANCEL, kAskMe = 300, kText1 = 301 };
  // Creates the dialog over owner; minutes is the online time shown.
  bool Create(HWND owner, long long minutes);
  bool confirmed() const { return confirmed_; }
  bool askMe() const { return askMe_; }
  HWND Text1() const { return text1_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND text1_ = nullptr, askMe_h_ = nullptr;
  FocusKeeper focus_;
  bool confirmed_ = false, askMe_ = false;
};

// Whole minutes from start to now (dates as days, as the form counts: the fraction is cut off).
long long OnlineMinutes(double startDays, double nowDays);
// Now as days since 1899-12-30 (the form's date-time).
double NowDays();

}  // namespace corvane
