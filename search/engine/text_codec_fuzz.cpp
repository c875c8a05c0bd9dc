// Fuzz target: the text search's reading of files written by anyone. Encoding detection and decoding,
// the exact replace, and the quick byte scan, which must always agree with decoding and comparing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/engine/case_fold.h"
#include "common/testing/gbk_double.h"
#include "search/engine/text_codec.h"
#include "search/engine/text_needle.h"
#include "search/extras/password_rules.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sercavo;
  static const suite::GbkDouble gbk;
  if (size < 2) return 0;
  // The first two bytes split the rest into a file and a text to find (the replacement is the file's tail).
  std::string_view all(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t cut = std::min(all.size(), size_t(data[0] % 16));
  std::string_view findBytes = all.substr(0, cut), file = all.substr(cut);
  std::wstring find;
  DecodeText(findBytes, TextFormat{Encoding::Utf8, 0}, gbk, find);

  TextFormat format = DetectFormat(file);
  std::wstring text;
  DecodeText(file, format, gbk, text);
  std::string_view body = file.substr(format.markBytes);
  if (format.encoding == Encoding::Utf8 && format.markBytes == 0) Check(EncodeText(text, Encoding::Utf8, gbk) == body);
  if (format.encoding == Encoding::Utf16Le && body.size() % 2 == 0)
    Check(EncodeText(text, Encoding::Utf16Le, gbk) == body);

  // The quick scan says what decoding and comparing say.
  TextNeedle needle(find, gbk);
  bool reference = !find.empty() && CaseFold::Get().Find(text, CaseFold::Get().Folded(find)) != std::wstring::npos;
  Check(needle.HeldBy(file) == reference);

  std::wstring replacement = text.substr(0, size_t(data[1] % 8));
  if (auto r = ReplaceExact(file, find, replacement, gbk)) {
    if (r->count == 0 || find == replacement) Check(r->bytes == file);
    Check(r->bytes.substr(0, format.markBytes) == file.substr(0, format.markBytes));
  }
  TextFormat kept = format;
  TextFileBytes(text, kept, gbk);
  LineEndOf(text);

  // The stored password as read from the settings store.
  if (auto codes = ParseCharCodes(text)) CodeBytes(*codes);
  return 0;
}
