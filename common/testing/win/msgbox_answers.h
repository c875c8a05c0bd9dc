// Answers message boxes in tests and records what they said.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace suite {

struct ShownMessage {
  std::wstring text, title;
  UINT flags;
};

// While alive, message boxes are answered from the queue (then with the default) and recorded.
class MsgBoxAnswers {
 public:
  explicit MsgBoxAnswers(int defaultAnswer = IDOK);
  ~MsgBoxAnswers();
  void Queue(int answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& shown() const { return shown_; }

 private:
  int default_;
  std::deque<int> answers_;
  std::vector<ShownMessage> shown_;
};

// Puts back the default answer (OK, recorded nowhere) after each test.
class MsgBoxResetListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override;
};

}  // namespace suite
