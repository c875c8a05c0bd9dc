// Fuzzes the rules that read paths and command lines written by others (process images, Run values, notes).
#include <cstddef>
#include <cstdint>
#include <string>

#include "guard/process/process_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  zorvix::CheckPath(text, L"C:\\Windows");
  zorvix::CleanCommandPath(text);
  zorvix::ExtractRunPath(text);
  auto key = zorvix::NoteKeyFor(text, L"C:\\Windows\\system32", L"C:\\Windows");
  if (key && key->key.empty()) __builtin_trap();
  zorvix::OwnerAndRemarkFor(text, L"user", L"note");
  return 0;
}
