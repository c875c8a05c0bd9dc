// Fuzzes the reading of the two list files and the rules applied to what they hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "guard/monitors/ask_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  zorvix::AskFileLists lists = zorvix::ParseAskFile(text);
  std::wstring entry = text.substr(0, text.size() / 3);
  lists.allow.Add(entry);
  if (!entry.empty() && entry.find(L';') == std::wstring::npos && !lists.allow.Contains(entry)) __builtin_trap();
  lists.deny.Remove(entry);
  if (!entry.empty() && lists.deny.Contains(entry)) __builtin_trap();
  zorvix::AskFileLists back = zorvix::ParseAskFile(zorvix::FormatAskFile(lists));
  if (back.allow.text().find(L'\n') != std::wstring::npos) __builtin_trap();
  for (const auto& at : zorvix::RegPathReadings(text)) {
    if (at.key.empty() || at.key.back() == L'\\') __builtin_trap();
    if (at.rootName.size() + at.key.size() + at.value.size() + 2 != text.size()) __builtin_trap();
  }
  return 0;
}
