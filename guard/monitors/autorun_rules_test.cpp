// The autorun guard's rules: drive kinds, the "open"/"shell" line, the program of a command text, and
// the same-drive rule that keeps the cleaner away from system files and documents.
#include "guard/monitors/autorun_rules.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(AutorunRules, EachDriveHasItsOwnKindAndOnlyLocalMediaAreScanned) {
  EXPECT_EQ(DriveKindOf(2), DriveKind::Removable);
  EXPECT_EQ(DriveKindOf(3), DriveKind::Fixed);
  EXPECT_EQ(DriveKindOf(4), DriveKind::Network);
  EXPECT_EQ(DriveKindOf(5), DriveKind::CdRom);
  EXPECT_EQ(DriveKindOf(6), DriveKind::Other);
  EXPECT_EQ(DriveKindOf(0), DriveKind::Other);
  EXPECT_TRUE(ScansDrive(DriveKind::Removable));
  EXPECT_TRUE(ScansDrive(DriveKind::Fixed));
  EXPECT_TRUE(ScansDrive(DriveKind::Other));
  EXPECT_FALSE(ScansDrive(DriveKind::CdRom));
  EXPECT_FALSE(ScansDrive(DriveKind::Network));
}

TEST(AutorunRules, TheFirstOpenOrShellLineCounts) {
  EXPECT_EQ(AutorunCommand(L"[autorun]\r\n   Open=virus.exe\r\nshell=other.exe\r\n").value_or(L"?"), L"virus.exe");
  EXPECT_EQ(AutorunCommand(L"[AutoRun]\n\tOPEN=Virus.EXE\n").value_or(L"?"), L"Virus.EXE");
  EXPECT_EQ(AutorunCommand(L"[autorun]\nshellexecute=C:\\a\\b.exe\nopen=x.exe").value_or(L"?"), L"C:\\a\\b.exe");
  EXPECT_EQ(AutorunCommand(L"shell\\open\\command=x.exe a=b").value_or(L"?"), L"x.exe a=b") << "after the first =";
  EXPECT_EQ(AutorunCommand(L"open=").value_or(L"?"), L"");
  // A taken line without "=" ends the reading: the later line is not looked at.
  EXPECT_FALSE(AutorunCommand(L"[autorun]\nopen virus.exe\nopen=later.exe"));
  EXPECT_FALSE(AutorunCommand(L"[autorun]\nicon=x.ico\nlabel=open=no\n"));
  EXPECT_FALSE(AutorunCommand(L""));
  EXPECT_FALSE(AutorunCommand(L"ope=x\nshel=y"));
  EXPECT_EQ(AutorunCommand(L"\r\r\nopen=a.exe\r").value_or(L"?"), L"a.exe");
}

TEST(AutorunRules, TheProgramIsTakenFromTheCommandText) {
  EXPECT_EQ(AutorunProgram(L"virus.exe"), L"virus.exe");
  EXPECT_EQ(AutorunProgram(L" virus.exe -s /q"), L"virus.exe");
  EXPECT_EQ(AutorunProgram(L"\"My Files\\set up.exe\" -x"), L"My Files\\set up.exe");
  EXPECT_EQ(AutorunProgram(L"\"unclosed name.exe"), L"unclosed name.exe");
  EXPECT_EQ(AutorunProgram(L"My Setup.exe"), L"My Setup.exe");
  EXPECT_EQ(AutorunProgram(L"run.bat -x"), L"run.bat");
  EXPECT_EQ(AutorunProgram(L"RUNDLL32.EXE bad.dll,Start"), L"bad.dll");
  EXPECT_EQ(AutorunProgram(L"readme.txt"), L"readme.txt");
  EXPECT_EQ(AutorunProgram(L"   "), L"");
}

TEST(AutorunRules, TargetsAreResolvedFromTheDriveRoot) {
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"virus.exe"), L"U:\\virus.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"RECYCLER\\x.exe"), L"U:\\RECYCLER\\x.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"\\sub\\x.exe"), L"U:\\sub\\x.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"C:\\Windows\\explorer.exe"), L"C:\\Windows\\explorer.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"..\\..\\Users\\me\\thesis.docx"), L"U:\\Users\\me\\thesis.docx");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"a/./b/../c.exe"), L"U:\\a\\c.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"C:x.exe"), L"C:\\x.exe");
  EXPECT_EQ(AutorunTargetPath(L"U:\\", L"\\\\server\\share\\..\\..\\x.exe"), L"\\\\server\\share\\x.exe");
  EXPECT_EQ(ResolveDots(L"C:\\a\\\\b\\..\\..\\..\\"), L"C:\\");
}

TEST(AutorunRules, OnlyFilesOfTheSameDriveOutsideTheWindowsFolderMayBeDeleted) {
  const wchar_t* win = L"C:\\Windows";
  EXPECT_TRUE(MayDeleteFromDrive(L"U:\\virus.exe", L"U:\\", win));
  EXPECT_TRUE(MayDeleteFromDrive(L"u:\\RECYCLER\\x.exe", L"U:\\", win));
  EXPECT_TRUE(MayDeleteFromDrive(AutorunTargetPath(L"U:\\", L"..\\..\\x.exe"), L"U:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"C:\\Windows\\explorer.exe", L"U:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"C:\\Users\\me\\thesis.docx", L"U:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"U:\\a\\..\\..\\C:\\x.exe", L"V:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"U:\\", L"U:\\", win)) << "the root itself";
  EXPECT_FALSE(MayDeleteFromDrive(L"\\\\server\\share\\x.exe", L"U:\\", win));
  // On the Windows drive itself the Windows folder stays out of reach, however it is spelt.
  EXPECT_FALSE(MayDeleteFromDrive(L"C:\\windows\\system32\\x.dll", L"C:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"C:\\temp\\..\\WINDOWS\\explorer.exe", L"C:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"C:\\Windows", L"C:\\", win));
  EXPECT_TRUE(MayDeleteFromDrive(L"C:\\WindowsApps.exe", L"C:\\", win));
  EXPECT_TRUE(MayDeleteFromDrive(L"C:\\virus.exe", L"C:\\", win));
  EXPECT_FALSE(MayDeleteFromDrive(L"U:\\a\\...\\x.exe", L"U:\\", win)) << "names of dots are not trusted";
}
