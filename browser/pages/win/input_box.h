// A small modal question for one line of text: a prompt, a text box and OK and Cancel.
#pragma once
#include <string>

#include "browser/pages/win/focus_keeper.h"
#include "common/win/ui/window.h"

namespace corvane {

class InputBox : public common::ui::Window {
 public:
  enum : int { kText = 501, kPrompt = 502 };
  bool Create(HWND owner, const std::wstring& prompt, const std::wstring& title, const std::wstring& value);
  // The text when OK answered, empty otherwise (Cancel, the close box, Esc).
  const std::wstring& answer() const { return answer_; }
  HWND text() const { return text_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND text_ = nullptr;
  FocusKeeper focus_;
  std::wstring answer_;
};

// Shows the box modally over owner and returns its answer (empty for Cancel).
std::wstring AskText(HWND owner, const std::wstring& prompt, const std::wstring& title,
                     const std::wstring& value = L"");

}  // namespace corvane
