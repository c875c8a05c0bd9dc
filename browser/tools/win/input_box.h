// A question with a one-line answer, asked modally (the find box of the tool window).
#pragma once
#include <optional>
#include <string>

#include "common/win/ui/window.h"

namespace corvane {

class InputBox : public common::ui::Window {
 public:
  enum : int { kOK = IDOK, kCancel = IDCANCEL, kAnswer = 400, kPrompt = 401 };
  bool Create(HWND owner, const std::wstring& prompt, const std::wstring& title);
  // The answer when OK was chosen.
  const std::optional<std::wstring>& answer() const { return answer_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND edit_ = nullptr;
  std::optional<std::wstring> answer_;
};

// Shows the box over owner until it is answered; nullopt when cancelled or closed.
std::optional<std::wstring> AskText(HWND owner, const std::wstring& prompt, const std::wstring& title);

}  // namespace corvane
