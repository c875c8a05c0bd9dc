#include "browser/tools/ping_target.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PingHost, CutFromAddresses) {
  EXPECT_EQ(CutHost(L"http://www.example.com"), L"www.example.com");
  EXPECT_EQ(CutHost(L"http://www.example.com/a/b.htm"), L"www.example.com");
  EXPECT_EQ(CutHost(L"https://www.example.com/"), L"www.example.com");
  EXPECT_EQ(CutHost(L"www.example.com"), L"www.example.com");  // no scheme: nothing is cut off the front
  EXPECT_EQ(CutHost(L"www.example.com/x"), L"www.example.com");
  EXPECT_EQ(CutHost(L"http://user:pw@host.cn:8080/p?q#f"), L"host.cn");
  EXPECT_EQ(CutHost(L"http://host.cn?q=/x"), L"host.cn");
  EXPECT_EQ(CutHost(L"http://[2001:db8::1]:80/"), L"2001:db8::1");
  EXPECT_EQ(CutHost(L"fe80::1%12"), L"fe80::1%12");
  EXPECT_EQ(CutHost(L"http://"), L"");
  EXPECT_EQ(CutHost(L"http://www."), L"www.");
}

TEST(PingHost, NamesAndAddressesAccepted) {
  for (const wchar_t* ok : {L"http://www.example.com/", L"localhost", L"a-b.c-d.cn", L"www.", L"127.0.0.1",
                            L"http://192.168.1.254/index.htm", L"::1", L"2001:db8::8a2e:370:7334",
                            L"1:2:3:4:5:6:7:8", L"::ffff:192.0.2.1", L"fe80::1%12", L"http://[::1]/", L"xn--fiq228c.com"})
    EXPECT_TRUE(PingHostOf(ok).has_value()) << ok;
  EXPECT_EQ(PingHostOf(L"http://127.0.0.1/"), L"127.0.0.1");
}

TEST(PingHost, AnythingElseRejected) {
  for (const wchar_t* bad :
       {L"http://x&del /q %USERPROFILE%\\*", L"http://a|b", L"host&calc", L"\"host\"", L"a b", L"%COMSPEC%",
        L"host;rm", L"host>out", L"-t", L"-n 100000 x", L"http://-l/", L"a..b", L".a", L"", L"http://",
        L"256.1.1.1", L"1.2.3", L"1.2.3.4.5", L"12345", L"a_b.com", L"x`y", L"中文.com", L"1:2:3:4:5:6:7:8:9",
        L"1::2::3", L"fe80::1%eth0", L"::1%", L"12345::", L"::g", L"\tlocalhost", L"localhost\n"})
    EXPECT_FALSE(PingHostOf(bad).has_value()) << bad;
  EXPECT_FALSE(IsHostName(std::wstring(64, L'a') + L".com"));
  EXPECT_TRUE(IsHostName(std::wstring(63, L'a') + L".com"));
  std::wstring longName;
  for (int i = 0; i < 64; ++i) longName += L"abc.";
  EXPECT_FALSE(IsHostName(longName + L"com"));
}

TEST(PingHost, AddressForms) {
  EXPECT_TRUE(IsIPv4(L"0.0.0.0"));
  EXPECT_TRUE(IsIPv4(L"255.255.255.255"));
  EXPECT_FALSE(IsIPv4(L"1.2.3.04x"));
  EXPECT_FALSE(IsIPv4(L"1.2.3."));
  EXPECT_TRUE(IsIPv6(L"::"));
  EXPECT_TRUE(IsIPv6(L"1::"));
  EXPECT_TRUE(IsIPv6(L"1:2:3:4:5:6:1.2.3.4"));
  EXPECT_FALSE(IsIPv6(L"1:2:3:4:5:6:7:1.2.3.4"));
  EXPECT_FALSE(IsIPv6(L":1"));
  EXPECT_FALSE(IsIPv6(L"1:2:3:4:5:6:7:8::"));
  EXPECT_FALSE(IsIPv6(L"::1.2.3"));
}

}  // namespace
}  // namespace corvane
