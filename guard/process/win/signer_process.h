// Signature checks run in a helper process. The certificate libraries a check loads stay in the helper,
// not in the resident guard, which would otherwise hold several MB of them all day for a check now and
// then; and a file that upsets them cannot take the guard down with it. The helper lives while checks
// come in and ends when told (the guard's tick does) or when the guard ends.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "guard/process/signer_lines.h"

namespace zorvix {

inline constexpr wchar_t kSignerProgram[] = L"zorvix_signer.exe";

// Reads lines from one end of a pipe, waiting as long as it takes.
class PipeLines {
 public:
  explicit PipeLines(HANDLE pipe) : pipe_(pipe) {}
  std::optional<std::wstring> Next();

 private:
  HANDLE pipe_;
  LineBuffer buffer_;
};


class SignerProcess {
 public:
  using Check = std::function<std::optional<std::wstring>(const std::wstring& path)>;
  static constexpr DWORD kAnswerMs = 15000;
  // helper: the program to run; fallback: the check made here when the helper cannot be started.
  SignerProcess(std::wstring helper, Check fallback, DWORD answerMs = kAnswerMs)
      : helper_(std::move(helper)), fallback_(std::move(fallback)), answerMs_(answerMs) {}
  ~SignerProcess() { End(); }
  SignerProcess(const SignerProcess&) = delete;
  SignerProcess& operator=(const SignerProcess&) = delete;

  // The signer of a valid signature of the file. A helper that dies, overruns its time or answers
  // nonsense is ended and the file counts as unsigned.
  std::optional<std::wstring> SignerOf(const std::wstring& path);
  // Closes the helper's input, on which it ends by itself.
  void End();
  bool running() const { return process_ != nullptr; }
  int starts() const { return starts_; }

 private:
  bool Start();
  bool Send(const std::wstring& path);
  // The answer, or nullopt when none came in time.
  std::optional<std::optional<std::wstring>> Receive();

  std::wstring helper_;
  Check fallback_;
  DWORD answerMs_;
  HANDLE process_ = nullptr;
  HANDLE toHelper_ = nullptr;
  HANDLE fromHelper_ = nullptr;
  PipeLines lines_{nullptr};
  int starts_ = 0;
};

// The guard's signature check: through its helper beside the program, or here when that cannot start.
std::optional<std::wstring> GuardSignerOf(const std::wstring& path);
// Ends the guard's helper, if it runs.
void EndGuardSigner();

}  // namespace zorvix
