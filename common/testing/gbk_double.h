// A stand-in for the system's double-byte code page in pure tests: a few characters whose second byte
// is an ASCII letter, as in the real table.
#pragma once
#include <map>

#include "common/text_codec.h"

namespace suite {

class GbkDouble : public common::CodePage {
 public:
  bool IsLeadByte(uint8_t b) const override { return b >= 0x81 && b <= 0xFE; }
  void Decode(std::string_view s, std::wstring& out) const override {
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
      uint8_t b = uint8_t(s[i]);
      if (b < 0x80) {
        out += wchar_t(b);
      } else if (IsLeadByte(b) && i + 1 < s.size()) {
        auto it = Table().find(uint16_t(b << 8 | uint8_t(s[++i])));
        out += it == Table().end() ? L'\xFFFD' : it->second;
      } else {
        out += L'\xFFFD';
      }
    }
  }
  std::optional<std::string> Encode(std::wstring_view t) const override {
    std::string r;
    for (wchar_t c : t) {
      if (c < 0x80) {
        r += char(c);
        continue;
      }
      bool found = false;
      for (const auto& [code, ch] : Table())
        if (ch == c) {
          r += char(code >> 8);
          r += char(code & 0xFF);
          found = true;
        }
      if (!found) return std::nullopt;
    }
    return r;
  }

 private:
  static const std::map<uint16_t, wchar_t>& Table() {
    static const std::map<uint16_t, wchar_t> table{{0xE954, L'門'}, {0x9572, L'時'}, {0xE94C, L'長'},
                                                   {0xFC63, L'點'}, {0xD6D0, L'中'}, {0xCEC4, L'文'}};
    return table;
  }
};

}  // namespace suite
