#include "common/win/code_page.h"

namespace common {

SystemCodePage::SystemCodePage(UINT codePage) : codePage_(codePage) {
  for (int b = 0; b < 256; ++b) lead_[b] = IsDBCSLeadByteEx(codePage_, BYTE(b));
}

void SystemCodePage::Decode(std::string_view bytes, std::wstring& out) const {
  out.resize(bytes.size());
  int n = bytes.empty()
              ? 0
              : MultiByteToWideChar(codePage_, 0, bytes.data(), int(bytes.size()), out.data(), int(out.size()));
  out.resize(size_t(n > 0 ? n : 0));
}

// WC_NO_BEST_FIT_CHARS with the lost flag: "ñ" is not quietly written as "n", nor "예" as "?".
std::optional<std::string> SystemCodePage::Encode(std::wstring_view text) const {
  if (text.empty()) return std::string();
  BOOL lost = FALSE;
  int n = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr,
                              &lost);
  if (n <= 0 || lost) return std::nullopt;
  std::string r(size_t(n), '\0');
  WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), r.data(), n, nullptr, &lost);
  if (lost) return std::nullopt;
  return r;
}

const SystemCodePage& AnsiCodePage() {
  static const SystemCodePage cp(GetACP());
  return cp;
}

const SystemCodePage& OemCodePage() {
  static const SystemCodePage cp(GetOEMCP());
  return cp;
}

const SystemCodePage& ChineseCodePage() {
  static const SystemCodePage cp(936);
  return cp;
}

std::optional<std::string> ToAnsi(std::wstring_view text) { return AnsiCodePage().Encode(text); }

std::wstring FromAnsi(std::string_view bytes) {
  std::wstring out;
  AnsiCodePage().Decode(bytes, out);
  return out;
}

std::wstring FromOem(std::string_view bytes) {
  std::wstring out;
  OemCodePage().Decode(bytes, out);
  return out;
}

}  // namespace common
