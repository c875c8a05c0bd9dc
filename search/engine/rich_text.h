// Rich-text files as the text search sees them: the text the document shows (not its markup), with the
// bytes each shown character came from, so that a replace changes text and nothing else.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_codec.h"

namespace sercavo {

// A code page by its number (the document's \ansicpg, a font's character set); null when the system has
// none, in which case its bytes read as Latin-1.
using CodePageFor = std::function<const common::CodePage*(int number)>;

struct RichText {
  // Where a shown character stands in the file.
  struct Source {
    uint32_t begin = 0, end = 0;
    bool text = false;    // a literal, an escaped byte or character; false for a control word (\par, \tab)
    bool glued = false;   // right after a control word that took no blank: text put here needs one
    int codePage = 1252;  // of the font in use, for bytes written here
    int skip = 1;         // the \uc in force: stand-in characters after a \u
  };
  std::wstring text;           // paragraphs end in "\r", as the rich-text control counts them
  std::vector<Source> source;  // one for each character of text
};

RichText ReadRichText(std::string_view bytes, const CodePageFor& codePages);

struct RichReplaced {
  std::string bytes;  // the file with the replacements; the file as it was when acrossMarkup
  size_t count = 0;
  bool acrossMarkup = false;  // an occurrence stands across markup: nothing was replaced
};
// Every exact (letter case kept) occurrence of find in the shown text replaced by replacement, written
// as the document writes text (escapes in its code page, \u for characters it has not). Only text bytes
// change: an occurrence made of anything but text standing side by side leaves the whole file alone.
RichReplaced ReplaceInRichText(std::string_view bytes, const RichText& shown, std::wstring_view find,
                               std::wstring_view replacement, const CodePageFor& codePages);

}  // namespace sercavo
