// Texts and small rules of the tray: tip, weekday, address message, socket check, drive items, check mark.
#include "guard/startup/tray_text.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(TrayText, WeekdayCountsFromSundayWithALeadingBlank) {
  EXPECT_EQ(WeekdayText(1), L" 星期天");
  EXPECT_EQ(WeekdayText(2), L" 星期一");
  EXPECT_EQ(WeekdayText(4), L" 星期三");
  EXPECT_EQ(WeekdayText(7), L" 星期六");
  EXPECT_EQ(WeekdayText(0), L"");
  EXPECT_EQ(WeekdayText(8), L"");
}

TEST(TrayText, TipIsGreetingLineBreakDateAndWeekday) {
  EXPECT_EQ(TrayTip(L"2024/3/9", 7), L"欢迎使用《Zorvix安全卫士》\r\n2024/3/9 星期六");
  EXPECT_EQ(TrayTip(L"", 1), L"欢迎使用《Zorvix安全卫士》\r\n 星期天");
}

TEST(TrayText, AddressAndItsMessage) {
  const uint8_t bytes[4] = {192, 168, 0, 255};
  EXPECT_EQ(AddressText(bytes), L"192.168.0.255");
  const uint8_t zero[4] = {0, 0, 0, 0};
  EXPECT_EQ(AddressText(zero), L"0.0.0.0");
  EXPECT_EQ(LocalIpMessage(L"10.1.2.3"),
            L"本机在局域网中的IP地址是：10.1.2.3    \r\n\r\n提示：IP地址已经复制到剪贴版中……");
}

TEST(TrayText, SocketLayerBelowOneOneOrWithoutSocketsIsRefused) {
  EXPECT_EQ(SocketLayerProblem(1, 0, 100).value_or(L""), L"Windows Sockets version 1.0 is not supported by winsock.dll ");
  EXPECT_EQ(SocketLayerProblem(0, 0, 0).value_or(L""), L"Windows Sockets version 0.0 is not supported by winsock.dll ");
  EXPECT_EQ(SocketLayerProblem(1, 1, 0).value_or(L""), L"This application requires a minimum of 1 supported sockets.");
  EXPECT_FALSE(SocketLayerProblem(1, 1, 32767));
  EXPECT_FALSE(SocketLayerProblem(2, 0, 1));
}

TEST(TrayText, DriveLetterIsTheCaptionsSecondCharacter) {
  EXPECT_EQ(DriveLetterOfCaption(L"【E】盘"), L'E');
  EXPECT_EQ(DriveLetterOfCaption(L"【j】盘"), L'j');
  EXPECT_EQ(DriveLetterOfCaption(L"【"), 0);
  EXPECT_EQ(DriveLetterOfCaption(L"【盘】"), 0);
}

TEST(TrayText, StartValueNamesTheProgramQuotedOrNotInAnyCase) {
  const std::wstring prog = L"C:\\Program Files\\Zorvix\\zorvix.exe";
  EXPECT_TRUE(NamesProgram(L"\"C:\\Program Files\\Zorvix\\zorvix.exe\"", prog));
  EXPECT_TRUE(NamesProgram(L"c:\\program files\\zorvix\\ZORVIX.EXE", prog));
  EXPECT_TRUE(NamesProgram(L"  \"C:\\Program Files\\Zorvix\\zorvix.exe\" ", prog));
  EXPECT_FALSE(NamesProgram(L"C:\\Other\\zorvix.exe", prog));
  EXPECT_FALSE(NamesProgram(L"C:\\Program Files\\Zorvix\\zorvix.exe.bak", prog));
  EXPECT_FALSE(NamesProgram(L"", prog));
  EXPECT_FALSE(NamesProgram(L"\"\"", L""));
}
