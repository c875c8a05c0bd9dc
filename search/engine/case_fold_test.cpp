// The search tool's fold table and the common text layer ignore letter case alike, so that a name the
// results list calls equal is one the text search finds.
#include "search/engine/case_fold.h"

#include <gtest/gtest.h>

#include "common/text.h"

using sercavo::CaseFold;

TEST(CaseFold, AgreesWithTheCommonTextLayerOnEveryUnit) {
  const CaseFold& fold = CaseFold::Get();
  int differ = 0;
  for (unsigned u = 1; u < 0x10000; ++u) {
    const wchar_t c = wchar_t(u);
    std::wstring one(1, c);
    if (fold(c) != common::ToUpper(one)[0]) ++differ;
    if (!common::EqualsNoCase(one, std::wstring(1, fold(c)))) ++differ;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(fold.Find(L"报告ÄBC.txt", fold.Folded(L"äbc")), 2u);
  EXPECT_EQ(common::FindNoCase(L"报告ÄBC.txt", L"äbc"), 2u);
}
