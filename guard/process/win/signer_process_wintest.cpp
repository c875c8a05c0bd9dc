// The guard's signature helper, the real zorvix_signer.exe, and helpers that misbehave.
#include "guard/process/win/signer_process.h"

#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/test_certificate.h"
#include "common/win/system.h"
#include "guard/process/win/trust.h"

using namespace zorvix;

namespace {
std::wstring Helper() { return suite::BinFolder() + kSignerProgram; }
}  // namespace

TEST(SignerProcess, AnswersAsTheCheckMadeHereFromOneHelperUntilEnded) {
  ASSERT_TRUE(suite::TrustTestCertificate());
  std::wstring bin = suite::BinFolder();
  SignerProcess signer(Helper(), nullptr);
  for (const wchar_t* file : {L"suite_child_signed.exe", L"suite_child_untrusted.exe", L"suite_child_maker.exe",
                              L"no such file.exe"})
    EXPECT_EQ(signer.SignerOf(bin + file), SignerOf(bin + file)) << file;
  EXPECT_EQ(signer.SignerOf(bin + L"suite_child_signed.exe"), std::optional<std::wstring>(L"Tolvark"));
  EXPECT_EQ(signer.starts(), 1);

  signer.End();
  EXPECT_FALSE(signer.running());
  EXPECT_EQ(signer.SignerOf(bin + L"suite_child_signed.exe"), std::optional<std::wstring>(L"Tolvark"));
  EXPECT_EQ(signer.starts(), 2);
}

TEST(SignerProcess, AHelperThatCannotStartLeavesTheCheckToTheGuard) {
  suite::TempDir dir;
  int fallbacks = 0;
  SignerProcess signer(dir.wpath() + L"\\" + kSignerProgram, [&](const std::wstring&) {
    ++fallbacks;
    return std::optional<std::wstring>(L"checked here");
  });
  EXPECT_EQ(signer.SignerOf(L"C:\\a.exe"), std::optional<std::wstring>(L"checked here"));
  EXPECT_EQ(fallbacks, 1);
  EXPECT_FALSE(signer.running());
}

TEST(SignerProcess, AHelperThatHangsOrTalksNonsenseIsEndedAndTheFileCountsAsUnsigned) {
  auto never = [](const std::wstring&) { return std::optional<std::wstring>(L"fallback"); };
  // The test program reads nothing and answers nothing.
  SignerProcess silent(suite::BinFolder() + L"suite_child.exe", never, 500);
  DWORD start = GetTickCount();
  EXPECT_EQ(silent.SignerOf(L"C:\\a.exe"), std::nullopt);
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_FALSE(silent.running());

  // The host-name tool writes one line of its own and ends.
  SignerProcess talker(common::GetSystemFolder() + L"\\hostname.exe", never, 5000);
  EXPECT_EQ(talker.SignerOf(L"C:\\a.exe"), std::nullopt);
  EXPECT_FALSE(talker.running());

  // A name no file can have is never sent: it would read as two requests.
  SignerProcess real(Helper(), never);
  EXPECT_EQ(real.SignerOf(suite::BinFolder() + L"suite_child_signed.exe\n+Forged"), std::nullopt);
  EXPECT_EQ(real.starts(), 0);
}
