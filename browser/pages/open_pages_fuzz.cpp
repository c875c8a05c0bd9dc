// libFuzzer target for the texts the browser reads: the open-pages file, the block list and addresses.
// Run: bash tools/fuzz.sh browser/pages/open_pages_fuzz.cpp 60
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browser/pages/open_pages.h"
#include "browser/pages/page_rules.h"
#include "common/testing/gbk_double.h"
#include "common/text.h"
#include "common/text_codec.h"

namespace {
// The input as UTF-16 text; every NUL splits it into caption, address, caption, address, ...
std::vector<corvane::OpenPage> PagesOf(const std::wstring& text) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : text) {
    if (c == 0) parts.emplace_back();
    else parts.back().push_back(c);
  }
  std::vector<corvane::OpenPage> pages;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) pages.push_back({parts[i], parts[i + 1]});
  return pages;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input is a file's bytes, read as the programs read files: by its mark, as UTF-8, or in the code page.
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::wstring text = common::DecodeExactly(bytes, common::DetectFormat(bytes), suite::GbkDouble());
  // Any file reads without harm.
  corvane::ParseOpenPages(text);
  // What is written is read back record by record, separators inside addresses included.
  std::vector<corvane::OpenPage> written = PagesOf(text), expected;
  for (const auto& p : written)
    if (!corvane::IsBlankAddress(p.url) && !common::Trim(corvane::StoredForm(p).url).empty())
      expected.push_back(corvane::StoredForm(p));
  auto read = corvane::ParseOpenPages(corvane::FormatOpenPages(written));
  if (read.size() != expected.size()) __builtin_trap();
  for (size_t i = 0; i < read.size(); ++i)
    if (read[i].caption != expected[i].caption || read[i].url != expected[i].url) __builtin_trap();
  // Every record read opens something, and its row shows something.
  for (const auto& p : corvane::ParseOpenPages(text))
    if (common::Trim(p.url).empty() || (corvane::RowText(p).empty())) __builtin_trap();
  if (auto slot = corvane::RecordSlotOf(text))
    if (*slot < 1 || *slot > corvane::kMaxRecords) __builtin_trap();
  corvane::BlockList blocks;
  blocks.Load(text);
  blocks.Blocks(text);
  corvane::HostOf(text);
  corvane::PageTitle(text, text);
  return 0;
}
