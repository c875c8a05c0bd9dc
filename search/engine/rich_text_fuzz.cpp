// Fuzz target: rich-text files written by anyone. Every shown character names bytes inside the file, and
// a replace either leaves the file alone or changes only the bytes of the occurrences.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/testing/gbk_double.h"
#include "search/engine/rich_text.h"
#include "search/engine/text_search_rules.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sercavo;
  static const suite::GbkDouble gbk;
  static const CodePageFor pages = [](int n) -> const common::CodePage* { return n == 936 ? &gbk : nullptr; };
  if (size < 1) return 0;
  std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  RichText shown = ReadRichText(file, pages);
  Check(shown.text.size() == shown.source.size());
  uint32_t last = 0;
  for (const RichText::Source& s : shown.source) {
    Check(s.begin < s.end && s.end <= file.size());
    Check(s.begin >= last);  // in the order of the file
    last = s.end;
  }
  // A find text taken from the shown text, replaced by a text of markup signs and other characters.
  size_t from = shown.text.empty() ? 0 : data[0] % shown.text.size();
  std::wstring find = shown.text.substr(from, 1 + data[0] % 3);
  const std::wstring replacement = L"{\\}\u4e2d\u66ffa";
  RichReplaced r = ReplaceInRichText(file, shown, find, replacement, pages);
  if (r.acrossMarkup || r.count == 0) {
    Check(r.bytes == file);
  } else {
    // The file now shows the old text with the occurrences replaced, and nothing else changed.
    size_t count = 0;
    Check(ReadRichText(r.bytes, pages).text == ReplaceExact(shown.text, find, replacement, count));
    Check(count == r.count);
  }
  return 0;
}
