// The setup program and its uninstaller, run silently under Wine in a prefix of their own: what an
// installation puts in place, what the uninstaller takes back, and what it must leave alone.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "browser/tools/win/default_browser.h"
#include "common/path.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/text_files.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "common/win/version_info.h"
#include "guard/control/win/formface.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kSuiteName[] = L"Zorvix安全套件";
const std::wstring kVersion = L"" SUITE_VERSION_NUMBER;  // the project's
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZorvixSuite";
constexpr wchar_t kRunKey[] = L"software\\microsoft\\windows\\currentversion\\run";
constexpr wchar_t kSettings[] = L"Software\\VB and VBA Program Settings\\";
constexpr wchar_t kDirectoryMenu[] = L"Directory\\shell\\Sercavo";
constexpr wchar_t kDriveMenu[] = L"Software\\CLASSES\\Drive\\shell\\Sercavo";
constexpr wchar_t kHttpOpen[] = L"HTTP\\shell\\open\\command";
const wchar_t* const kPrograms[] = {L"zorvix.exe", L"zorvix_signer.exe", L"corvane.exe", L"sercavo.exe"};
const wchar_t* const kSettingsApps[] = {L"ZorvixSafe", L"Corvane", L"RororAreze", L"Sercavo"};
struct Shortcut {
  const wchar_t* name;
  const wchar_t* program;
};
const Shortcut kShortcuts[] = {
    {L"Zorvix安全卫士", L"zorvix.exe"}, {L"Corvane安全浏览器", L"corvane.exe"}, {L"Sercavo", L"sercavo.exe"}};

// The user's own files, relative to the folder, with their bytes.
const std::vector<std::pair<std::wstring, std::string>> kUserFiles = {
    {L"Favorites\\新闻\\新浪.url", "[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n"},
    {L"Group\\旅游.txt", "http://www.ctrip.com/\r\n"},
    {L"guanggao.txt", "ad.example\r\n"},
    {L"sys\\startup-backup.reg", "Windows Registry Editor Version 5.00\r\n"},
    {L"sys\\ask.dat", ";c:\\tools\\a.exe\r\n\r\n"},
    {L"sys\\regask.dat", "\r\n;hkey_current_user\\x\r\n"},
};
const std::string kEditedSites = "startSite, https://mine.example\r\n";

std::wstring Env(const wchar_t* name) {
  const wchar_t* v = _wgetenv(name);
  return v ? v : L"";
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &p))) out = p;
  CoTaskMemFree(p);
  return out;
}

std::wstring ShortcutTarget(const std::wstring& lnk) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return L"";
  std::wstring target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t buf[MAX_PATH]{};
    if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) && link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
      target = buf;
    file->Release();
  }
  link->Release();
  return target;
}

// Runs a command line until it and every process it started have ended (the uninstaller hands over to a
// copy of itself and returns at once); the first process's exit code, nullopt when it did not end in time.
std::optional<DWORD> RunToEnd(std::wstring line, DWORD ms = 120000) {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!job || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                              &si, &pi)) {
    if (job) CloseHandle(job);
    return std::nullopt;
  }
  bool inJob = AssignProcessToJobObject(job, pi.hProcess);
  ResumeThread(pi.hThread);
  bool ended = WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
  for (DWORD start = GetTickCount(); ended && inJob;) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr)) break;
    if (info.ActiveProcesses == 0) break;
    if (GetTickCount() - start > ms) ended = false;
    Sleep(100);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(job);
  if (!inJob) ADD_FAILURE() << "the command's processes cannot be followed";
  return ended && inJob ? std::optional<DWORD>(code) : std::nullopt;
}

// The program a command line starts, without its quotes and arguments.
std::wstring ProgramOf(const std::wstring& command) {
  if (!command.empty() && command[0] == L'"') return command.substr(1, command.find(L'"', 1) - 1);
  return command;
}

bool SameFile(const std::wstring& a, const std::wstring& b) { return common::EqualsNoCase(a, b); }

DWORD ExitCodeOf(const suite::ChildProcess& p) {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(p.handle(), &code);
  return code;
}

class SetupTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(setup_.empty()) << "SUITE_SETUP names the setup program";
    ASSERT_TRUE(common::FileExists(setup_)) << setup_;
    Clean();
  }
  void TearDown() override { Clean(); }

  // Every trace of an installation, so that each case starts from a machine without the suite.
  void Clean() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeW(root, kUninstallKey);
    for (const wchar_t* app : kSettingsApps) RegDeleteTreeW(HKEY_CURRENT_USER, (kSettings + std::wstring(app)).c_str());
    common::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, L"safe");
    for (const wchar_t* key : {kDirectoryMenu, L"flashfile", L".swf"}) RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDriveMenu);
    for (REFKNOWNFOLDERID id : {FOLDERID_CommonPrograms, FOLDERID_Programs})
      for (const Shortcut& s : kShortcuts) DeleteFileW(Lnk(KnownFolder(id), s).c_str());
    std::error_code ec;
    fs::remove_all(folder_, ec);
    fs::remove_all(UserFolder(), ec);
  }

  static std::wstring Lnk(const std::wstring& programs, const Shortcut& s) {
    return programs + L"\\" + s.name + L".lnk";
  }
  // The user's programs folder, which older systems (and Wine) do not name: then the one Windows uses.
  static std::wstring UserFolder() {
    std::wstring programs = KnownFolder(FOLDERID_UserProgramFiles);
    if (programs.empty()) programs = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs";
    return programs + L"\\Zorvix";
  }
  std::wstring In(const std::wstring& rel) const { return folder_ + L"\\" + rel; }

  // A silent install; into the test's folder unless told otherwise.
  std::optional<DWORD> Install(const std::wstring& args = L"", bool toFolder = true) {
    return RunToEnd(common::QuoteArg(setup_) + L" /S " + args + (toFolder ? L" /D=" + folder_ : L""));
  }
  // The silent uninstall as the system list gives it.
  std::optional<DWORD> Uninstall(HKEY root, const std::wstring& args = L"") {
    std::wstring quiet = common::ReadRegString(root, kUninstallKey, L"QuietUninstallString");
    EXPECT_FALSE(quiet.empty());
    if (quiet.empty()) return std::nullopt;
    return RunToEnd(quiet + args);
  }

  // Starts the installed guard as a user does and waits for its first run to write its start-up value.
  std::unique_ptr<suite::ChildProcess> StartGuard() {
    auto guard = std::make_unique<suite::ChildProcess>(L"", In(L"zorvix.exe"));
    EXPECT_TRUE(guard->started());
    EXPECT_TRUE(suite::PumpUntil(
        [&] { return SameFile(ProgramOf(common::ReadRegString(HKEY_CURRENT_USER, kRunKey, L"safe")), In(L"zorvix.exe")); },
        30000));
    return guard;
  }

  void WriteUserFilesAndSettings() {
    for (auto& [rel, bytes] : kUserFiles) {
      fs::create_directories(fs::path(In(rel)).parent_path());
      ASSERT_TRUE(suite::WriteBytes(In(rel), bytes)) << rel;
    }
    ASSERT_TRUE(suite::WriteBytes(In(L"sys\\sites.txt"), kEditedSites));
    ASSERT_TRUE(common::SaveSetting(L"ZorvixSafe", L"FireWall", L"1", L"c:\\tools\\a.exe|1"));
    ASSERT_TRUE(common::SaveSetting(L"Corvane", L"myie", L"Start", L"https://mine.example/"));
    ASSERT_TRUE(common::SaveSetting(L"RororAreze", L"rororAreze", L"RadioTop", L"1"));
    ASSERT_TRUE(common::SaveSetting(L"Sercavo", L"set", L"0sou", L"1"));
  }
  void ExpectUserFilesAndSettingsKept() {
    for (auto& [rel, bytes] : kUserFiles) EXPECT_EQ(suite::ReadBytes(In(rel)), bytes) << rel;
    EXPECT_EQ(suite::ReadBytes(In(L"sys\\sites.txt")), kEditedSites) << "the addresses the user set";
    EXPECT_EQ(common::GetSetting(L"ZorvixSafe", L"FireWall", L"1"), L"c:\\tools\\a.exe|1");
    EXPECT_EQ(common::GetSetting(L"Corvane", L"myie", L"Start"), L"https://mine.example/");
    EXPECT_EQ(common::GetSetting(L"RororAreze", L"rororAreze", L"RadioTop"), L"1");
    EXPECT_EQ(common::GetSetting(L"Sercavo", L"set", L"0sou"), L"1");
  }

  // The shipped data files, relative to the data folder.
  std::vector<std::wstring> DataFiles() const {
    std::vector<std::wstring> out;
    for (auto& e : fs::recursive_directory_iterator(data_))
      if (e.is_regular_file()) out.push_back(fs::relative(e.path(), data_).make_preferred().wstring());
    return out;
  }
  // Every file the setup program put in the folder, the uninstaller included.
  std::vector<std::wstring> InstalledFiles() const {
    std::vector<std::wstring> out(std::begin(kPrograms), std::end(kPrograms));
    out.push_back(L"uninstall.exe");
    for (auto& f : DataFiles()) out.push_back(f);
    return out;
  }

  const std::wstring setup_ = Env(L"SUITE_SETUP");
  const std::wstring data_ = Env(L"SUITE_DATA");
  const std::wstring folder_ = L"C:\\Program Files\\测试 套件";
};

}  // namespace

TEST_F(SetupTest, ASilentInstallPutsTheProgramsShortcutsAndEntryInPlace) {
  ASSERT_EQ(Install(), 0u);

  long long bytes = 0;
  for (const wchar_t* p : kPrograms) {
    ASSERT_TRUE(common::FileExists(In(p))) << p;
    bytes += common::FileSize(In(p));
    auto texts = common::ReadVersionTexts(In(p));
    if (std::wstring(p) == L"zorvix_signer.exe") continue;  // a helper without a version resource
    ASSERT_TRUE(texts) << p;
    EXPECT_EQ(texts->fileVersion, kVersion + L".0") << p;
    EXPECT_EQ(texts->productVersion, kVersion + L".0") << p;
  }
  EXPECT_TRUE(common::FileExists(In(L"uninstall.exe")));
  std::vector<std::wstring> data = DataFiles();
  ASSERT_FALSE(data.empty());
  for (const std::wstring& rel : data) {
    auto shipped = suite::ReadBytes(data_ + L"\\" + rel);
    ASSERT_TRUE(shipped);
    EXPECT_EQ(suite::ReadBytes(In(rel)), shipped) << rel;
  }
  // One marker serves both programs: they stand in the same folder.
  EXPECT_GE(common::FileSize(In(L"first.dat")), 11);

  std::wstring programs = KnownFolder(FOLDERID_CommonPrograms);
  ASSERT_FALSE(programs.empty());
  for (const Shortcut& s : kShortcuts)
    EXPECT_TRUE(SameFile(ShortcutTarget(Lnk(programs, s)), In(s.program))) << s.name;

  HKEY m = HKEY_LOCAL_MACHINE;
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"DisplayName"), kSuiteName);
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"DisplayVersion"), kVersion);
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"Publisher"), L"tolvark");
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"DisplayIcon"), In(L"zorvix.exe"));
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"InstallLocation"), folder_);
  std::wstring uninstall = L"\"" + In(L"uninstall.exe") + L"\"";
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"UninstallString"), uninstall);
  EXPECT_EQ(common::ReadRegString(m, kUninstallKey, L"QuietUninstallString"), uninstall + L" /S");
  auto size = common::ReadRegDword(m, kUninstallKey, L"EstimatedSize");
  ASSERT_TRUE(size);
  EXPECT_GE(*size, DWORD(bytes / 1024)) << "in KB, at least the programs";
  EXPECT_LT(*size, DWORD(bytes / 1024 * 2 + 1024));
  EXPECT_EQ(common::ReadRegDword(m, kUninstallKey, L"NoModify"), 1u);
  EXPECT_EQ(common::ReadRegDword(m, kUninstallKey, L"NoRepair"), 1u);
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kUninstallKey)) << "per machine only";

  // The guard's own list of installed programs shows the suite with its uninstall command.
  zorvix::Formface face{zorvix::FaceLinks{}};
  ASSERT_TRUE(face.Load());
  face.SelectTab(int(zorvix::PageType::Setup));
  int row = -1;
  for (int i = 0; i < face.lvw().Count(); ++i)
    if (face.lvw().Text(i, 0) == kSuiteName) row = i;
  ASSERT_GE(row, 0) << "listed on the guard's uninstall page";
  EXPECT_EQ(face.lvw().Text(row, 1), uninstall);
  face.Unload();

  ASSERT_EQ(Uninstall(m), 0u);
  EXPECT_FALSE(fs::exists(folder_)) << "nothing of the user's in it, the address file as shipped";
}

TEST_F(SetupTest, UninstallTakesBackWhatTheSuiteWroteAndKeepsTheUsersFilesAndSettings) {
  ASSERT_EQ(Install(), 0u);
  auto guard = StartGuard();
  std::wstring menu = L"\"" + In(L"sercavo.exe") + L"\" \"%1\"";
  ASSERT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kDirectoryMenu + std::wstring(L"\\command"), L""), menu);
  ASSERT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, kDriveMenu + std::wstring(L"\\command"), L""), menu);

  auto httpBefore = common::QueryRegString(HKEY_CLASSES_ROOT, kHttpOpen, L"");
  ASSERT_EQ(corvane::SetNavigation(In(L"corvane.exe")), corvane::NavigationResult::kDone);
  ASSERT_NE(common::QueryRegString(HKEY_CLASSES_ROOT, kHttpOpen, L""), httpBefore);
  // The Flash association as the browser's first run writes it.
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L".swf", L"", L"flashfile"));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\defaultIcon", L"", In(L"flash.exe")));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\shell\\open\\command", L"",
                                     L"\"" + In(L"flash.exe") + L"\" \"%1\""));
  WriteUserFilesAndSettings();
  fs::create_directories(In(L"temp"));
  ASSERT_TRUE(suite::WriteBytes(In(L"temp\\page.his"), "http://www.sina.com.cn/|新浪\r\n"));
  ASSERT_TRUE(guard->Running());

  ASSERT_EQ(Uninstall(HKEY_LOCAL_MACHINE), 0u);

  ASSERT_TRUE(guard->WaitExit(5000)) << "the running guard was ended";
  EXPECT_EQ(ExitCodeOf(*guard), 0u) << "by its own unload, not killed";
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, kRunKey, L"safe"));
  EXPECT_FALSE(common::RegKeyExists(HKEY_CLASSES_ROOT, kDirectoryMenu));
  EXPECT_FALSE(common::RegKeyExists(HKEY_LOCAL_MACHINE, kDriveMenu));
  EXPECT_EQ(common::QueryRegString(HKEY_CLASSES_ROOT, kHttpOpen, L""), httpBefore) << "the browser's own undo ran";
  EXPECT_FALSE(common::RegKeyExists(HKEY_CLASSES_ROOT, L"flashfile"));
  EXPECT_FALSE(common::QueryRegString(HKEY_CLASSES_ROOT, L".swf", L""));
  for (const Shortcut& s : kShortcuts)
    EXPECT_FALSE(common::FileExists(Lnk(KnownFolder(FOLDERID_CommonPrograms), s))) << s.name;
  EXPECT_FALSE(common::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  for (const std::wstring& rel : InstalledFiles()) {
    if (rel == L"sys\\sites.txt") continue;  // edited: the user's
    EXPECT_FALSE(common::FileExists(In(rel))) << rel;
  }
  EXPECT_FALSE(common::FileExists(In(L"first.dat")));
  EXPECT_FALSE(fs::exists(In(L"temp")));

  ExpectUserFilesAndSettingsKept();
  EXPECT_TRUE(common::QuerySetting(L"ZorvixSafe", L"Setup", L"FirstStart")) << "the guard's own record";
}

TEST_F(SetupTest, TheBoxForTheUsersFilesAndSettingsRemovesThemAndTheFolder) {
  ASSERT_EQ(Install(), 0u);
  WriteUserFilesAndSettings();
  ASSERT_TRUE(common::SaveSetting(L"OtherProgram", L"main", L"kept", L"1"));

  ASSERT_EQ(Uninstall(HKEY_LOCAL_MACHINE, L" /RemoveUserData"), 0u);

  for (const wchar_t* app : kSettingsApps)
    EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kSettings + std::wstring(app))) << app;
  EXPECT_EQ(common::GetSetting(L"OtherProgram", L"main", L"kept"), L"1") << "another program's settings stay";
  EXPECT_FALSE(fs::exists(folder_)) << "nothing of the user's was left in it";
  RegDeleteTreeW(HKEY_CURRENT_USER, (kSettings + std::wstring(L"OtherProgram")).c_str());
}

TEST_F(SetupTest, UninstallLeavesAloneWhatNamesAnotherFolder) {
  ASSERT_EQ(Install(), 0u);
  // A folder whose name begins with this one's: a comparison of the start of the text would take it.
  std::wstring other = folder_ + L" 2";
  std::wstring run = L"\"" + other + L"\\zorvix.exe\"";
  std::wstring menu = L"\"" + other + L"\\sercavo.exe\" \"%1\"";
  std::wstring flash = L"\"" + other + L"\\flash.exe\" \"%1\"";
  ASSERT_TRUE(common::WriteRegString(HKEY_CURRENT_USER, kRunKey, L"safe", run));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, kDirectoryMenu + std::wstring(L"\\command"), L"", menu));
  ASSERT_TRUE(common::WriteRegString(HKEY_LOCAL_MACHINE, kDriveMenu + std::wstring(L"\\command"), L"", menu));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L".swf", L"", L"flashfile"));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\defaultIcon", L"", other + L"\\flash.exe"));
  ASSERT_TRUE(common::WriteRegString(HKEY_CLASSES_ROOT, L"flashfile\\shell\\open\\command", L"", flash));
  // Another installation in the same view took the entry (and the shortcuts' names) over.
  ASSERT_TRUE(common::WriteRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", other));

  ASSERT_EQ(Uninstall(HKEY_LOCAL_MACHINE), 0u);

  EXPECT_FALSE(common::FileExists(In(L"zorvix.exe"))) << "this installation's files went";
  EXPECT_EQ(common::ReadRegString(HKEY_CURRENT_USER, kRunKey, L"safe"), run);
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kDirectoryMenu + std::wstring(L"\\command"), L""), menu);
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, kDriveMenu + std::wstring(L"\\command"), L""), menu);
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, L"flashfile\\shell\\open\\command", L""), flash);
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, L".swf", L""), L"flashfile");
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), other);
  for (const Shortcut& s : kShortcuts)
    EXPECT_TRUE(common::FileExists(Lnk(KnownFolder(FOLDERID_CommonPrograms), s))) << s.name;
}

TEST_F(SetupTest, AnInstallOverAnExistingOneEndsTheGuardAndKeepsTheUsersFilesAndSettings) {
  ASSERT_EQ(Install(), 0u);
  ASSERT_TRUE(DeleteFileW(In(L"first.dat").c_str()));  // as the programs' first runs do
  WriteUserFilesAndSettings();
  ASSERT_TRUE(suite::WriteBytes(In(L"version.htm"), "damaged"));
  auto guard = StartGuard();

  ASSERT_EQ(Install(), 0u);

  ASSERT_TRUE(guard->WaitExit(5000)) << "the running guard was ended first";
  EXPECT_EQ(ExitCodeOf(*guard), 0u) << "by its own unload";
  EXPECT_EQ(suite::ReadBytes(In(L"version.htm")), suite::ReadBytes(data_ + L"\\version.htm")) << "files replaced";
  ExpectUserFilesAndSettingsKept();
  EXPECT_FALSE(common::FileExists(In(L"first.dat"))) << "no first run over the user's settings";

  EXPECT_EQ(Uninstall(HKEY_LOCAL_MACHINE, L" /RemoveUserData"), 0u);
}

TEST_F(SetupTest, APerUserInstallGoesToTheUsersProgramsAndKeys) {
  ASSERT_EQ(Install(L"/CurrentUser", false), 0u);
  std::wstring folder = UserFolder();
  EXPECT_TRUE(common::FileExists(folder + L"\\zorvix.exe"));
  EXPECT_EQ(common::ReadRegString(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), folder);
  EXPECT_FALSE(common::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  std::wstring programs = KnownFolder(FOLDERID_Programs);
  for (const Shortcut& s : kShortcuts) {
    EXPECT_TRUE(SameFile(ShortcutTarget(Lnk(programs, s)), folder + L"\\" + s.program)) << s.name;
    EXPECT_FALSE(common::FileExists(Lnk(KnownFolder(FOLDERID_CommonPrograms), s)));
  }

  ASSERT_EQ(Uninstall(HKEY_CURRENT_USER), 0u);

  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, kUninstallKey));
  for (const Shortcut& s : kShortcuts) EXPECT_FALSE(common::FileExists(Lnk(programs, s))) << s.name;
  EXPECT_FALSE(fs::exists(folder));
}
