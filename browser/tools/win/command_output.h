// A system command run directly (no shell, no batch file) with its output read through a pipe: each tool
// window owns its own, so two windows never mix their outputs.
#pragma once
#include <windows.h>

#include <string>

namespace corvane {

class CommandOutput {
 public:
  CommandOutput() = default;
  CommandOutput(const CommandOutput&) = delete;
  CommandOutput& operator=(const CommandOutput&) = delete;
  ~CommandOutput() { Close(); }

  // Starts `program` (a file in the system folder, e.g. "ping.exe") with `args`, hidden, its output and
  // errors into the pipe, which is the only handle it inherits. False when it could not be started.
  bool Start(const std::wstring& program, const std::wstring& args);
  // Takes what the command has written so far without waiting; false once it has ended and all is read.
  bool Read();
  // Stops reading and ends the command if it still runs (it is never waited for).
  void Close();
  bool running() const { return pipe_ != nullptr; }
  DWORD pid() const { return pid_; }
  // Everything read so far, as text.
  std::wstring Text() const;

 private:
  HANDLE pipe_ = nullptr, process_ = nullptr;
  DWORD pid_ = 0;
  std::string bytes_;
};

// Full path of a program in the system folder.
std::wstring SystemProgram(const std::wstring& name);

}  // namespace corvane
