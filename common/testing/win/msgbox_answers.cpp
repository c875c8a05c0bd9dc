#include "common/testing/win/msgbox_answers.h"

#include "common/win/msgbox.h"

namespace suite {

MsgBoxAnswers::MsgBoxAnswers(int defaultAnswer) : default_(defaultAnswer) {
  common::SetMsgBoxHook([this](const std::wstring& text, const std::wstring& title, UINT flags) {
    shown_.push_back({text, title, flags});
    if (answers_.empty()) return default_;
    int a = answers_.front();
    answers_.pop_front();
    return a;
  });
}

MsgBoxAnswers::~MsgBoxAnswers() {
  common::SetMsgBoxHook([](const std::wstring&, const std::wstring&, UINT) { return IDOK; });
}

void MsgBoxResetListener::OnTestStart(const testing::TestInfo&) {
  common::SetMsgBoxHook([](const std::wstring&, const std::wstring&, UINT) { return IDOK; });
}

}  // namespace suite
