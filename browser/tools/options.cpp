#include "browser/tools/options.h"

#include "common/text.h"

namespace corvane {
namespace {

int Number(const std::optional<std::wstring>& v) { return v ? int(common::NumberOrZero(*v)) : 0; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

Options LoadOptions(const StoredOptions& stored) {
  Options o;
  o.startwindows = Number(stored.startwindows) != 0 ? 1 : 0;
  if (stored.startRadio) o.radio = Number(stored.startRadio) != 0 ? 1 : 0;
  // The frame exits without asking for any non-zero askme, so only 0 ticks the box.
  o.askOnExit = Number(stored.askme) == 0;
  o.start = stored.start.value_or(L"");
  return o;
}

StoredOptions SaveOptions(const Options& options) {
  StoredOptions s;
  s.startwindows = options.startwindows == 0 ? L"0" : L"1";
  s.startRadio = options.radio.value_or(0) ? L"1" : L"0";
  s.askme = options.askOnExit ? L"0" : L"1";
  s.start = options.start;
  return s;
}


std::wstring FormatSaved(const SavedValue& value) {
  switch (value.state) {
    case SavedValue::kNoKey: return L"0," + value.createdKey;
    case SavedValue::kNoValue: return L"1";
    case SavedValue::kValue: break;
  }
  static const wchar_t kHex[] = L"0123456789abcdef";
  std::wstring s = L"2," + std::to_wstring(value.type) + L",";
  for (unsigned char b : value.data) {
    s.push_back(kHex[b >> 4]);
    s.push_back(kHex[b & 15]);
  }
  return s;
}

std::optional<SavedValue> ParseSaved(std::wstring_view text) {
  SavedValue v;
  if (text == L"1") return v;
  if (text.size() >= 3 && text.substr(0, 2) == L"0,") {
    v.state = SavedValue::kNoKey;
    v.createdKey = std::wstring(text.substr(2));
    return v;
  }
  if (text.substr(0, 2) != L"2,") return std::nullopt;
  text.remove_prefix(2);
  size_t comma = text.find(L',');
  if (comma == std::wstring_view::npos) return std::nullopt;
  std::wstring_view type = text.substr(0, comma), hex = text.substr(comma + 1);
  if (type.empty() || type.size() > 10 || hex.size() % 2) return std::nullopt;
  uint64_t t = 0;
  for (wchar_t c : type) {
    if (c < L'0' || c > L'9') return std::nullopt;
    t = t * 10 + uint64_t(c - L'0');
  }
  if (t > 0xFFFFFFFFu) return std::nullopt;
  v.state = SavedValue::kValue;
  v.type = uint32_t(t);
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    v.data.push_back(char(hi << 4 | lo));
  }
  return v;
}

}  // namespace corvane
