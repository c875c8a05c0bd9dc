// libFuzzer target for the texts the browser reads: the open-pages file, the block list and addresses.
// Build by hand: clang++ -std=c++20 -fsanitize=fuzzer,address -I. browser/pages/open_pages_fuzz.cpp
//   browser/pages/open_pages.cpp browser/shell/page_rules.cpp common/text.cpp
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/pages/open_pages.h"
#include "browser/shell/page_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
  auto pages = corvane::ParseOpenPages(text);
  // What is written and read again gives the same records.
  auto again = corvane::ParseOpenPages(corvane::FormatOpenPages(pages));
  size_t kept = 0;
  for (auto& p : pages)
    if (!corvane::IsBlankAddress(p.url) && p.url.find(corvane::kPageSeparator) == std::wstring::npos) ++kept;
  if (again.size() < kept) __builtin_trap();
  corvane::BlockList blocks;
  blocks.Load(text);
  blocks.Blocks(text);
  corvane::HostOf(text);
  corvane::PageTitle(text, text);
  return 0;
}
