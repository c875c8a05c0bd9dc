#include "search/extras/password_rules.h"

#include "common/text.h"
#include "common/text_codec.h"

namespace sercavo {
namespace {

constexpr wchar_t kScheme[] = L"pbkdf2-sha256";

std::vector<std::wstring_view> Split(std::wstring_view s, wchar_t sep) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(sep, start)) != std::wstring_view::npos; start = at + 1)
    parts.push_back(s.substr(start, at - start));
  parts.push_back(s.substr(start));
  return parts;
}

// Compares every byte, so that the time taken tells nothing about where two hashes differ.
bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

}  // namespace

std::optional<std::string> Utf8Of(std::wstring_view text) { return common::ToUtf8(text); }

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string r;
  for (unsigned char b : bytes) {
    r += digits[b >> 4];
    r += digits[b & 15];
  }
  return r;
}

std::optional<std::string> Unhex(std::wstring_view hex) {
  if (hex.size() % 2) return std::nullopt;
  auto digit = [](wchar_t c) -> int {
    return c >= L'0' && c <= L'9'   ? c - L'0'
           : c >= L'a' && c <= L'f' ? c - L'a' + 10
           : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                    : -1;
  };
  std::string r;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    r += char(hi << 4 | lo);
  }
  return r;
}

std::optional<std::vector<int>> ParseCharCodes(std::wstring_view value) {
  if (value.empty() || value.back() != L',') return std::nullopt;
  std::vector<int> codes;
  for (std::wstring_view part : Split(value.substr(0, value.size() - 1), L',')) {
    bool negative = !part.empty() && part[0] == L'-';
    if (negative) part.remove_prefix(1);
    if (part.empty() || part.size() > 5) return std::nullopt;
    int n = 0;
    for (wchar_t c : part) {
      if (c < L'0' || c > L'9') return std::nullopt;
      n = n * 10 + (c - L'0');
    }
    if ((negative && n > 32768) || (!negative && n > 65535)) return std::nullopt;
    codes.push_back(negative ? -n : n);
  }
  return codes;
}

std::string CodeBytes(const std::vector<int>& codes) {
  std::string bytes;
  for (int c : codes) {
    unsigned u = c < 0 ? unsigned(c + 65536) : unsigned(c);
    if (u > 0xFF) bytes += char(u >> 8);  // a double-byte character: lead byte first
    bytes += char(u & 0xFF);
  }
  return bytes;
}

StoredPassword ParseStored(std::wstring_view value, const PasswordCrypto& crypto) {
  StoredPassword s;
  auto parts = Split(value, L'$');
  if (parts.size() == 4 && parts[0] == kScheme) {
    auto iterations = common::ParseNumber(parts[1]);
    auto salt = Unhex(parts[2]), hash = Unhex(parts[3]);
    if (iterations && *iterations >= 1 && *iterations <= 100000000 && salt && hash && hash->size() == 32) {
      s.kind = StoredPassword::Kind::Hash;
      s.iterations = uint32_t(*iterations);
      s.salt = *salt;
      s.hash = *hash;
    }
    return s;
  }
  if (auto codes = ParseCharCodes(value)) {
    s.kind = StoredPassword::Kind::CharCodes;
    s.plain = crypto.FromCodePage(CodeBytes(*codes));
  }
  return s;
}

std::wstring HashForm(std::wstring_view password, const PasswordCrypto& crypto, uint32_t iterations) {
  auto bytes = Utf8Of(password);
  if (!bytes) return {};
  std::string salt = crypto.Random(16);
  auto hash = crypto.Derive(*bytes, salt, iterations);
  if (salt.size() != 16 || !hash || hash->size() != 32) return {};
  std::string form = std::to_string(iterations);
  form.append(1, '$').append(Hex(salt)).append(1, '$').append(Hex(*hash));
  return std::wstring(kScheme) + L"$" + std::wstring(form.begin(), form.end());
}

bool IsSet(const StoredPassword& stored) {
  return stored.kind == StoredPassword::Kind::Hash ||
         (stored.kind == StoredPassword::Kind::CharCodes && stored.plain.size() > 2);
}

bool Matches(const StoredPassword& stored, std::wstring_view typed, const PasswordCrypto& crypto) {
  auto bytes = Utf8Of(typed);
  if (typed.empty() || !bytes) return false;
  if (stored.kind == StoredPassword::Kind::CharCodes) return stored.plain == typed;
  if (stored.kind != StoredPassword::Kind::Hash) return false;
  auto hash = crypto.Derive(*bytes, stored.salt, stored.iterations);
  return hash && SameBytes(*hash, stored.hash);
}

}  // namespace sercavo

namespace sercavo {

NewPassword CheckNewPassword(std::wstring_view password, std::wstring_view confirmation) {
  if (password.size() < 3) return NewPassword::TooShort;
  if (password != confirmation) return NewPassword::Differs;
  return Utf8Of(password) ? NewPassword::Ok : NewPassword::NotText;
}

}  // namespace sercavo
