#include "guard/monitors/startup_backup.h"

#include <optional>

namespace zorvix {
namespace {

constexpr uint32_t kString = 1, kDword = 4, kBinary = 3;
constexpr size_t kLineWidth = 80;

// A name or text between double quotes, as the editor reads it back.
std::wstring Quoted(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

// The text of a string value when writing it as text gives back exactly its bytes: one ending NUL and no
// other, and nothing the file's lines cannot hold.
std::optional<std::wstring> PlainText(const std::vector<uint8_t>& data) {
  if (data.size() < 2 || data.size() % 2) return std::nullopt;
  std::wstring text(data.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = wchar_t(data[2 * i] | (data[2 * i + 1] << 8));
  if (text.back() != L'\0') return std::nullopt;
  text.pop_back();
  for (wchar_t c : text)
    if (c < 0x20) return std::nullopt;
  return text;
}

// v in lower-case hexadecimal, at least `digits` long.
std::wstring Hex(uint32_t v, size_t digits = 1) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring s;
  for (; v || s.size() < digits; v >>= 4) s.insert(s.begin(), kDigits[v & 15]);
  return s;
}

// "hex:" or "hex(N):" and the bytes, the lines broken as the editor breaks them.
std::wstring HexData(uint32_t type, const std::vector<uint8_t>& data, size_t lineStart) {
  std::wstring out = type == kBinary ? L"hex:" : L"hex(" + Hex(type) + L"):";
  size_t column = lineStart + out.size();
  for (size_t i = 0; i < data.size(); ++i) {
    if (i > 0) {
      out += L',';
      ++column;
      if (column + 4 > kLineWidth) {  // the next byte, a comma and the line's closing "\" must fit
        out += L"\\\r\n  ";
        column = 2;
      }
    }
    out += Hex(data[i], 2);
    column += 2;
  }
  return out;
}

}  // namespace

std::wstring RegFileStart() { return std::wstring(kRegFileHeader) + L"\r\n"; }

std::wstring RegFileEntry(const SavedRegValue& value, std::wstring_view comment) {
  std::wstring name = value.name.empty() ? L"@" : Quoted(value.name);
  std::wstring line = name + L"=";
  auto text = value.type == kString ? PlainText(value.data) : std::nullopt;
  if (text) {
    line += Quoted(*text);
  } else if (value.type == kDword && value.data.size() == 4) {
    uint32_t v = value.data[0] | value.data[1] << 8 | value.data[2] << 16 | uint32_t(value.data[3]) << 24;
    line += L"dword:" + Hex(v, 8);
  } else {
    line += HexData(value.type, value.data, line.size());
  }
  return L"\r\n; " + std::wstring(comment) + L"\r\n[" + value.key + L"]\r\n" + line + L"\r\n";
}

}  // namespace zorvix
