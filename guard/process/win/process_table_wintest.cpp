// The process table against real processes: the suite's child program, started and ended by the tests.
#include "guard/process/win/process_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/test_certificate.h"
#include "common/text.h"
#include "common/testing/win/text_files.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/fake_process_system.h"
#include "guard/process/win/process_query.h"

using namespace zorvix;

namespace {

// A window that passes the list's questions to it, as the process window does.
class Host : public common::ui::Window {
 public:
  ProcessList* list = nullptr;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NOTIFY && list && list->OnNotify(reinterpret_cast<NMHDR*>(lp))) return 0;
    return Default(msg, wp, lp);
  }
};

// A process table in a window of its own, its folders pointing at a temporary "system folder".
struct TableFixture : ::testing::Test {
  TableFixture() : trust([this](const std::wstring& p) -> std::optional<std::wstring> {
    auto it = signers.find(common::ToLower(p));
    if (it == signers.end()) return std::nullopt;
    return it->second;
  }) {
    host.Create(L"ZorvixTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 600);
    host.list = &lvw;
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
  void Tick() {
    table.ListProcess();
    table.CheckProcess();
  }

  suite::TempDir dir;
  std::map<std::wstring, std::wstring> signers;  // lower-case path -> signer of its valid signature
  TrustChecker trust;
  Host host;
  ProcessList lvw;
  common::ui::StatusBar sbr;
  zorvix::testing::FakeSystem system;
  ProcessTable table{lvw, sbr, trust, system};
  std::wstring sysDir, notes;
};

}  // namespace

TEST_F(TableFixture, ChildAppearsWithItsColumnsAndGoesWithinOneTick) {
  std::wstring exe = CopyChild(L"子进程.exe");
  suite::WriteText(notes, L"[sysdir]\r\n子进程.exe=测试|子进程的备注\r\n");
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

TEST_F(TableFixture, AnUnchangedTickQueriesOnceAndOpensNothing) {
  suite::ChildProcess child(L"", CopyChild(L"quiet.exe"));
  Tick();
  ASSERT_GE(RowOf(child), 0);
  int opens = system.opens, queries = system.queries;
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(system.opens, opens) << "a listed process is not opened again";
  EXPECT_EQ(system.queries, queries + 3) << "one system query a tick";

  // A process that starts and ends between two ticks is neither opened nor listed.
  DWORD brief = 0;
  {
    suite::ChildProcess c(L"", CopyChild(L"brief.exe"));
    brief = c.pid();
    c.Kill();
  }
  Tick();
  EXPECT_LT(table.HaveItem(brief), 0);
  EXPECT_EQ(system.opens, opens);

  // A new process is opened once, however many ticks list it.
  suite::ChildProcess late(L"", CopyChild(L"late.exe"));
  Tick();
  Tick();
  EXPECT_GE(RowOf(late), 0);
  EXPECT_EQ(system.opens, opens + 1);
}

// The working set's KB figure of a memory text ("1,234 K").
uint64_t KBOf(std::wstring text) {
  std::erase(text, L',');
  return common::NumberOrZero(text.substr(0, text.find(L' ')));
}

TEST_F(TableFixture, TheMemoryTextFollowsTheWorkingSetWithoutAnOpen) {
  suite::ChildProcess child(L"", CopyChild(L"grows.exe"));
  ASSERT_TRUE(suite::PumpUntil([&] { return WaitForInputIdle(child.handle(), 0) == 0; }, 5000));
  Tick();
  ASSERT_GE(RowOf(child), 0);
  uint64_t before = KBOf(Cell(child, kColMemory));
  int opens = system.opens;
  // 32 MB written into the child become part of its working set.
  const size_t size = 32 << 20;
  void* at = VirtualAllocEx(child.handle(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(at, nullptr);
  std::vector<char> ones(size, 1);
  ASSERT_TRUE(WriteProcessMemory(child.handle(), at, ones.data(), size, nullptr));
  Tick();
  EXPECT_GE(KBOf(Cell(child, kColMemory)), before + 30 * 1024);
  EXPECT_EQ(system.opens, opens);
}

TEST_F(TableFixture, APidReusedByAnotherProcessIsShownAsANewRow) {
  suite::ChildProcess first(L"", CopyChild(L"first.exe"));
  Tick();
  ASSERT_GE(RowOf(first), 0);
  // The first process ends and its PID now names another one, started later.
  suite::ChildProcess second(L"", CopyChild(L"second.exe"));
  first.Kill();
  system.standIns[first.pid()] = second.pid();
  Tick();
  ASSERT_GE(RowOf(first), 0);
  EXPECT_EQ(Cell(first, kColName), L"second.exe");
  EXPECT_TRUE(common::EqualsNoCase(Cell(first, kColPath), sysDir + L"\\second.exe"));
  EXPECT_EQ(table.RowCreateTime(first.pid()), std::optional<uint64_t>(CreateTimeOf(second.handle())));
  EXPECT_EQ(table.PathOf(first.pid(), CreateTimeOf(first.handle())), std::nullopt) << "the first one's path";
}

TEST_F(TableFixture, AProcessThatCannotBeOpenedIsListedByTheNameTheQueryGave) {
  suite::ChildProcess child(L"", CopyChild(L"closed.exe"));
  system.refused.insert(child.pid());
  Tick();
  ASSERT_GE(RowOf(child), 0);
  EXPECT_EQ(Cell(child, kColName), L"closed.exe");
  EXPECT_EQ(Cell(child, kColPath), L"");
  EXPECT_EQ(Cell(child, kColTrust), L"?");
  EXPECT_TRUE(Cell(child, kColMemory).ends_with(L" K"));
  EXPECT_EQ(table.PathOf(child.pid(), CreateTimeOf(child.handle())), L"") << "known to have no path";
  int opens = system.opens;
  Tick();
  EXPECT_EQ(system.opens, opens) << "not tried again each tick";
  child.Kill();
  Tick();
  EXPECT_LT(RowOf(child), 0);
}

TEST_F(TableFixture, ThePriorityFollowsTheQueryWhereItsScaleNamesTheClasses) {
  suite::ChildProcess child(L"", CopyChild(L"prio.exe"));
  // The base priorities of a system where they name the classes (ours is normal: 8).
  system.basePriorities = {{GetCurrentProcessId(), 8}, {child.pid(), 8}};
  Tick();
  ASSERT_GE(RowOf(child), 0);
  EXPECT_EQ(Cell(child, kColPriority), L"标准");
  int opens = system.opens;
  system.basePriorities[child.pid()] = 6;
  Tick();
  EXPECT_EQ(Cell(child, kColPriority), L"较低");
  EXPECT_EQ(system.opens, opens);
  // On a scale where our own normal process does not show 8, no class is told from the query.
  system.basePriorities = {{GetCurrentProcessId(), 2}, {child.pid(), 13}};
  Tick();
  EXPECT_EQ(Cell(child, kColPriority), L"较低");
  // There the text is read again when the user sets a class.
  ASSERT_TRUE(SetProClass(child.pid(), HIGH_PRIORITY_CLASS));
  table.RefreshPriority(child.pid());
  EXPECT_EQ(Cell(child, kColPriority), L"高");
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

TEST_F(TableFixture, TrustNeedsTheListedCompanyToBeTheSigner) {
  std::wstring claims = CopyChild(L"claims.exe", L"suite_child_vendor.exe");
  std::wstring plain = CopyChild(L"plain.exe");
  std::wstring byVendor = CopyChild(L"signed.exe", L"suite_child_vendor.exe");
  std::wstring byOther = CopyChild(L"other.exe", L"suite_child_vendor.exe");
  suite::ChildProcess unsignedClaim(L"", claims), signedClaim(L"", byVendor), otherSigner(L"", byOther);
  suite::ChildProcess signedUnlisted(L"", plain);
  signers = {{common::ToLower(byVendor), L"Microsoft Corporation"},
             {common::ToLower(byOther), L"Kingsoft Corporation"},
             {common::ToLower(plain), L"Suite Test Maker"}};
  table.ListProcess();
  EXPECT_EQ(Cell(unsignedClaim, kColTrust), L"?") << "a company name alone proves nothing";
  EXPECT_EQ(Cell(signedClaim, kColTrust), L"√");
  EXPECT_EQ(Cell(otherSigner, kColTrust), L"?") << "a listed signer may not claim another company";
  EXPECT_EQ(Cell(signedUnlisted, kColTrust), L"?");

  table.RemoveTrustedRows();
  EXPECT_LT(RowOf(signedClaim), 0);
  EXPECT_GE(RowOf(unsignedClaim), 0);
}

TEST_F(TableFixture, AnImagePathIsCheckedAsItIsNotCutAtAnExeInAFolderName) {
  // "setup.exe_files\x.exe" was once checked as "setup.exe", a file the user never ran.
  std::filesystem::create_directories(sysDir + L"\\setup.exe_files");
  std::wstring decoy = CopyChild(L"setup.exe", L"suite_child_maker.exe");
  std::wstring real = CopyChild(L"setup.exe_files\\x.exe");
  signers = {{common::ToLower(decoy), L"Tolvark"}};
  suite::ChildProcess child(L"", real);
  table.ListProcess();
  EXPECT_EQ(Cell(child, kColTrust), L"?");
  EXPECT_EQ(trust.IsTrustedFile(real).company, L"Suite Test Maker");
  // A command line is cleaned first: the program it starts is the one checked.
  EXPECT_TRUE(trust.IsTrustedCommand(L"\"" + decoy + L"\" /s").trusted);
}

TEST_F(TableFixture, TrustVerdictsAreKeptForABoundedNumberOfPaths) {
  TrustChecker small([](const std::wstring&) { return std::nullopt; }, 2);
  std::wstring a = CopyChild(L"a.exe"), b = CopyChild(L"b.exe"), c = CopyChild(L"c.exe");
  small.IsTrustedFile(a);
  small.IsTrustedFile(b);
  small.IsTrustedFile(a);
  EXPECT_EQ(small.checks(), 2u) << "a known path is not checked again";
  small.IsTrustedFile(c);
  EXPECT_EQ(small.cached(), 2u);
  small.IsTrustedFile(b);  // the least recently used one was dropped
  EXPECT_EQ(small.checks(), 4u);
  small.IsTrustedFile(a);
  EXPECT_EQ(small.checks(), 5u);
}

TEST_F(TableFixture, TheSelectionStaysWithItsProcessAsRowsComeGoAndSort) {
  lvw.SortBy(kColName, true);
  suite::ChildProcess kept(L"", CopyChild(L"m_kept.exe"));
  Tick();
  ASSERT_GE(RowOf(kept), 0);
  lvw.Select(RowOf(kept));
  // Two rows sorted in before it move it down.
  suite::ChildProcess first(L"", CopyChild(L"a_first.exe")), second(L"", CopyChild(L"a_second.exe"));
  Tick();
  EXPECT_EQ(lvw.Count(), int(table.rows().size())) << "the control shows every row";
  ASSERT_GE(RowOf(second), 0);
  EXPECT_LT(RowOf(second), RowOf(kept));
  EXPECT_EQ(lvw.Selected(), RowOf(kept));
  first.Kill();
  Tick();
  EXPECT_EQ(lvw.Selected(), RowOf(kept)) << "a row above it went";
  lvw.OnHeaderClick(kColName);
  EXPECT_EQ(lvw.Selected(), RowOf(kept)) << "the order flipped";
  ASSERT_NE(lvw.SelectedRow(), nullptr);
  EXPECT_EQ(lvw.SelectedRow()->pid, kept.pid());
  kept.Kill();
  Tick();
  EXPECT_EQ(lvw.Selected(), -1) << "no other row takes the place of the one that went";
}

TEST_F(TableFixture, LookupProcessColumnIgnoresCase) {
  std::wstring exe = CopyChild(L"look.exe");
  suite::ChildProcess child(L"", exe);
  table.ListProcess();
  EXPECT_EQ(table.LookupProcessColumn(common::ToUpper(exe), kColPid), std::to_wstring(child.pid()));
  EXPECT_EQ(table.LookupProcessColumn(L"C:\\nothing.exe", kColPid), L"未知");
}

// The real signature check on programs the build signed with its throw-away certificates.
TEST(RealSignature, TrustsTheSignedMakerProgramAndNothingElse) {
  ASSERT_TRUE(suite::TrustTestCertificate());
  std::wstring bin = suite::BinFolder();
  TrustChecker real;
  EXPECT_EQ(SignerOf(bin + L"suite_child_signed.exe"), std::optional<std::wstring>(L"Tolvark"));
  EXPECT_TRUE(real.IsTrustedFile(bin + L"suite_child_signed.exe").trusted);

  // The same file with one byte changed.
  suite::TempDir dir;
  std::wstring changed = dir.wpath() + L"\\changed.exe";
  std::filesystem::copy_file(bin + L"suite_child_signed.exe", changed);
  {
    std::fstream f(std::filesystem::path(changed), std::ios::in | std::ios::out | std::ios::binary);
    f.seekg(0x1000);
    char c = 0;
    f.read(&c, 1);
    f.seekp(0x1000);
    f.put(char(c ^ 0x5A));
  }
  EXPECT_EQ(SignerOf(changed), std::nullopt);
  EXPECT_FALSE(real.IsTrustedFile(changed).trusted);

  // Signed by the trusted certificate, but its version texts claim another company.
  auto vendor = real.IsTrustedFile(bin + L"suite_child_vendor_signed.exe");
  EXPECT_EQ(vendor.company, L"Microsoft Corporation");
  EXPECT_FALSE(vendor.trusted);
  // Signed in the maker's name by a certificate no root vouches for.
  EXPECT_EQ(SignerOf(bin + L"suite_child_untrusted.exe"), std::nullopt);
  EXPECT_FALSE(real.IsTrustedFile(bin + L"suite_child_untrusted.exe").trusted);
  // Unsigned.
  EXPECT_EQ(SignerOf(bin + L"suite_child_maker.exe"), std::nullopt);
  EXPECT_FALSE(real.IsTrustedFile(bin + L"suite_child_maker.exe").trusted);
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
