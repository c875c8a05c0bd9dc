#include "browser/tools/win/formclear.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <filesystem>
#include <fstream>

#include "browser/shell/win/frm_main.h"
#include "browser/tools/win/trace_cleaner.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"

namespace corvane {
namespace {

constexpr wchar_t kTyped[] = L"Software\\Microsoft\\Internet Explorer\\TypedUrls";
constexpr wchar_t kRecentDocs[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\recentdocs";

class Cleaner : public ::testing::Test {
 protected:
  void SetUp() override {
    history = dir.Write(L"History\\a.dat", "h");
    dir.Write(L"History\\Sub\\kept.dat", "s");
    recent = dir.Write(L"Recent\\doc.lnk", "r");
    cookie = dir.Write(L"Cookies\\user@site.txt", "c");
    otherCookie = dir.Write(L"Cookies\\index.dat", "i");
    folders = {dir.wpath() + L"\\History", dir.wpath() + L"\\Recent", dir.wpath() + L"\\Cookies", L""};
    common::WriteRegString(HKEY_CURRENT_USER, kTyped, L"url1", L"http://typed.cn/");
    common::WriteRegString(HKEY_CURRENT_USER, kRecentDocs, L"MRUListEx", L"x");
    common::WriteRegString(HKEY_CURRENT_USER, std::wstring(kRecentDocs) + L"\\.txt", L"0", L"y");  // a subkey
    for (int n = 1; n <= 15; ++n) {
      common::SaveSetting(kApp, L"myie", std::to_wstring(n) + L"his_url", L"http://p" + std::to_wstring(n) + L".cn/");
      common::SaveSetting(kApp, L"myie", std::to_wstring(n) + L"his_cap", L"页" + std::to_wstring(n));
    }
  }
  void TearDown() override { common::DeleteSettingSection(kApp, L"myie"); }

  // Ticks the boxes and clicks "确定(&Y)"; returns the message shown.
  suite::ShownMessage Clear(std::initializer_list<int> boxes, bool all = false) {
    suite::MsgBoxAnswers answers;
    bool cleared = false;
    Formclear form(folders, [&] { cleared = true; });
    EXPECT_TRUE(form.Create(nullptr));
    if (all) {
      SendMessageW(form.CheckAll(), BM_CLICK, 0, 0);
    }
    for (int b : boxes) SendMessageW(form.Chk(b), BM_SETCHECK, BST_CHECKED, 0);
    form.Command1_Click();
    EXPECT_TRUE(cleared);
    EXPECT_EQ(form.hwnd(), nullptr);  // closed before the message
    EXPECT_EQ(answers.shown().size(), 1u);
    return answers.shown().empty() ? suite::ShownMessage{} : answers.shown()[0];
  }
  bool Exists(const std::wstring& p) { return common::FileExists(p); }
  int EmptyHistorySettings(const wchar_t* what) {
    int n = 0;
    for (int i = 1; i <= 15; ++i) n += common::GetSetting(kApp, L"myie", std::to_wstring(i) + what).empty();
    return n;
  }

  suite::TempDir dir;
  TraceFolders folders;
  std::wstring history, recent, cookie, otherCookie;
};

TEST_F(Cleaner, SelectAllClearsEveryStepAndKeepsSubfolders) {
  suite::ShownMessage m = Clear({}, true);
  EXPECT_EQ(m.text, L"清除工作已经完成，请重新启动《Corvane安全浏览器》！    ");
  EXPECT_EQ(m.flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
  EXPECT_FALSE(Exists(history));
  EXPECT_TRUE(Exists(dir.wpath() + L"\\History\\Sub\\kept.dat"));
  EXPECT_FALSE(Exists(recent));
  EXPECT_FALSE(Exists(cookie));
  EXPECT_TRUE(Exists(otherCookie));  // only the cookie files
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kTyped));
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kRecentDocs));  // with its subkeys
  EXPECT_EQ(EmptyHistorySettings(L"his_url"), 15);
  EXPECT_EQ(EmptyHistorySettings(L"his_cap"), 15);
}

TEST_F(Cleaner, SelectAllTicksAndUnticksTheTen) {
  Formclear form(folders);
  ASSERT_TRUE(form.Create(nullptr));
  SendMessageW(form.CheckAll(), BM_CLICK, 0, 0);
  for (bool t : form.Ticked()) EXPECT_TRUE(t);
  SendMessageW(form.CheckAll(), BM_CLICK, 0, 0);
  for (bool t : form.Ticked()) EXPECT_FALSE(t);
  for (int i = 0; i < kTraceBoxes; ++i) EXPECT_EQ(common::ui::WindowText(form.Chk(i)), kTraceCaptions[size_t(i)]);
  EXPECT_EQ(common::ui::WindowText(form.hwnd()), L"清除历史记录");
}

TEST_F(Cleaner, OnlyUndoHistoryTouchesNoFilesOrKeys) {
  suite::ShownMessage m = Clear({8});
  EXPECT_EQ(m.text, kTraceDone);
  EXPECT_TRUE(Exists(history));
  EXPECT_TRUE(Exists(recent));
  EXPECT_TRUE(Exists(cookie));
  EXPECT_TRUE(common::RegKeyExists(HKEY_CURRENT_USER, kTyped));
  EXPECT_EQ(EmptyHistorySettings(L"his_url"), 15);
  EXPECT_EQ(EmptyHistorySettings(L"his_cap"), 15);
}

TEST_F(Cleaner, AddressHistoryEmptiesAddressesOnly) {
  Clear({0});
  EXPECT_FALSE(Exists(history));
  EXPECT_TRUE(Exists(recent));
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kTyped));
  EXPECT_TRUE(common::RegKeyExists(HKEY_CURRENT_USER, kRecentDocs));
  EXPECT_EQ(EmptyHistorySettings(L"his_url"), 15);
  EXPECT_EQ(EmptyHistorySettings(L"his_cap"), 0);
}

TEST_F(Cleaner, NothingTickedClearsNothingAndStillTells) {
  suite::ShownMessage m = Clear({1, 2, 3, 6, 7, 9});
  EXPECT_EQ(m.text, kTraceDone);
  EXPECT_TRUE(Exists(history));
  EXPECT_TRUE(Exists(recent));
  EXPECT_TRUE(Exists(cookie));
  EXPECT_EQ(EmptyHistorySettings(L"his_url"), 0);
}

TEST_F(Cleaner, FailedStepsAreNamed) {
  // A file held open without delete sharing cannot go.
  HANDLE held = CreateFileW(recent.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  folders.history = dir.wpath() + L"\\NoSuchFolder";  // missing: no failure
  suite::ShownMessage m = Clear({0, 4, 8});
  CloseHandle(held);
  EXPECT_EQ(m.text.find(kTraceDone), 0u);
  EXPECT_NE(m.text.find(L"清空“我的文档”列表"), std::wstring::npos) << m.text;
  EXPECT_EQ(m.text.find(L"清除地址栏历史"), std::wstring::npos) << m.text;
  EXPECT_EQ(m.flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kRecentDocs));  // the other actions of the step ran
}

// A link made by the host, as a link in "Recent" to a file elsewhere is seen under Wine.
bool HostLink(const std::wstring& target, const std::wstring& link) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  char *from = unixName(target.c_str()), *folder = unixName(common::FolderOf(link).c_str());
  if (!from || !folder) return false;
  std::wstring name = common::FileNameOf(link);  // ASCII in these tests
  std::string to = std::string(folder) + "/" + std::string(name.begin(), name.end());
  std::string line = "ln -s " + std::string(from) + " " + to;  // temporary paths, no blanks
  HeapFree(GetProcessHeap(), 0, from);
  HeapFree(GetProcessHeap(), 0, folder);
  std::wstring wline(line.begin(), line.end());
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\ln", wline.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // A host program is not one Wine can wait for: the link is there once it has run.
  return suite::PumpUntil([&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
}

TEST_F(Cleaner, NothingIsDeletedThroughALink) {
  std::wstring outside = dir.Write(L"Elsewhere\\precious.txt", "keep");
  std::wstring link = dir.wpath() + L"\\Recent\\precious.txt";
  ASSERT_TRUE(HostLink(outside, link));
  ASSERT_TRUE(common::FileExists(link)) << "the link is seen";
  Clear({}, true);  // "全选", then "确定(&Y)"
  EXPECT_FALSE(Exists(recent));  // the folder's own files go
  // The file the link names is untouched, whatever became of the link.
  ASSERT_TRUE(Exists(outside));
  std::ifstream in(std::filesystem::path(outside), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "keep");
}

TEST(KnownFolders, TheShellNamesTheTraceFolders) {
  TraceFolders f = KnownTraceFolders();
  EXPECT_FALSE(f.history.empty());
  EXPECT_FALSE(f.recent.empty());
  EXPECT_FALSE(f.cookies.empty());
  EXPECT_EQ(f.windows, common::GetWindowsFolder());
  EXPECT_EQ(f.history.find(L"Documents and Settings"), std::wstring::npos);
}

TEST(CookieCache, CookiesOfTheControlAreDeleted) {
  ASSERT_TRUE(InternetSetCookieW(L"http://cleaner.test/", L"kept",
                                 L"v; expires=Thu, 01-Jan-2037 00:00:00 GMT"));
  // Cookie entries of the cache (their own search, or among all entries where there is none).
  auto count = [] {
    int n = 0;
    for (const wchar_t* pattern : {L"cookie:", static_cast<const wchar_t*>(nullptr)}) {
      BYTE buf[8192];
      auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buf);
      DWORD size = sizeof buf;
      HANDLE f = FindFirstUrlCacheEntryW(pattern, entry, &size);
      for (bool more = f != nullptr; more; size = sizeof buf, more = FindNextUrlCacheEntryW(f, entry, &size))
        n += common::StartsWithNoCase(entry->lpszSourceUrlName, L"cookie:");
      if (f) FindCloseUrlCache(f);
    }
    return n;
  };
  ASSERT_GT(count(), 0);
  std::array<bool, kTraceBoxes> ticked{};
  ticked[5] = true;
  EXPECT_TRUE(RunTracePlan(TracePlan(ticked, TraceFolders{})).empty());
  EXPECT_EQ(count(), 0);
}

}  // namespace
}  // namespace corvane
