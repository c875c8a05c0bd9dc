#include "guard/process/process_rules.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(CheckPath, ExpandsNtPrefixesToWin32Paths) {
  EXPECT_EQ(CheckPath(L"\\??\\C:\\Windows\\system32\\csrss.exe", L"C:\\Windows"), L"C:\\Windows\\system32\\csrss.exe");
  EXPECT_EQ(CheckPath(L"\\SystemRoot\\System32\\smss.exe", L"C:\\WINDOWS"), L"C:\\WINDOWS\\System32\\smss.exe");
  EXPECT_EQ(CheckPath(L"\\SYSTEMROOT\\x.exe", L"D:\\Win"), L"D:\\Win\\x.exe");
  EXPECT_EQ(CheckPath(L"\\systemroot\\x.exe", L"D:\\Win"), L"D:\\Win\\x.exe");
  EXPECT_EQ(CheckPath(L"C:\\a\\\\??\\b.exe", L"C:\\W"), L"C:\\a\\b.exe");
  EXPECT_EQ(CheckPath(L"\\SystemRoot", L"C:\\W"), L"\\SystemRoot");
  EXPECT_EQ(CheckPath(L"", L"C:\\W"), L"");
}

TEST(CommandPaths, CleanCommandPathTakesTheProgram) {
  EXPECT_EQ(CleanCommandPath(L"\"C:\\Program Files\\A\\a.exe\" -x"), L"C:\\Program Files\\A\\a.exe");
  EXPECT_EQ(CleanCommandPath(L"rundll32.exe C:\\w\\shell32.dll,Control_RunDLL"), L"C:\\w\\shell32.dll");
  EXPECT_EQ(CleanCommandPath(L"RUNDLL32.EXE x.DLL,a"), L"x.DLL");
  EXPECT_EQ(CleanCommandPath(L"C:\\a\\B.EXE /s"), L"C:\\a\\B.EXE");
  EXPECT_EQ(CleanCommandPath(L"C:\\a\\b.scr"), L"C:\\a\\b.scr");
  // "exe" without ".exe" leaves the text whole instead of cutting it short.
  EXPECT_EQ(CleanCommandPath(L"C:\\exec\\x.dll"), L"C:\\exec\\x.dll");
  EXPECT_EQ(CleanCommandPath(L"rundll32.exe"), L"");
  EXPECT_EQ(CleanCommandPath(L""), L"");
}

TEST(CommandPaths, ExtractRunPathReadsRunValues) {
  EXPECT_EQ(ExtractRunPath(L"\"C:\\P F\\x.exe\" /min"), L"C:\\P F\\x.exe");
  EXPECT_EQ(ExtractRunPath(L"C:\\Windows\\system32\\RUNDLL32.EXE C:\\x\\y.dll,Start"), L"C:\\x\\y.dll");
  EXPECT_EQ(ExtractRunPath(L"rundll32.exe"), L"");
  EXPECT_EQ(ExtractRunPath(L".exe tail"), L".exe tail");
  EXPECT_EQ(ExtractRunPath(L"a.exe x"), L"a.exe");
  EXPECT_EQ(ExtractRunPath(L"C:\\tool.bat"), L"C:\\tool.bat");
}

TEST(Columns, MemoryAndPriorityTexts) {
  EXPECT_EQ(MemoryText(1536000), L"1,500 K");
  EXPECT_EQ(MemoryText(0), L" K");
  EXPECT_EQ(MemoryText(511), L" K");
  EXPECT_EQ(MemoryText(512), L"1 K");
  EXPECT_EQ(MemoryText(5ULL * 1024 * 1024 * 1024), L"5,242,880 K");
  EXPECT_EQ(PriorityText(0x40), L"低");
  EXPECT_EQ(PriorityText(0x4000), L"较低");
  EXPECT_EQ(PriorityText(0x20), L"标准");
  EXPECT_EQ(PriorityText(0x8000), L"较高");
  EXPECT_EQ(PriorityText(0x80), L"高");
  EXPECT_EQ(PriorityText(0x100), L"实时");
  EXPECT_EQ(PriorityText(0), L"");
  EXPECT_EQ(PriorityText(0x21), L"");
  EXPECT_EQ(PriorityClassOf(L"较高"), 0x8000u);
  EXPECT_EQ(PriorityClassOf(L""), 0u);
  EXPECT_EQ(PriorityClassOfBase(4), 0x40u);
  EXPECT_EQ(PriorityClassOfBase(8), 0x20u);
  EXPECT_EQ(PriorityClassOfBase(13), 0x80u);
  EXPECT_EQ(PriorityClassOfBase(24), 0x100u);
  EXPECT_EQ(PriorityClassOfBase(2), 0u);
}

TEST(Notes, SectionByFolderAndColumnsFromTheNote) {
  auto sys = NoteKeyFor(L"C:\\WINDOWS\\System32\\svchost.exe", L"C:\\Windows\\system32", L"C:\\Windows");
  ASSERT_TRUE(sys);
  EXPECT_EQ(sys->section, L"sysdir");
  EXPECT_EQ(sys->key, L"svchost.exe");
  auto win = NoteKeyFor(L"c:\\windows\\explorer.exe", L"C:\\Windows\\system32", L"C:\\Windows");
  ASSERT_TRUE(win);
  EXPECT_EQ(win->section, L"windir");
  EXPECT_EQ(win->key, L"explorer.exe");
  auto deeper = NoteKeyFor(L"C:\\Windows\\System32\\wbem\\wmiprvse.exe", L"C:\\Windows\\System32", L"C:\\Windows");
  EXPECT_EQ(deeper->key, L"wbem\\wmiprvse.exe");
  EXPECT_FALSE(NoteKeyFor(L"C:\\WindowsApps\\x.exe", L"C:\\Windows\\System32", L"C:\\Windows"));
  EXPECT_FALSE(NoteKeyFor(L"D:\\x.exe", L"C:\\Windows\\System32", L"C:\\Windows"));

  auto noted = OwnerAndRemarkFor(L"核心|服务宿主进程", L"user", L"product");
  EXPECT_EQ(noted.owner, L"系统/核心");
  EXPECT_EQ(noted.remark, L"服务宿主进程");
  EXPECT_EQ(OwnerAndRemarkFor(L"AB", L"u", L"p").remark, L"");
  auto plain = OwnerAndRemarkFor(L"", L"张三", L"产品");
  EXPECT_EQ(plain.owner, L"张三");
  EXPECT_EQ(plain.remark, L"产品");
}

TEST(Trust, CompanyListIsExactButTheMakerIgnoresCase) {
  EXPECT_TRUE(IsTrustedCompany(L"Microsoft Corporation"));
  EXPECT_FALSE(IsTrustedCompany(L"microsoft corporation"));
  EXPECT_FALSE(IsTrustedCompany(L"Microsoft Corporation "));
  EXPECT_TRUE(IsTrustedCompany(L"Thunder Networking Technologies,LTD"));
  EXPECT_TRUE(IsTrustedCompany(L"TolVark"));
  EXPECT_FALSE(IsTrustedCompany(L"Some Other Vendor"));
  EXPECT_FALSE(IsTrustedCompany(L""));
}

TEST(Trust, TheSignerMustBeListedAndBeTheCompanyTheFileNames) {
  using S = std::optional<std::wstring>;
  EXPECT_TRUE(IsTrustedSigner(L"Microsoft Corporation", S(L"Microsoft Corporation")));
  EXPECT_TRUE(IsTrustedSigner(L"tolvark", S(L"Tolvark")));
  EXPECT_FALSE(IsTrustedSigner(L"Microsoft Corporation", std::nullopt)) << "unsigned";
  EXPECT_FALSE(IsTrustedSigner(L"Microsoft Corporation", S(L"Tolvark"))) << "a listed signer claiming another";
  EXPECT_FALSE(IsTrustedSigner(L"Microsoft Corporation", S(L"Cheap Certs Ltd"))) << "any signer claiming a vendor";
  EXPECT_FALSE(IsTrustedSigner(L"Cheap Certs Ltd", S(L"Cheap Certs Ltd"))) << "an unlisted signer";
  EXPECT_FALSE(IsTrustedSigner(L"", S(L""))) << "an empty name is nobody";
}
