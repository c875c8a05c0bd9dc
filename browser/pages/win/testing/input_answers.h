// Answers the input boxes and add dialogs that open while it lives, and records what they asked.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "browser/pages/win/input_box.h"
#include "common/win/ui/modal.h"

namespace corvane::testing {

struct AskedText {
  std::wstring title, prompt, value;
};

class InputAnswers {
 public:
  // Other modal windows go to other (when set).
  explicit InputAnswers(std::function<void(common::ui::Window&)> other = nullptr) : other_(std::move(other)) {
    common::ui::SetModalHook([this](common::ui::Window& w) {
      auto* box = dynamic_cast<InputBox*>(&w);
      if (!box) {
        if (other_) other_(w);
        return;
      }
      asked_.push_back({common::ui::WindowText(box->hwnd()),
                        common::ui::WindowText(GetDlgItem(box->hwnd(), InputBox::kPrompt)),
                        common::ui::WindowText(box->text())});
      // No answer queued: Cancel.
      std::wstring answer = answers_.empty() ? L"" : answers_.front();
      if (!answers_.empty()) answers_.pop_front();
      SetWindowTextW(box->text(), answer.c_str());
      common::ui::ClickControl(box->hwnd(), answer.empty() ? IDCANCEL : IDOK);
    });
  }
  ~InputAnswers() { common::ui::SetModalHook(nullptr); }
  void Queue(const std::wstring& answer) { answers_.push_back(answer); }
  const std::vector<AskedText>& asked() const { return asked_; }

 private:
  std::function<void(common::ui::Window&)> other_;
  std::deque<std::wstring> answers_;
  std::vector<AskedText> asked_;
};

}  // namespace corvane::testing
