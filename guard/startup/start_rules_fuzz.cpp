// Fuzzes the start-up rules that read text from others: the command line and the program's folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "guard/startup/start_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  zorvix::StartsHiddenAndLocked(text);
  zorvix::FirstRunEntries(text);
  return 0;
}
