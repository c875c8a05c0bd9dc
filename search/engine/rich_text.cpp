#include "search/engine/rich_text.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace sercavo {
namespace {

constexpr uint32_t kNone = ~uint32_t(0);

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  return IsDigit(c) ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The code page a font's character set stands for; 0: the document's own.
int CharsetCodePage(int charset) {
  static const std::map<int, int> pages{{0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
                                        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
                                        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
  auto it = pages.find(charset);
  return it == pages.end() ? 0 : it->second;
}

// Groups whose text the document does not show.
bool IsHiddenDestination(std::string_view word) {
  // clang-format off
  static const std::set<std::string_view> words{
      "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "objdata", "header", "headerl", "headerr",
      "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "fldinst", "listtable",
      "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl", "filetbl", "themedata",
      "colorschememapping", "datastore", "latentstyles", "pgdsctbl", "pntext", "pntxta", "pntxtb", "listtext",
      "txe", "xe", "tc", "nonshppict", "shpinst", "template", "docvar", "userprops", "private", "nextfile",
      "atnid", "atnauthor", "bkmkstart", "bkmkend"};
  // clang-format on
  return words.count(word) > 0;
}

// Control words that show a character.
wchar_t ShownBy(std::string_view word) {
  static const std::map<std::string_view, wchar_t> shown{
      {"par", L'\r'},        {"sect", L'\r'},        {"page", L'\r'},          {"row", L'\r'},
      {"line", L'\v'},       {"tab", L'\t'},         {"cell", L'\t'},          {"emdash", L'\x2014'},
      {"endash", L'\x2013'}, {"emspace", L'\x2003'}, {"enspace", L'\x2002'},   {"bullet", L'\x2022'},
      {"lquote", L'\x2018'}, {"rquote", L'\x2019'},  {"ldblquote", L'\x201C'}, {"rdblquote", L'\x201D'},
      {"zwj", L'\x200D'},    {"zwnj", L'\x200C'},    {"ltrmark", L'\x200E'},   {"rtlmark", L'\x200F'}};
  auto it = shown.find(word);
  return it == shown.end() ? 0 : it->second;
}

class Reader {
 public:
  Reader(std::string_view s, const CodePageFor& codePages) : s_(s), codePages_(codePages) { stack_.push_back({}); }

  RichText Run() {
    size_t i = 0;
    while (i < s_.size()) i = Token(i);
    FlushLead();
    return std::move(out_);
  }

 private:
  struct Group {
    bool hidden = false, fontTable = false, starred = false, fresh = true;
    int uc = 1;
    int font = -1;
  };

  Group& group() { return stack_.back(); }

  size_t Token(size_t i) {
    char c = s_[i];
    if (c == '{' || c == '}') {
      FlushLead();
      skip_ = 0;
      if (c == '{') {
        stack_.push_back(group());
        group().fresh = true;
        group().starred = false;
      } else if (stack_.size() > 1) {
        stack_.pop_back();
      }
      return i + 1;
    }
    if (c == '\r' || c == '\n') return i + 1;  // line ends in the file are not text
    if (c != '\\') {
      Text(uint8_t(c), uint32_t(i), uint32_t(i + 1));
      return i + 1;
    }
    if (i + 1 >= s_.size()) return i + 1;
    char d = s_[i + 1];
    if (IsLetter(d)) return Word(i);
    if (d == '\'') {
      int hi = i + 2 < s_.size() ? HexValue(s_[i + 2]) : -1, lo = i + 3 < s_.size() ? HexValue(s_[i + 3]) : -1;
      if (hi < 0 || lo < 0) return i + 2;
      Text(uint8_t(hi << 4 | lo), uint32_t(i), uint32_t(i + 4));
      return i + 4;
    }
    FlushLead();
    group().fresh = false;
    if (d == '*') {
      group().starred = true;
      group().fresh = true;  // the destination's word comes next
      return i + 2;
    }
    uint32_t b = uint32_t(i), e = uint32_t(i + 2);
    switch (d) {
      case '\\':
      case '{':
      case '}': Symbol(wchar_t(d), b, e); break;
      case '~': Symbol(L'\xA0', b, e); break;
      case '_': Symbol(L'\x2011', b, e); break;
      case '\r':
      case '\n': Put(L'\r', b, e, false); break;
      default: break;  // an optional hyphen, an index mark: nothing shown
    }
    return i + 2;
  }

  size_t Word(size_t i) {
    FlushLead();
    size_t j = i + 1;
    while (j < s_.size() && IsLetter(s_[j]) && j - i <= 32) ++j;
    std::string_view name = s_.substr(i + 1, j - i - 1);
    bool negative = j + 1 < s_.size() && s_[j] == '-' && IsDigit(s_[j + 1]);
    if (negative) ++j;
    bool hasParam = j < s_.size() && IsDigit(s_[j]);
    long long param = 0;
    for (int k = 0; j < s_.size() && IsDigit(s_[j]) && k < 10; ++j, ++k) param = param * 10 + (s_[j] - '0');
    if (negative) param = -param;
    bool delimited = j < s_.size() && s_[j] == ' ';
    size_t end = j + (delimited ? 1 : 0);
    if (name == "bin" && hasParam && param > 0) {
      end = std::min(s_.size(), end + size_t(param));  // raw bytes follow
      delimited = true;
    }
    bool wasFresh = std::exchange(group().fresh, false);
    if (wasFresh && (group().starred || IsHiddenDestination(name))) {
      group().hidden = true;
      group().fontTable = name == "fonttbl";
    }
    Apply(name, hasParam, int(std::clamp<long long>(param, -2147483647, 2147483647)), uint32_t(i), uint32_t(end));
    lastWordEnd_ = uint32_t(end);
    lastWordDelimited_ = delimited;
    return end;
  }

  void Apply(std::string_view name, bool hasParam, int param, uint32_t begin, uint32_t end) {
    Group& g = group();
    if (name == "u" && hasParam) {
      skip_ = 0;
      size_t before = out_.source.size();
      Put(wchar_t(param < 0 ? param + 65536 : param), begin, end, true);
      unicodeAt_ = out_.source.size() > before ? before : ~size_t(0);
      skip_ = g.uc;
      return;
    }
    skip_ = 0;  // stand-in characters end at a control word
    if (name == "uc" && hasParam) g.uc = std::max(0, param);
    if (name == "ansicpg" && hasParam) docCodePage_ = param;
    if (name == "ansi") docCodePage_ = 1252;
    if (name == "deff" && hasParam) defaultFont_ = param;
    if (name == "f" && hasParam) {
      if (g.fontTable)
        definingFont_ = param;
      else
        g.font = param;
    }
    if (name == "fcharset" && hasParam && g.fontTable) {
      int cp = CharsetCodePage(param);
      if (cp) fontCodePages_[definingFont_] = cp;
    }
    if (name == "cpg" && hasParam && g.fontTable) fontCodePages_[definingFont_] = param;
    if (name == "plain") g.font = -1;
    if (wchar_t c = ShownBy(name)) Put(c, begin, end, false);
  }

  int CodePageNow() {
    int font = group().font >= 0 ? group().font : defaultFont_;
    auto it = fontCodePages_.find(font);
    return it != fontCodePages_.end() ? it->second : docCodePage_;
  }

  // A byte of text, written as itself or as an escape: a lead byte waits for the byte after it.
  void Text(uint8_t b, uint32_t begin, uint32_t end) {
    group().fresh = false;
    if (skip_ > 0) return StandIn(begin, end);
    const common::CodePage* cp = codePages_ ? codePages_(CodePageNow()) : nullptr;
    if (lead_ >= 0) {
      std::string pair{char(lead_), char(b)};
      lead_ = -1;
      Put(Decode(cp, pair), leadBegin_, end, true, leadGlued_);
      return;
    }
    if (b >= 0x80 && cp && cp->IsLeadByte(b)) {
      lead_ = b;
      leadBegin_ = begin;
      leadEnd_ = end;
      leadGlued_ = begin == lastWordEnd_ && !lastWordDelimited_;
      return;
    }
    Put(Decode(cp, std::string(1, char(b))), begin, end, true);
  }

  void Symbol(wchar_t c, uint32_t begin, uint32_t end) {
    if (skip_ > 0) return StandIn(begin, end);
    Put(c, begin, end, true);
  }

  // A stand-in for the \u before it belongs to it; one that something else parts from it makes the
  // character one that cannot be replaced without leaving its stand-in behind.
  void StandIn(uint32_t begin, uint32_t end) {
    --skip_;
    if (unicodeAt_ >= out_.source.size()) return;
    RichText::Source& u = out_.source[unicodeAt_];
    if (u.end == begin)
      u.end = end;
    else
      u.text = false;
  }

  static wchar_t Decode(const common::CodePage* cp, const std::string& bytes) {
    if (!cp) return bytes.size() == 1 ? wchar_t(uint8_t(bytes[0])) : L'\xFFFD';
    std::wstring w;
    cp->Decode(bytes, w);
    return w.size() == 1 ? w[0] : L'\xFFFD';
  }

  void FlushLead() {
    if (lead_ < 0) return;
    const common::CodePage* cp = codePages_ ? codePages_(CodePageNow()) : nullptr;
    std::string one(1, char(lead_));
    lead_ = -1;
    Put(Decode(cp, one), leadBegin_, leadEnd_, false, leadGlued_);  // a lone lead byte: not replaceable
    afterLoneLead_ = leadEnd_;
  }

  void Put(wchar_t c, uint32_t begin, uint32_t end, bool text, int glued = -1) {
    group().fresh = false;
    if (group().hidden) return;
    RichText::Source src;
    src.begin = begin;
    src.end = end;
    src.text = text && begin != afterLoneLead_;  // a byte put here would pair with the lone lead byte
    src.glued = glued >= 0 ? glued == 1 : begin == lastWordEnd_ && !lastWordDelimited_;
    src.codePage = CodePageNow();
    src.skip = group().uc;
    out_.text += c;
    out_.source.push_back(src);
  }

  std::string_view s_;
  const CodePageFor& codePages_;
  std::vector<Group> stack_;
  RichText out_;
  std::map<int, int> fontCodePages_;
  int docCodePage_ = 1252, defaultFont_ = -1, definingFont_ = -1;
  int skip_ = 0;                   // stand-in characters still to pass over
  size_t unicodeAt_ = ~size_t(0);  // the shown character of the last \u
  int lead_ = -1;
  uint32_t leadBegin_ = 0, leadEnd_ = 0, afterLoneLead_ = kNone;
  bool leadGlued_ = false;
  uint32_t lastWordEnd_ = kNone;
  bool lastWordDelimited_ = false;
};

// A text as the document writes text at a place: letters as they are, the markup's own signs escaped,
// other characters as the bytes of the place's code page or, lacking one, as \u with stand-ins.
std::string RichForm(std::wstring_view text, const RichText::Source& at, const CodePageFor& codePages) {
  const common::CodePage* cp = codePages ? codePages(at.codePage) : nullptr;
  static const char hex[] = "0123456789abcdef";
  std::string r;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'{' || c == L'}') {
      r += '\\';
      r += char(c);
    } else if (c >= 0x20 && c < 0x7F) {
      r += char(c);
    } else if (c == L'\t') {
      r += "\\tab ";
    } else if (c == L'\r' || c == L'\n') {
      r += "\\par ";
    } else {
      std::optional<std::string> bytes;
      if (cp) bytes = cp->Encode(std::wstring(1, c));
      if (!cp && uint32_t(c) >= 0xA0 && uint32_t(c) <= 0xFF) bytes = std::string(1, char(c));
      if (bytes && !bytes->empty()) {
        for (char b : *bytes) r.append("\\'").append(1, hex[uint8_t(b) >> 4]).append(1, hex[uint8_t(b) & 15]);
      } else {
        int code = int(uint32_t(c) & 0xFFFF);
        r += "\\u" + std::to_string(code > 32767 ? code - 65536 : code);
        r += at.skip > 0 ? std::string(size_t(at.skip), '?') : std::string(" ");
      }
    }
  }
  // Right after a control word that took no blank, a letter, digit, hyphen or blank would join the word.
  if (at.glued && !r.empty() && (IsLetter(r[0]) || IsDigit(r[0]) || r[0] == '-' || r[0] == ' ')) r.insert(0, " ");
  return r;
}

// The occurrence of `length` shown characters at `at` is text standing side by side in the file.
bool SideBySide(const RichText& shown, size_t at, size_t length) {
  for (size_t k = at; k < at + length; ++k) {
    const RichText::Source& s = shown.source[k];
    if (!s.text) return false;
    if (k > at && shown.source[k - 1].end != s.begin) return false;
  }
  return true;
}

}  // namespace

RichText ReadRichText(std::string_view bytes, const CodePageFor& codePages) { return Reader(bytes, codePages).Run(); }

RichReplaced ReplaceInRichText(std::string_view bytes, const RichText& shown, std::wstring_view find,
                               std::wstring_view replacement, const CodePageFor& codePages) {
  RichReplaced r;
  std::vector<size_t> hits;
  if (!find.empty())
    for (size_t at = shown.text.find(find); at != std::wstring::npos; at = shown.text.find(find, at + find.size()))
      hits.push_back(at);
  for (size_t at : hits)
    if (!SideBySide(shown, at, find.size())) {
      r.bytes = std::string(bytes);
      r.acrossMarkup = true;
      return r;
    }
  size_t done = 0;
  for (size_t at : hits) {
    const RichText::Source& first = shown.source[at];
    r.bytes.append(bytes.substr(done, first.begin - done)).append(RichForm(replacement, first, codePages));
    done = shown.source[at + find.size() - 1].end;
  }
  r.bytes.append(bytes.substr(done));
  r.count = hits.size();
  return r;
}

}  // namespace sercavo
