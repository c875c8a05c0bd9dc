#include "search/extras/win/password_crypto.h"

#include <windows.h>
// after windows.h
#include <bcrypt.h>

#include "common/win/code_page.h"

namespace sercavo {

const PlatformCrypto& PlatformCrypto::Get() {
  static const PlatformCrypto crypto;
  return crypto;
}

std::optional<std::string> PlatformCrypto::Derive(std::string_view password, std::string_view salt,
                                                  uint32_t iterations) const {
  BCRYPT_ALG_HANDLE alg = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG)))
    return std::nullopt;
  std::string key(32, '\0');
  NTSTATUS status =
      BCryptDeriveKeyPBKDF2(alg, reinterpret_cast<PUCHAR>(const_cast<char*>(password.data())), ULONG(password.size()),
                            reinterpret_cast<PUCHAR>(const_cast<char*>(salt.data())), ULONG(salt.size()), iterations,
                            reinterpret_cast<PUCHAR>(key.data()), ULONG(key.size()), 0);
  BCryptCloseAlgorithmProvider(alg, 0);
  if (!BCRYPT_SUCCESS(status)) return std::nullopt;
  return key;
}

std::string PlatformCrypto::Random(size_t bytes) const {
  std::string r(bytes, '\0');
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(r.data()), ULONG(r.size()),
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return {};
  return r;
}

std::wstring PlatformCrypto::FromCodePage(std::string_view bytes) const { return common::FromAnsi(bytes); }

}  // namespace sercavo
