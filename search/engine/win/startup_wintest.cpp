#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "search/engine/win/startup.h"

namespace sercavo {
namespace {

struct Key {
  HKEY root;
  const wchar_t* key;
};
const Key kKeys[] = {{HKEY_CLASSES_ROOT, L"Directory\\shell\\Sercavo"},
                     {HKEY_CLASSES_ROOT, L"Directory\\shell\\Sercavo\\command"},
                     {HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\Drive\\shell\\Sercavo"},
                     {HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command"}};

class FirstRun : public testing::Test {
 protected:
  void SetUp() override {
    for (const Key& k : kKeys) saved_.push_back(common::QueryRegString(k.root, k.key, L""));
  }
  // The guard writes the same entries: put back whatever was there.
  void TearDown() override {
    for (size_t i = 0; i < std::size(kKeys); ++i)
      if (saved_[i]) common::WriteRegString(kKeys[i].root, kKeys[i].key, L"", *saved_[i]);
  }
  std::vector<std::optional<std::wstring>> saved_;
};

TEST_F(FirstRun, WritesTheFourExplorerEntriesAndDeletesTheMarker) {
  suite::TempDir t;
  std::wstring marker = t.Write(L"first.dat", "first run!!");
  std::wstring exe = t.wpath() + L"\\sercavo.exe";
  ASSERT_TRUE(RunFirstRun(t.wpath(), exe));
  EXPECT_FALSE(common::FileExists(marker));
  std::wstring command = L"\"" + exe + L"\" \"%1\"";
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kKeys[0].key, L""), L"【Sercavo】");
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kKeys[1].key, L""), command);
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, kKeys[2].key, L""), L"【Sercavo】");
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, kKeys[3].key, L""), command);
}

TEST_F(FirstRun, AShortOrMissingMarkerDoesNothing) {
  suite::TempDir t;
  std::wstring marker = t.Write(L"first.dat", "0123456789");
  EXPECT_FALSE(RunFirstRun(t.wpath(), t.wpath() + L"\\other.exe"));
  EXPECT_TRUE(common::FileExists(marker));
  suite::TempDir empty;
  EXPECT_FALSE(RunFirstRun(empty.wpath(), empty.wpath() + L"\\other.exe"));
}

TEST(Shields, ReadFromTheSettingsStore) {
  common::DeleteSettingSection(kApp, L"set");
  common::SaveSetting(kApp, L"set", L"0sou", L"1");
  common::SaveSetting(kApp, L"set", L"3sou", L"abc");
  ShieldFlags f = ReadShieldFlags();
  common::DeleteSettingSection(kApp, L"set");
  EXPECT_TRUE(ShieldHides(f, kMovies));
  EXPECT_FALSE(ShieldHides(f, kMusic));
  EXPECT_FALSE(ShieldHides(f, kFlash));
  EXPECT_FALSE(ShieldHides(f, kJunk));
}

}  // namespace
}  // namespace sercavo
