#include "common/explorer_entries.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(ContextMenu, FourEntriesQuoteTheProgramAndTheFolder) {
  auto e = SearchMenuEntries(L"C:\\Program Files\\Sercavo\\sercavo.exe");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].data, L"【Sercavo】");
  EXPECT_EQ(e[1].data, L"\"C:\\Program Files\\Sercavo\\sercavo.exe\" \"%1\"");
  EXPECT_EQ(e[1].root, RegRoot::ClassesRoot);
  EXPECT_EQ(e[3].root, RegRoot::LocalMachine);
  EXPECT_EQ(e[3].key, L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command");
  EXPECT_EQ(e[2].data, e[0].data);
  EXPECT_EQ(e[3].data, e[1].data);
  // Every entry is a key's unnamed value: Explorer reads the menu text and the command there.
  for (const RegEntry& entry : e) EXPECT_EQ(entry.name, L"");
}

TEST(DefaultBrowser, CommandQuotesPathAndAddress) {
  EXPECT_EQ(OpenCommand(L"C:\\Program Files\\Corvane\\corvane.exe"),
            L"\"C:\\Program Files\\Corvane\\corvane.exe\" \"%1\"");
  // A path without blanks is quoted as well: the stored command does not change with the folder.
  EXPECT_EQ(OpenCommand(L"D:\\sercavo.exe"), L"\"D:\\sercavo.exe\" \"%1\"");
}

}  // namespace
}  // namespace common
