// The switch page under Wine: what an apply writes, row 7 both ways, and writes the registry refuses.
#include "guard/control/win/switch_registry.h"

#include <gtest/gtest.h>

#include "common/testing/win/text_files.h"
#include "common/win/registry.h"
#include "guard/control/win/testing/face_fixture.h"

using namespace zorvix;
using test_support::FaceTest;

namespace {

// A value as it stood before a test, put back afterwards (or removed when there was none).
class SavedValue {
 public:
  SavedValue(HKEY root, std::wstring key, std::wstring name) : root_(root), key_(Bare(key)), name_(std::move(name)) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root_, key_.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExW(h, Name(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      data_.resize(size);
      existed_ = RegQueryValueExW(h, Name(), nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(h);
  }
  ~SavedValue() {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return;
    if (existed_)
      RegSetValueExW(h, Name(), 0, type_, data_.data(), DWORD(data_.size()));
    else
      RegDeleteValueW(h, Name());
    RegCloseKey(h);
  }
  static std::wstring Bare(std::wstring key) {
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    return key;
  }

 private:
  const wchar_t* Name() const { return name_.empty() ? nullptr : name_.c_str(); }
  HKEY root_;
  std::wstring key_, name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

std::array<bool, kSwitchRows> AllRows() {
  std::array<bool, kSwitchRows> all;
  all.fill(true);
  return all;
}

// Every value any apply may write, kept for the length of a test.
class SavedSwitches {
 public:
  SavedSwitches() {
    for (const SwitchWrite& w : SwitchWrites(AllRows()))
      saved_.push_back(std::make_unique<SavedValue>(common::RootKey(w.root), w.key, w.name));
  }

 private:
  std::vector<std::unique_ptr<SavedValue>> saved_;
};

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name) {
  DWORD v = 0, size = sizeof v;
  if (RegGetValueW(root, SavedValue::Bare(key).c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &v, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return v;
}

std::optional<std::wstring> ReadDefault(const wchar_t* key) {
  return SwitchRegistry::Real().readString(HKEY_LOCAL_MACHINE, key, L"");
}

void SetEntries(const wchar_t* copyTo, const wchar_t* moveTo) {
  SwitchRegistry r = SwitchRegistry::Real();
  ASSERT_TRUE(r.writeString(HKEY_LOCAL_MACHINE, kCopyToKey, L"", copyTo));
  ASSERT_TRUE(r.writeString(HKEY_LOCAL_MACHINE, kMoveToKey, L"", moveTo));
}

class SwitchPageTest : public FaceTest {
 protected:
  SavedSwitches saved;
};

}  // namespace

TEST_F(SwitchPageTest, TheSevenRowsStartUntickedButRowSevenShowsTheEntries) {
  SetEntries(L"", L"");
  Formface& f = Open(int(PageType::Repair));
  ASSERT_EQ(f.lvw().Count(), kSwitchRows);
  for (int row = 1; row <= kSwitchRows; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Row(row - 1, 3), (std::vector<std::wstring>{std::to_wstring(row), kSwitchCaptions[row - 1], L""}));
    EXPECT_FALSE(f.Ticked(row));
  }
  SetEntries(kCopyToClsid, kMoveToClsid);
  f.Command6Click();
  for (int row = 1; row < kSwitchRows; ++row) EXPECT_FALSE(f.Ticked(row));
  EXPECT_TRUE(f.Ticked(7)) << "both entries are on the menu";
  SetEntries(kCopyToClsid, L"");
  f.Command6Click();
  EXPECT_FALSE(f.Ticked(7)) << "one entry alone does not tick the row";
}

TEST_F(SwitchPageTest, ApplyingRowsOneToSevenWritesExactlyTheTablesValues) {
  SetEntries(L"", L"");
  // None of the values is there before: each one read afterwards was written by the apply.
  for (const SwitchWrite& w : SwitchWrites(AllRows())) {
    if (!w.isDword) continue;
    HKEY h = nullptr;
    HKEY root = common::RootKey(w.root);
    if (RegOpenKeyExW(root, SavedValue::Bare(w.key).c_str(), 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
      RegDeleteValueW(h, w.name.c_str());
      RegCloseKey(h);
    }
    ASSERT_FALSE(ReadDword(common::RootKey(w.root), w.key, w.name)) << suite::Ansi(w.name);
  }
  Formface& f = Open(int(PageType::Repair));
  for (int row = 1; row <= kSwitchRows; ++row) f.SetTicked(row, true);
  f.Command4Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"设置完成！其中部分功能只有重新启动电脑才会有效……    ");
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
  struct Expected {
    HKEY root;
    const wchar_t *key, *name;
    DWORD value;
  } dwords[] = {
      {HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\policies\\system", L"DisableTaskMgr", 0},
      {HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\policies\\explorer", L"NoChangeStartMenu", 0},
      {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools", 0},
      {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"ClearRecentDocsOnExit",
       1},
      {HKEY_USERS, L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
       L"NoRecentDocsHistory", 1},
      {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"NoDriveTypeAutoRun",
       223},
      {HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\internet explorer\\restrictions", L"NoBrowserOptions", 0},
      {HKEY_LOCAL_MACHINE,
       L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL", L"CheckedValue", 1},
  };
  for (const Expected& e : dwords) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(ReadDword(e.root, e.key, e.name), std::optional<DWORD>(e.value));
  }
  EXPECT_EQ(ReadDefault(kCopyToKey), std::optional<std::wstring>(L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}"));
  EXPECT_EQ(ReadDefault(kMoveToKey), std::optional<std::wstring>(L"{C2FBB631-2971-11D1-A18C-00C04FD75D13}"));
}

TEST_F(SwitchPageTest, NothingTickedClearsTheEntriesOnlyWhenThePageWasBuiltWithoutThem) {
  SetEntries(kCopyToClsid, kMoveToClsid);
  Formface& f = Open(int(PageType::Repair));
  f.Command4Click();
  EXPECT_EQ(ReadDefault(kCopyToKey), std::optional<std::wstring>(kCopyToClsid)) << "the user's entries are kept";
  EXPECT_EQ(ReadDefault(kMoveToKey), std::optional<std::wstring>(kMoveToClsid));

  f.SetTicked(7, false);  // the user takes them off
  f.Command4Click();
  EXPECT_EQ(ReadDefault(kCopyToKey), std::optional<std::wstring>(L""));
  EXPECT_EQ(ReadDefault(kMoveToKey), std::optional<std::wstring>(L""));

  SetEntries(kCopyToClsid, L"");  // one entry alone: the page is built unticked and clears both
  f.Command6Click();
  f.Command4Click();
  EXPECT_EQ(ReadDefault(kCopyToKey), std::optional<std::wstring>(L""));
  ASSERT_EQ(answers.shown().size(), 3u);
  for (const auto& m : answers.shown()) EXPECT_EQ(m.text, kApplyDoneText);
}

TEST_F(SwitchPageTest, WritesTheRegistryRefusesAreReportedRowByRow) {
  SetEntries(L"", L"");
  // A standard user: everything under HKEY_LOCAL_MACHINE is refused.
  SwitchRegistry real = SwitchRegistry::Real();
  links.registry.writeDword = [real](HKEY root, const std::wstring& key, const std::wstring& name, DWORD v) {
    return root != HKEY_LOCAL_MACHINE && real.writeDword(root, key, name, v);
  };
  links.registry.writeString = [real](HKEY root, const std::wstring& key, const std::wstring& name,
                                      const std::wstring& text) {
    return root != HKEY_LOCAL_MACHINE && real.writeString(root, key, name, text);
  };
  Formface& f = Open(int(PageType::Repair));
  for (int row = 1; row <= kSwitchRows; ++row) f.SetTicked(row, true);
  f.Command4Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, ApplyResultText({4, 6, 7}));
  EXPECT_EQ(answers.shown()[0].text.find(L"设置完成"), std::wstring::npos);
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                      L"DisableRegistryTools"),
            std::optional<DWORD>(0))
      << "the rows that could be written were";

  for (int row = 1; row <= kSwitchRows; ++row) f.SetTicked(row, row <= 3);
  f.SetTicked(7, false);
  f.Command4Click();
  EXPECT_EQ(answers.shown().back().text, ApplyResultText({7})) << "row 7 writes even when unticked";
}
