// Fuzz target: the text search over files written by anyone. The quick byte scan must always agree with
// decoding and comparing, and a replace through the lossless reading must leave a file without the text
// byte for byte as it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/testing/gbk_double.h"
#include "common/text_codec.h"
#include "search/engine/case_fold.h"
#include "search/engine/text_needle.h"
#include "search/engine/text_search_rules.h"
#include "search/extras/password_rules.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sercavo;
  using namespace common;
  static const suite::GbkDouble gbk;
  if (size < 2) return 0;
  // The first two bytes split the rest into a file and a text to find (the replacement is the file's head).
  std::string_view all(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t cut = std::min(all.size(), size_t(data[0] % 16));
  std::string_view findBytes = all.substr(0, cut), file = all.substr(cut);
  std::wstring find = FromUtf8(findBytes);

  TextFormat format = DetectFormat(file);
  std::wstring text;
  DecodeText(file, format, gbk, text);

  // The quick scan says what decoding and comparing say.
  TextNeedle needle(find, gbk);
  bool reference = !find.empty() && CaseFold::Get().Find(text, CaseFold::Get().Folded(find)) != std::wstring::npos;
  Check(needle.HeldBy(file) == reference);

  // Piece by piece as a large file is read: the same answer where the form is told by the mark (or the
  // file is ASCII alone), wherever the pieces are cut.
  bool ascii = std::all_of(file.begin(), file.end(), [](char c) { return uint8_t(c) < 0x80; });
  if (format.markBytes > 0 || ascii) {
    size_t piece = 4 + data[1] % 13;
    TextNeedle pieces(find, gbk);
    auto read = [&](uint64_t at, std::string& bytes) {
      bytes = std::string(file.substr(size_t(at), piece));
      return true;
    };
    Check(HeldInPieces(pieces, file.size(), read) == reference);
  }

  // Replacing in the lossless text and writing it back changes nothing where nothing was replaced.
  std::wstring exact = DecodeExactly(file, format, gbk);
  auto back = EncodeExactly(exact, format, gbk);
  std::wstring replacement = text.substr(0, size_t(data[1] % 8));
  size_t count = 0;
  std::wstring replaced = ReplaceExact(exact, find, replacement, count);
  if (back == file && (count == 0 || find == replacement)) Check(EncodeExactly(replaced, format, gbk) == file);
  LineEndOf(text);

  // The stored password as read from the settings store.
  if (auto codes = ParseCharCodes(text)) CodeBytes(*codes);
  return 0;
}
