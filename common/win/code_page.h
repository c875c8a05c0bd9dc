// The system's code pages, the one way text crosses into bytes: stored text files (the ANSI code page),
// console output (the OEM one), the text search's Chinese files (936) and character-code passwords.
#pragma once
#include <windows.h>

#include <array>

#include "common/text_codec.h"

namespace common {

class SystemCodePage : public CodePage {
 public:
  explicit SystemCodePage(UINT codePage);
  bool IsLeadByte(uint8_t b) const override { return lead_[b]; }
  void Decode(std::string_view bytes, std::wstring& out) const override;
  std::optional<std::string> Encode(std::wstring_view text) const override;
  UINT number() const { return codePage_; }

 private:
  UINT codePage_;
  std::array<bool, 256> lead_{};
};

const SystemCodePage& AnsiCodePage();
const SystemCodePage& OemCodePage();
const SystemCodePage& ChineseCodePage();  // 936, whatever the system's own is

// The ANSI form of a text; nullopt when a character has none there (never a "?" in its place).
std::optional<std::string> ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
std::wstring FromOem(std::string_view bytes);

}  // namespace common
