#include "search/extras/password_rules.h"

#include <gtest/gtest.h>

#include "common/testing/gbk_double.h"

namespace sercavo {
namespace {

// A stand-in for the platform: a keyed mix of every input byte, 32 bytes long.
class FakeCrypto : public PasswordCrypto {
 public:
  std::optional<std::string> Derive(std::string_view password, std::string_view salt,
                                    uint32_t iterations) const override {
    ++derived;
    std::string out(32, '\0');
    uint32_t h = 2166136261u ^ iterations;
    for (int round = 0; round < 32; ++round) {
      for (char c : std::string(password) + "|" + std::string(salt)) h = (h ^ uint8_t(c)) * 16777619u;
      out[size_t(round)] = char(h >> 24);
    }
    return out;
  }
  std::string Random(size_t n) const override { return std::string(n, char(0x5A + ++randoms)); }
  std::wstring FromCodePage(std::string_view bytes) const override {
    std::wstring out;
    suite::GbkDouble().Decode(bytes, out);
    return out;
  }
  mutable int derived = 0, randoms = 0;
};

TEST(OldPasswordForm, CodesOfTheCodePageWithATrailingComma) {
  EXPECT_EQ(ParseCharCodes(L"97,98,99,"), (std::vector<int>{97, 98, 99}));
  EXPECT_EQ(ParseCharCodes(L"-10544,97,"), (std::vector<int>{-10544, 97}));  // 中 is D6 D0
  EXPECT_EQ(CodeBytes({-10544, 97}), "\326\320a");
  EXPECT_EQ(ParseCharCodes(L"97,98,99"), std::nullopt);
  EXPECT_EQ(ParseCharCodes(L"97,,"), std::nullopt);
  EXPECT_EQ(ParseCharCodes(L"9x,"), std::nullopt);
  EXPECT_EQ(ParseCharCodes(L"9999999999,"), std::nullopt);
  EXPECT_EQ(ParseCharCodes(L""), std::nullopt);
  FakeCrypto crypto;
  StoredPassword old = ParseStored(L"-10544,97,98,", crypto);
  EXPECT_EQ(old.kind, StoredPassword::Kind::CharCodes);
  EXPECT_EQ(old.plain, L"中ab");
  EXPECT_TRUE(IsSet(old));
  EXPECT_TRUE(Matches(old, L"中ab", crypto));
  EXPECT_FALSE(Matches(old, L"中AB", crypto));
  EXPECT_FALSE(IsSet(ParseStored(L"97,98,", crypto)));  // two characters never counted as set
  EXPECT_FALSE(IsSet(ParseStored(L"", crypto)));
  EXPECT_FALSE(IsSet(ParseStored(L"garbage", crypto)));
}

TEST(PasswordHash, SaltedIteratedAndNeverThePassword) {
  FakeCrypto crypto;
  std::wstring form = HashForm(L"secret密码", crypto, 1000);
  ASSERT_FALSE(form.empty());
  EXPECT_EQ(crypto.derived, 1);  // the stored value is the derived key, not the password
  EXPECT_EQ(form.rfind(L"pbkdf2-sha256$1000$", 0), 0u);
  EXPECT_EQ(form.find(L"secret"), std::wstring::npos);
  StoredPassword s = ParseStored(form, crypto);
  ASSERT_EQ(s.kind, StoredPassword::Kind::Hash);
  EXPECT_EQ(s.iterations, 1000u);
  EXPECT_EQ(s.salt.size(), 16u);
  EXPECT_TRUE(IsSet(s));
  EXPECT_TRUE(Matches(s, L"secret密码", crypto));
  EXPECT_FALSE(Matches(s, L"Secret密码", crypto));
  EXPECT_EQ(crypto.derived, 3);  // each typed password is derived with the stored salt and count
  EXPECT_FALSE(Matches(s, L"", crypto));
  EXPECT_EQ(crypto.derived, 3);  // an empty box is refused before anything is derived
  // A new salt each time: the same password never gives the same value.
  EXPECT_NE(HashForm(L"secret密码", crypto, 1000), form);
}

TEST(PasswordHash, DamagedValuesSetNothing) {
  FakeCrypto crypto;
  std::wstring form = HashForm(L"abc", crypto);
  EXPECT_EQ(ParseStored(form.substr(0, form.size() - 2), crypto).kind, StoredPassword::Kind::None);
  EXPECT_EQ(ParseStored(L"pbkdf2-sha256$0$00$" + std::wstring(64, L'0'), crypto).kind, StoredPassword::Kind::None);
  EXPECT_EQ(ParseStored(L"pbkdf2-sha256$x$00$" + std::wstring(64, L'0'), crypto).kind, StoredPassword::Kind::None);
  EXPECT_EQ(ParseStored(L"pbkdf2-sha256$5$zz$" + std::wstring(64, L'0'), crypto).kind, StoredPassword::Kind::None);
  EXPECT_EQ(ParseStored(L"md5$5$00$00", crypto).kind, StoredPassword::Kind::None);
  EXPECT_FALSE(Matches(StoredPassword{}, L"", crypto));
}

// A password holding a lone surrogate half has no bytes to hash: it is refused, never stored as the hash
// of nothing, and nothing typed can log in against such a value.
TEST(PasswordHash, ALoneSurrogateIsNoPassword) {
  FakeCrypto crypto;
  std::wstring lone = L"ab";
  lone += wchar_t(0xDC00);
  EXPECT_EQ(CheckNewPassword(lone, lone), NewPassword::NotText);
  EXPECT_TRUE(HashForm(lone, crypto).empty());
  EXPECT_EQ(crypto.derived, 0);
  // A value stored by the old fault: the hash of nothing. An empty box or a lone half never opens it.
  std::wstring empty = L"pbkdf2-sha256$1$" + std::wstring(32, L'5') + L"$";
  std::string key = *crypto.Derive("", std::string(16, '\x55'), 1);
  for (unsigned char b : key) empty += L"0123456789abcdef"[b >> 4], empty += L"0123456789abcdef"[b & 15];
  StoredPassword old = ParseStored(empty, crypto);
  ASSERT_EQ(old.kind, StoredPassword::Kind::Hash);
  EXPECT_FALSE(Matches(old, L"", crypto));
  EXPECT_FALSE(Matches(old, std::wstring(1, wchar_t(0xD800)), crypto));
  EXPECT_EQ(crypto.derived, 1);  // only the test's own derivation
}

TEST(NewPasswordCheck, ThreeCharactersTypedTwice) {
  EXPECT_EQ(CheckNewPassword(L"ab", L"ab"), NewPassword::TooShort);
  EXPECT_EQ(CheckNewPassword(L"abc", L"abd"), NewPassword::Differs);
  EXPECT_EQ(CheckNewPassword(L"abc", L"abc"), NewPassword::Ok);
  EXPECT_EQ(CheckNewPassword(L"密码啊", L"密码啊"), NewPassword::Ok);
}

TEST(PasswordText, HexAndUtf8) {
  EXPECT_EQ(Hex("\x01\xAB"), "01ab");
  EXPECT_EQ(Unhex(L"01AB"), "\x01\xAB");
  EXPECT_EQ(Unhex(L"1"), std::nullopt);
  EXPECT_EQ(Utf8Of(L"密"), "\xE5\xAF\x86");
  EXPECT_EQ(Utf8Of(std::wstring(1, wchar_t(0xD800))), std::nullopt);
}

}  // namespace
}  // namespace sercavo
