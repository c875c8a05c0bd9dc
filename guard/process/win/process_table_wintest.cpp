// The process table against real processes: the suite's child program, started and ended by the tests.
#include "guard/process/win/process_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/text.h"
#include "common/win/ansi.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/process_query.h"

using namespace zorvix;

namespace {

class Host : public common::ui::Window {};

// A process table in a window of its own, its folders pointing at a temporary "system folder".
struct TableFixture : testing::Test {
  TableFixture() : trust([this](const std::wstring& p) { return signedPaths.count(common::ToLower(p)) > 0; }) {
    host.Create(L"ZorvixTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 600);
    lvw.Create(host.hwnd(), 1);
    for (int i = 0; i < 8; ++i) lvw.AddColumn(L"c" + std::to_wstring(i), 1000);
    sbr.Create(host.hwnd(), 2, {3000, 3000, -1});
    sysDir = dir.wpath() + L"\\sys32";
    std::filesystem::create_directories(sysDir);
    notes = dir.wpath() + L"\\process.dat";
    table.Init({L"C:\\windows", sysDir, L"测试用户", notes});
  }
  std::wstring CopyChild(const std::wstring& name, const std::wstring& from = L"suite_child.exe") {
    std::wstring to = sysDir + L"\\" + name;
    std::filesystem::copy_file(suite::BinFolder() + from, to, std::filesystem::copy_options::overwrite_existing);
    return to;
  }
  int RowOf(const suite::ChildProcess& c) { return table.HaveItem(c.pid()); }
  std::wstring Cell(const suite::ChildProcess& c, int col) { return lvw.Text(RowOf(c), col); }

  suite::TempDir dir;
  std::set<std::wstring> signedPaths;
  TrustChecker trust;
  Host host;
  common::ui::ListView lvw;
  common::ui::StatusBar sbr;
  ProcessTable table{lvw, sbr, trust};
  std::wstring sysDir, notes;
};

}  // namespace

TEST_F(TableFixture, ChildAppearsWithItsColumnsAndGoesWithinOneTick) {
  std::wstring exe = CopyChild(L"子进程.exe");
  common::WriteAnsiFile(notes, L"[sysdir]\r\n子进程.exe=测试|子进程的备注\r\n");
  suite::ChildProcess child(L"", exe);
  ASSERT_TRUE(child.started());
  EXPECT_TRUE(table.ListProcess());
  ASSERT_GE(RowOf(child), 0);
  EXPECT_EQ(lvw.Key(RowOf(child)), L"ID:" + std::to_wstring(child.pid()));
  EXPECT_EQ(Cell(child, kColName), L"子进程.exe");
  EXPECT_EQ(Cell(child, kColPid), std::to_wstring(child.pid()));
  EXPECT_TRUE(Cell(child, kColMemory).ends_with(L" K"));
  EXPECT_GT(Cell(child, kColMemory).size(), 2u);
  EXPECT_EQ(Cell(child, kColOwner), L"系统/测试");
  EXPECT_EQ(Cell(child, kColTrust), L"?");
  EXPECT_EQ(Cell(child, kColPriority), L"标准");
  EXPECT_TRUE(common::EqualsNoCase(Cell(child, kColPath), exe));
  EXPECT_EQ(Cell(child, kColRemark), L"子进程的备注");
  EXPECT_TRUE(sbr.Text(0).starts_with(L"系统进程数目："));
  EXPECT_TRUE(sbr.Text(1).starts_with(L"已用内存："));
  EXPECT_TRUE(sbr.Text(1).ends_with(L" MB"));

  EXPECT_FALSE(table.ListProcess()) << "an unchanged tick adds nothing";
  size_t checks = trust.checks();
  table.ListProcess();
  EXPECT_EQ(trust.checks(), checks) << "known rows cost no trust work";

  child.Kill();
  table.ListProcess();
  table.CheckProcess();
  EXPECT_LT(RowOf(child), 0);
}

TEST_F(TableFixture, WithoutANoteTheOwnerIsTheUserAndTheRemarkTheProduct) {
  suite::ChildProcess child(L"", CopyChild(L"plain.exe"));
  table.ListProcess();
  ASSERT_GE(RowOf(child), 0);
  EXPECT_EQ(Cell(child, kColOwner), L"测试用户");
  EXPECT_EQ(Cell(child, kColRemark), L"套件测试");
}

TEST_F(TableFixture, TwoProcessesOfOneProgramShareOneIcon) {
  std::wstring exe = CopyChild(L"twin.exe");
  suite::ChildProcess a(L"", exe), b(L"", exe);
  table.ListProcess();
  size_t images = table.images().size();
  ASSERT_GE(RowOf(a), 0);
  ASSERT_GE(RowOf(b), 0);
  LVITEMW ia{LVIF_IMAGE, RowOf(a)}, ib{LVIF_IMAGE, RowOf(b)};
  ListView_GetItem(lvw.hwnd(), &ia);
  ListView_GetItem(lvw.hwnd(), &ib);
  EXPECT_EQ(ia.iImage, ib.iImage);
  EXPECT_EQ(table.images().Find(Cell(a, kColPath)), ia.iImage);
  suite::ChildProcess c(L"", exe);
  table.ListProcess();
  EXPECT_EQ(table.images().size(), images);
}

TEST_F(TableFixture, TrustNeedsASignatureAndAListedCompany) {
  std::wstring claims = CopyChild(L"claims.exe", L"suite_child_vendor.exe");
  std::wstring plain = CopyChild(L"plain.exe");
  suite::ChildProcess unsignedClaim(L"", claims), signedClaim(L"", CopyChild(L"signed.exe", L"suite_child_vendor.exe"));
  suite::ChildProcess signedUnlisted(L"", plain);
  signedPaths = {common::ToLower(sysDir + L"\\signed.exe"), common::ToLower(plain)};
  table.ListProcess();
  EXPECT_EQ(Cell(unsignedClaim, kColTrust), L"?") << "a company name alone proves nothing";
  EXPECT_EQ(Cell(signedClaim, kColTrust), L"√");
  EXPECT_EQ(Cell(signedUnlisted, kColTrust), L"?");

  table.RemoveTrustedRows();
  EXPECT_LT(RowOf(signedClaim), 0);
  EXPECT_GE(RowOf(unsignedClaim), 0);
}

TEST_F(TableFixture, LookupProcessColumnIgnoresCase) {
  std::wstring exe = CopyChild(L"look.exe");
  suite::ChildProcess child(L"", exe);
  table.ListProcess();
  EXPECT_EQ(table.LookupProcessColumn(common::ToUpper(exe), kColPid), std::to_wstring(child.pid()));
  EXPECT_EQ(table.LookupProcessColumn(L"C:\\nothing.exe", kColPid), L"未知");
}

TEST(ProcessQuery, RealSignatureCheckRefusesAnUnsignedVendorClaim) {
  EXPECT_FALSE(HasValidSignature(suite::BinFolder() + L"suite_child_vendor.exe"));
  TrustChecker real;
  const auto& v = real.IsTrustedFile(suite::BinFolder() + L"suite_child_vendor.exe");
  EXPECT_EQ(v.company, L"Microsoft Corporation");
  EXPECT_FALSE(v.trusted);
  EXPECT_EQ(real.IsTrustedFile(L"C:\\missing\\x.exe").company, L"C:\\missing\\x.exe");
}

TEST(ProcessQuery, PriorityAndBareNames) {
  suite::ChildProcess child;
  EXPECT_EQ(GetProClass(child.pid()), L"标准");
  ASSERT_TRUE(SetProClass(child.pid(), BELOW_NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(GetProClass(child.pid()), L"较低");
  EXPECT_EQ(GetProClass(0xFFFFFFF0), L"");
  EXPECT_FALSE(GetUsedMemoryMB().empty());
  EXPECT_EQ(ResolveBareName(L"C:\\x\\y.exe"), L"C:\\x\\y.exe");
  EXPECT_EQ(ResolveBareName(L"notepad.exe"), common::GetWindowsFolder() + L"\\notepad.exe");
  EXPECT_EQ(ResolveBareName(L"nosuchfile.dll"), common::GetSystemFolder() + L"\\nosuchfile.dll");
}
