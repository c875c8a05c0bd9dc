// Fuzzes the reading of "autorun.inf" files from any drive: the line rule, the program of a command text,
// the path resolution and the rule that decides what the cleaner may delete.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text.h"
#include "guard/monitors/autorun_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  const std::wstring root = L"U:\\";
  auto command = zorvix::AutorunCommand(text);
  if (!command) return 0;
  std::wstring program = zorvix::AutorunProgram(*command);
  std::wstring target = zorvix::AutorunTargetPath(root, program);
  if (zorvix::MayDeleteFromDrive(target, root, L"C:\\Windows")) {
    // Whatever the file says, a deletable path lies below the drive root, with no parent step left.
    if (!common::StartsWithNoCase(target, root) || target.size() <= root.size()) __builtin_trap();
    if (target.find(L"\\..\\") != std::wstring::npos || target.ends_with(L"\\..")) __builtin_trap();
  }
  if (zorvix::ResolveDots(target) != target) __builtin_trap();  // resolving is done once and for all
  return 0;
}
