// The file details of real files and the Forminfo window's links.
#include "guard/process/win/forminfo.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <filesystem>
#include <vector>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/pump.h"
#include "common/win/system.h"
#include "guard/process/win/file_details.h"

using namespace zorvix;

TEST(ReadFileDetails, GivesTheVersionTextsAndFileFactsOfAProgram) {
  FileDetails d = ReadFileDetails(suite::BinFolder() + L"suite_child.exe");
  EXPECT_EQ(d.company, L"Suite Test Maker");
  EXPECT_EQ(d.description, L"套件测试程序");
  EXPECT_EQ(d.version, L"1.2.3.4");
  EXPECT_EQ(d.product, L"套件测试");
  EXPECT_FALSE(d.size.empty());
  EXPECT_FALSE(d.modified.empty());
  EXPECT_NE(d.attributes.find(L'A'), std::wstring::npos);
  FileDetails none = ReadFileDetails(L"C:\\no\\such\\file.exe");
  EXPECT_TRUE(none.size.empty() && none.company.empty() && none.modified.empty());
}

namespace {
// PIDs of running processes with this file name.
std::vector<DWORD> PidsNamed(const std::wstring& name) {
  std::vector<DWORD> pids;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{sizeof e};
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (common::EqualsNoCase(e.szExeFile, name)) pids.push_back(e.th32ProcessID);
  CloseHandle(snap);
  return pids;
}
}  // namespace

TEST(Forminfo, RunLinkStartsTheFileEvenInAFolderWithBlanks) {
  suite::TempDir dir;
  std::filesystem::path exe = dir.path() / L"a b" / L"zv_run_me.exe";
  std::filesystem::create_directories(exe.parent_path());
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  Forminfo info([](std::wstring& path) { return path; });
  ASSERT_TRUE(info.Load(nullptr));
  info.FilePath = exe.wstring();
  info.drawiconex();
  EXPECT_EQ(info.report(), exe.wstring());
  info.LabcmdClick(Forminfo::kRun);
  EXPECT_FALSE(info.loaded());
  std::vector<DWORD> started;
  EXPECT_TRUE(suite::PumpUntil([&] { return !(started = PidsNamed(L"zv_run_me.exe")).empty(); }, 5000));
  for (DWORD pid : started) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}
