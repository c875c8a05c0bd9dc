// zorvix_signer.exe: the guard's signature checks, run apart from the resident guard. Reads paths from
// standard input (UTF-16, each ended by "\n") and answers each with one line: "+" and the signer for a
// valid signature, "-" for none. Ends when its input ends.
#include <windows.h>

#include <string>

#include "guard/process/win/signer_process.h"
#include "guard/process/win/trust.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
  zorvix::PipeLines paths(in);
  while (std::optional<std::wstring> path = paths.Next()) {
    std::wstring answer = zorvix::SignerAnswer(zorvix::SignerOf(*path));
    DWORD written = 0;
    if (!WriteFile(out, answer.data(), DWORD(answer.size() * sizeof(wchar_t)), &written, nullptr)) break;
  }
  return 0;
}
