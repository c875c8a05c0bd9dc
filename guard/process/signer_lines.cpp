#include "guard/process/signer_lines.h"

#include <algorithm>

namespace zorvix {

std::optional<std::wstring> LineBuffer::TakeLine() {
  for (size_t at = 0; at + 1 < bytes_.size(); at += 2) {
    if (bytes_[at] != '\n' || bytes_[at + 1] != '\0') continue;
    std::wstring line(at / 2, L'\0');
    for (size_t i = 0; i < line.size(); ++i)
      line[i] = wchar_t(uint8_t(bytes_[2 * i]) | uint8_t(bytes_[2 * i + 1]) << 8);
    bytes_.erase(0, at + 2);
    return line;
  }
  return std::nullopt;
}

std::wstring PathLine(std::wstring_view path) { return std::wstring(path) + L"\n"; }

std::wstring SignerAnswer(const std::optional<std::wstring>& signer) {
  if (!signer) return L"-\n";
  std::wstring name = *signer;
  std::replace_if(name.begin(), name.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
  return L"+" + name + L"\n";
}

bool ParseSignerAnswer(std::wstring_view line, std::optional<std::wstring>* signer) {
  if (line == L"-") {
    signer->reset();
    return true;
  }
  if (line.empty() || line[0] != L'+') return false;
  *signer = std::wstring(line.substr(1));
  return true;
}

}  // namespace zorvix
