// The stored password: a salted, iterated hash (PBKDF2 over SHA-256), never the password itself. A value
// in the old character-code form ("97,98,99,": each character's code in the code page, double-byte
// characters negative) is still accepted once and then replaced by the hash.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sercavo {

// The platform's key derivation and randomness.
class PasswordCrypto {
 public:
  virtual ~PasswordCrypto() = default;
  // PBKDF2 with HMAC-SHA-256: 32 bytes, or nullopt when the platform could not derive them.
  virtual std::optional<std::string> Derive(std::string_view password, std::string_view salt,
                                            uint32_t iterations) const = 0;
  virtual std::string Random(size_t bytes) const = 0;
  // Bytes of the code page as text (for the old form).
  virtual std::wstring FromCodePage(std::string_view bytes) const = 0;
};

inline constexpr uint32_t kIterations = 100000;

// What the value under "pd" holds.
struct StoredPassword {
  enum class Kind { None, Hash, CharCodes } kind = Kind::None;
  uint32_t iterations = 0;
  std::string salt, hash;  // Hash
  std::wstring plain;      // CharCodes, decoded
};

StoredPassword ParseStored(std::wstring_view value, const PasswordCrypto& crypto);
// "pbkdf2-sha256$iterations$salt$hash", salt and hash in hexadecimal; empty when the platform failed or
// the password has no UTF-8 form.
std::wstring HashForm(std::wstring_view password, const PasswordCrypto& crypto, uint32_t iterations = kIterations);
// Whether a password is set: a hash, or an old password longer than two characters (as the login window
// always read it).
bool IsSet(const StoredPassword& stored);
// Exact comparison, letter case included. An empty text, or one that is no text (a lone surrogate half),
// matches nothing.
bool Matches(const StoredPassword& stored, std::wstring_view typed, const PasswordCrypto& crypto);

// The old form's codes and their bytes in the code page.
std::optional<std::vector<int>> ParseCharCodes(std::wstring_view value);
std::string CodeBytes(const std::vector<int>& codes);

// The password's bytes to hash; nullopt for a text that has no UTF-8 form (a lone surrogate half).
std::optional<std::string> Utf8Of(std::wstring_view text);
std::string Hex(std::string_view bytes);
std::optional<std::string> Unhex(std::wstring_view hex);

}  // namespace sercavo

namespace sercavo {

// The password window's checks of a new password typed twice.
enum class NewPassword { TooShort, Differs, NotText, Ok };
NewPassword CheckNewPassword(std::wstring_view password, std::wstring_view confirmation);

}  // namespace sercavo
