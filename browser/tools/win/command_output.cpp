#include "browser/tools/win/command_output.h"

#include <vector>

#include "common/path.h"
#include "common/win/code_page.h"

namespace corvane {

std::wstring SystemProgram(const std::wstring& name) {
  wchar_t dir[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  return (n > 0 && n < MAX_PATH ? std::wstring(dir, n) : std::wstring(L"C:\\Windows\\System32")) + L"\\" + name;
}

bool CommandOutput::Start(const std::wstring& program, const std::wstring& args) {
  Close();
  bytes_.clear();
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &sa, 0)) return false;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  std::wstring exe = SystemProgram(program);
  // The program by its full path: a file of the same name in the browser's folder is never run.
  std::wstring line = common::QuoteArg(exe) + (args.empty() ? L"" : L" " + args);
  STARTUPINFOEXW si{};
  si.StartupInfo.cb = sizeof si;
  si.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.StartupInfo.wShowWindow = SW_HIDE;
  si.StartupInfo.hStdOutput = si.StartupInfo.hStdError = write;
  si.StartupInfo.hStdInput = nullptr;
  // The command gets the pipe and nothing else of the browser's: no other handle it could keep open.
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<char> list(listSize);
  si.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
  bool listed = InitializeProcThreadAttributeList(si.lpAttributeList, 1, 0, &listSize) &&
                UpdateProcThreadAttribute(si.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &write,
                                          sizeof write, nullptr, nullptr);
  PROCESS_INFORMATION pi{};
  BOOL ok = listed && CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                     &si.StartupInfo, &pi);
  if (listed) DeleteProcThreadAttributeList(si.lpAttributeList);
  // Only the command holds the writing end now, so the pipe ends when the command does.
  CloseHandle(write);
  if (!ok) {
    CloseHandle(read);
    return false;
  }
  CloseHandle(pi.hThread);
  pipe_ = read;
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  return true;
}

bool CommandOutput::Read() {
  if (!pipe_) return false;
  for (;;) {
    DWORD avail = 0;
    if (!PeekNamedPipe(pipe_, nullptr, 0, nullptr, &avail, nullptr)) {
      Close();  // broken: the command has ended and everything it wrote has been read
      return false;
    }
    if (avail == 0) return true;
    size_t at = bytes_.size();
    bytes_.resize(at + avail);
    DWORD got = 0;
    if (!ReadFile(pipe_, bytes_.data() + at, avail, &got, nullptr)) got = 0;
    bytes_.resize(at + got);
    if (got == 0) return true;
  }
}

void CommandOutput::Close() {
  if (pipe_) CloseHandle(pipe_);
  // Nobody reads what it writes from now on: a command still running is ended, not left behind.
  if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
  if (process_) CloseHandle(process_);
  pipe_ = process_ = nullptr;
}

std::wstring CommandOutput::Text() const {
  return common::FromOem(bytes_);  // console programs write in the OEM code page
}

}  // namespace corvane
