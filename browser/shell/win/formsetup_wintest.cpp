#include "browser/tools/win/formsetup.h"

#include <gtest/gtest.h>

#include "browser/pages/page_rules.h"
#include "browser/shell/win/frm_main.h"
#include "browser/shell/win/testing/fake_engine.h"
#include "common/testing/temp_dir.h"
#include "common/win/settings_store.h"

namespace corvane {
namespace {
using common::GetSetting;

bool Checked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class Setup : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    for (const wchar_t* s : {L"myie", L"unload", L"first"}) common::DeleteSettingSection(kApp, s);
  }
};

TEST_F(Setup, FirstStartShowsTheDefaults) {
  Formsetup form;
  ASSERT_TRUE(form.Create(nullptr));
  EXPECT_EQ(common::ui::WindowText(form.hwnd()), L"系统设置中心");
  EXPECT_TRUE(Checked(form.Optt(0)));
  EXPECT_FALSE(Checked(form.Optt(1)));
  EXPECT_TRUE(Checked(form.CheckQuit()));
  EXPECT_FALSE(Checked(form.CheckRadio()));
  EXPECT_EQ(common::ui::WindowText(form.TextStart()), L"");
}

TEST_F(Setup, SavedValuesComeBackAndAskmeIsInverted) {
  int inMemory = -1;
  {
    Formsetup form({[] { return std::wstring(L"http://now.cn/"); }, [&](int v) { inMemory = v; }});
    ASSERT_TRUE(form.Create(nullptr));
    form.cmd_Click(0);
    EXPECT_EQ(common::ui::WindowText(form.TextStart()), L"http://now.cn/");
    SendMessageW(form.Optt(1), BM_CLICK, 0, 0);
    SendMessageW(form.CheckRadio(), BM_CLICK, 0, 0);
    SendMessageW(form.CheckQuit(), BM_CLICK, 0, 0);  // cleared: exit without asking
    SendMessageW(form.hwnd(), WM_COMMAND, Formsetup::kCommand1, 0);
    EXPECT_EQ(form.hwnd(), nullptr);
  }
  EXPECT_EQ(inMemory, 1);
  EXPECT_EQ(GetSetting(kApp, L"myie", L"Start"), L"http://now.cn/");
  EXPECT_EQ(GetSetting(kApp, L"myie", L"startwindows"), L"1");
  EXPECT_EQ(GetSetting(kApp, L"myie", L"startRadio"), L"1");
  EXPECT_EQ(GetSetting(kApp, L"unload", L"askme"), L"1");
  Formsetup again;
  ASSERT_TRUE(again.Create(nullptr));
  EXPECT_TRUE(Checked(again.Optt(1)));
  EXPECT_TRUE(Checked(again.CheckRadio()));
  EXPECT_FALSE(Checked(again.CheckQuit()));
  EXPECT_EQ(common::ui::WindowText(again.TextStart()), L"http://now.cn/");
  SendMessageW(again.CheckQuit(), BM_CLICK, 0, 0);  // checked: ask every time
  again.cmd_Click(2);
  again.Command1_Click();
  EXPECT_EQ(GetSetting(kApp, L"unload", L"askme"), L"0");
  EXPECT_EQ(GetSetting(kApp, L"myie", L"Start"), L"about:blank");
}

TEST_F(Setup, CancelSavesNothing) {
  common::SaveSetting(kApp, L"myie", L"Start", L"http://kept.cn/");
  Formsetup form({{}, {}, [] { return L"http://portal.cn/"; }});
  ASSERT_TRUE(form.Create(nullptr));
  form.cmd_Click(1);
  EXPECT_EQ(common::ui::WindowText(form.TextStart()), L"http://portal.cn/");
  SendMessageW(form.hwnd(), WM_COMMAND, Formsetup::kCommand2, 0);
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_EQ(GetSetting(kApp, L"myie", L"Start"), L"http://kept.cn/");
  EXPECT_FALSE(common::QuerySetting(kApp, L"unload", L"askme").has_value());
}

TEST_F(Setup, HomePageStoredAsTyped) {
  Formsetup form;
  ASSERT_TRUE(form.Create(nullptr));
  SetWindowTextW(form.TextStart(), L"  www.a.cn  ");
  form.Command1_Click();
  EXPECT_EQ(GetSetting(kApp, L"myie", L"Start"), L"  www.a.cn  ");
}

// An empty or blank home page never breaks the start: the frame opens the blank page.
TEST_F(Setup, EmptyOrBlankHomePageStartsBlank) {
  for (const wchar_t* home : {L"", L"about:blank"}) {
    common::SaveSetting(kApp, L"first", L"load", L"SoftLoad");
    common::SaveSetting(kApp, L"unload", L"askme", L"1");
    Formsetup form;
    ASSERT_TRUE(form.Create(nullptr));
    SetWindowTextW(form.TextStart(), home);
    form.Command1_Click();
    suite::TempDir dir;
    FrmMain frame(FrameOptions{dir.wpath(), testing::FakeEngines(), false});
    ASSERT_TRUE(frame.Load(L""));
    ASSERT_EQ(frame.table().count(), 1);
    auto& engine = static_cast<testing::FakeEngine&>(frame.PageAt(0)->Web());
    EXPECT_EQ(engine.navigations, std::vector<std::wstring>{L"about:blank"}) << home;
    EXPECT_EQ(common::ui::WindowText(frame.hwnd()), kBrowserTitle);
  }
}

}  // namespace
}  // namespace corvane
