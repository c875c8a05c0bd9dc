// The platform's crypto for the stored password: PBKDF2 over HMAC-SHA-256 and random salts (CNG).
#pragma once
#include "search/extras/password_rules.h"

namespace sercavo {

class PlatformCrypto : public PasswordCrypto {
 public:
  std::optional<std::string> Derive(std::string_view password, std::string_view salt,
                                    uint32_t iterations) const override;
  std::string Random(size_t bytes) const override;
  std::wstring FromCodePage(std::string_view bytes) const override;
  static const PlatformCrypto& Get();
};

}  // namespace sercavo
