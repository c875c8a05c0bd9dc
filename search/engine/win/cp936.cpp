#include "search/engine/win/cp936.h"

#include <windows.h>

namespace sercavo {
namespace {
constexpr UINT kCodePage = 936;
}

Cp936::Cp936() {
  for (int b = 0; b < 256; ++b) lead_[b] = IsDBCSLeadByteEx(kCodePage, BYTE(b));
}

const Cp936& Cp936::Get() {
  static const Cp936 codec;
  return codec;
}

void Cp936::Decode(std::string_view bytes, std::wstring& out) const {
  out.resize(bytes.size());
  int n = bytes.empty()
              ? 0
              : MultiByteToWideChar(kCodePage, 0, bytes.data(), int(bytes.size()), out.data(), int(out.size()));
  out.resize(size_t(n));
}

std::optional<std::string> Cp936::Encode(std::wstring_view text) const {
  if (text.empty()) return std::string();
  BOOL lost = FALSE;
  int n =
      WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return std::nullopt;
  std::string r(size_t(n), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), r.data(), n, nullptr, &lost);
  if (lost) return std::nullopt;
  return r;
}

}  // namespace sercavo
