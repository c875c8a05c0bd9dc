// What the user is told when a start-up value stays.
#include "guard/monitors/start_delete.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(StartDelete, AValueThatStaysIsToldWhy) {
  EXPECT_FALSE(StartDeleteProblem(StartDelete::Deleted, L"v", L"HKEY_CURRENT_USER\\Run\\v", L"C:\\b.reg"));
  EXPECT_FALSE(StartDeleteProblem(StartDelete::Missing, L"v", L"HKEY_CURRENT_USER\\Run\\v", L"C:\\b.reg"));
  EXPECT_EQ(StartDeleteProblem(StartDelete::Refused, L"v", L"HKEY_LOCAL_MACHINE\\Run\\v", L"C:\\b.reg").value_or(L""),
            DeleteStartFailedText(L"v", L"HKEY_LOCAL_MACHINE\\Run\\v"));
  std::wstring failed = DeleteStartFailedText(L"Tool", L"HKEY_LOCAL_MACHINE\\Software\\Run\\Tool");
  EXPECT_NE(failed.find(L"【 Tool 】"), std::wstring::npos);
  EXPECT_NE(failed.find(L"HKEY_LOCAL_MACHINE\\Software\\Run\\Tool"), std::wstring::npos);
  std::wstring notSaved =
      StartDeleteProblem(StartDelete::NotSaved, L"v", L"HKEY_CURRENT_USER\\Run\\v", L"C:\\b.reg").value_or(L"");
  EXPECT_NE(notSaved.find(L"【 v 】"), std::wstring::npos);
  EXPECT_NE(notSaved.find(L"C:\\b.reg"), std::wstring::npos);
}
