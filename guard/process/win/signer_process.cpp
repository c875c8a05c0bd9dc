#include "guard/process/win/signer_process.h"

#include "common/path.h"
#include "common/win/system.h"
#include "guard/process/win/trust.h"

namespace zorvix {
namespace {

void CloseAndClear(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}

bool ReadSome(HANDLE pipe, LineBuffer& into) {
  char chunk[4096];
  DWORD got = 0;
  if (!ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) || got == 0) return false;
  into.Append(chunk, got);
  return true;
}

// Ends a helper that has not answered in time; its end of the pipe closes with it, which ends the read.
class Deadline {
 public:
  Deadline(HANDLE process, DWORD ms) : process_(process) {
    CreateTimerQueueTimer(&timer_, nullptr, &Expire, process_, ms, 0, WT_EXECUTEONLYONCE);
  }
  ~Deadline() {
    if (timer_) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);  // waits for a running expiry
  }

 private:
  static void CALLBACK Expire(void* process, BOOLEAN) { TerminateProcess(static_cast<HANDLE>(process), 1); }
  HANDLE process_;
  HANDLE timer_ = nullptr;
};

}  // namespace

std::optional<std::wstring> PipeLines::Next() {
  for (;;) {
    if (auto line = buffer_.TakeLine()) return line;
    if (!ReadSome(pipe_, buffer_)) return std::nullopt;
  }
}

bool SignerProcess::Start() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE childIn = nullptr, childOut = nullptr;
  // The input pipe holds the longest path whole, so a write never waits on the helper.
  bool piped = CreatePipe(&childIn, &toHelper_, &inherit, 1 << 17) &&
               CreatePipe(&fromHelper_, &childOut, &inherit, 1 << 16);
  if (piped) {
    SetHandleInformation(toHelper_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromHelper_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = childIn;
    si.hStdOutput = childOut;
    PROCESS_INFORMATION pi{};
    std::wstring line = common::QuoteArg(helper_);
    if (CreateProcessW(helper_.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &si, &pi)) {
      CloseHandle(pi.hThread);
      process_ = pi.hProcess;
      lines_ = PipeLines(fromHelper_);
      ++starts_;
    }
  }
  CloseAndClear(childIn);
  CloseAndClear(childOut);
  if (!process_) End();
  return process_ != nullptr;
}

void SignerProcess::End() {
  CloseAndClear(toHelper_);
  CloseAndClear(fromHelper_);
  CloseAndClear(process_);
  lines_ = PipeLines(nullptr);
}

bool SignerProcess::Send(const std::wstring& path) {
  std::wstring line = PathLine(path);
  DWORD written = 0;
  return WriteFile(toHelper_, line.data(), DWORD(line.size() * sizeof(wchar_t)), &written, nullptr);
}

std::optional<std::optional<std::wstring>> SignerProcess::Receive() {
  std::optional<std::wstring> line;
  {
    Deadline deadline(process_, answerMs_);
    line = lines_.Next();
  }
  std::optional<std::wstring> signer;
  if (!line || !ParseSignerAnswer(*line, &signer)) return std::nullopt;
  return signer;
}

std::optional<std::wstring> SignerProcess::SignerOf(const std::wstring& path) {
  if (path.find_first_of(L"\r\n") != std::wstring::npos) return std::nullopt;  // no file has such a name
  // A second try only for a helper that was gone before it was asked (its deadline may fire just after
  // its last answer).
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!running() && !Start()) return fallback_ ? fallback_(path) : std::nullopt;
    if (!Send(path)) {
      End();
      continue;
    }
    if (auto answer = Receive()) return *answer;
    TerminateProcess(process_, 1);
    End();
    return std::nullopt;
  }
  return std::nullopt;
}

namespace {
SignerProcess& GuardSigner() {
  static SignerProcess signer(common::AppFolder() + kSignerProgram, zorvix::SignerOf);
  return signer;
}
}  // namespace

std::optional<std::wstring> GuardSignerOf(const std::wstring& path) { return GuardSigner().SignerOf(path); }

void EndGuardSigner() { GuardSigner().End(); }

}  // namespace zorvix
