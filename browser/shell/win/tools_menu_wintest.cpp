// The frame's way into its network tools and options: the meters at start-up, the tool windows, the
// options and the cleaner acting on the running frame, the default-browser commands.
#include "browser/shell/win/tools_menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "browser/shell/win/testing/frame_fixture.h"
#include "browser/tools/options.h"
#include "browser/tools/win/default_browser.h"
#include "browser/tools/win/formclear.h"
#include "browser/tools/win/formping.h"
#include "browser/tools/win/formsetup.h"
#include "browser/tools/win/speed_meter_view.h"
#include "common/explorer_entries.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/registry.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using common::ui::WindowText;

class ToolsMenu : public testing::Frame {
 protected:
  // The tool windows the frame owns now.
  std::vector<Formping*> ToolWindows() {
    struct Found {
      HWND owner;
      std::vector<Formping*> forms;
    } found{frame ? frame->hwnd() : nullptr, {}};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM lp) {
      auto* f = reinterpret_cast<Found*>(lp);
      auto* window = reinterpret_cast<common::ui::Window*>(GetWindowLongPtrW(w, GWLP_USERDATA));
      if (auto* form = dynamic_cast<Formping*>(window); form && GetWindow(w, GW_OWNER) == f->owner)
        f->forms.push_back(form);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found.forms;
  }
  int Count(const std::wstring& caption) {
    int n = 0;
    for (Formping* f : ToolWindows()) n += WindowText(f->hwnd()) == caption;
    return n;
  }
};

TEST_F(ToolsMenu, MetersAndToolWindowsComeFromTheFrame) {
  FrmMain& f = Start();
  EXPECT_EQ(WindowText(f.picDown()), kDownCaption);
  EXPECT_EQ(WindowText(f.picUp()), kUpCaption);
  f.SetTextUrl(L"http://127.0.0.1/a.htm");
  for (int id : {kSource, kSource, kPingTest, kIpConfig}) f.Command(id);
  // A new window each time, over the frame, with the browser's address.
  ASSERT_EQ(ToolWindows().size(), 4u);
  EXPECT_EQ(Count(kSourceCaption), 2);
  EXPECT_EQ(Count(kPingCaption), 1);
  EXPECT_EQ(Count(kIpconfigCaption), 1);
  for (Formping* form : ToolWindows()) {
    std::wstring caption = WindowText(form->hwnd());
    EXPECT_EQ(form->output().pid() != 0, caption != kSourceCaption) << caption;  // its command runs
    EXPECT_EQ(WindowText(form->Text2()), L"http://127.0.0.1/a.htm") << caption;
  }
  // They go with the frame, whose page they read.
  frame.reset();
  EXPECT_TRUE(ToolWindows().empty());
}

TEST_F(ToolsMenu, OptionsAndCleanerActOnTheRunningFrame) {
  common::SaveSetting(kApp, L"myie", L"1his_cap", L"页面一");
  common::SaveSetting(kApp, L"myie", L"1his_url", L"http://a.cn/");
  common::SaveSetting(kApp, L"CancelPage", L"Count", L"1");
  dir.Write(L"sys\\sites.txt", "startSite, https://start.example.cn\r\n");
  FrmMain& f = Start();
  ASSERT_EQ(GetMenuItemCount(f.cancelMenu()), 3);
  f.SetTextUrl(L"http://a.cn/x.htm");
  std::wstring portal;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* setup = dynamic_cast<Formsetup*>(&w);
    ASSERT_NE(setup, nullptr);
    common::ui::ClickControl(w.hwnd(), Formsetup::kCmd0 + 1);  // "使用默认页"
    portal = WindowText(setup->TextStart());
    common::ui::ClickControl(w.hwnd(), Formsetup::kCmd0);  // "使用当前页"
    common::ui::ClickControl(w.hwnd(), Formsetup::kOptt1);
    common::ui::ClickControl(w.hwnd(), Formsetup::kCommand1);
  });
  f.Command(kOptions);
  EXPECT_EQ(portal, L"https://start.example.cn/");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"Start"), L"http://a.cn/x.htm");
  // The current window stays in front without a restart.
  EXPECT_EQ(f.startwindows(), 1);
  int active = f.table().ActiveNumber();
  f.loadnewform(L"http://b.cn/");
  EXPECT_EQ(f.table().ActiveNumber(), active);

  // The undo history cleared: the frame's list and menu follow, so no later close writes it back.
  suite::MsgBoxAnswers answers;
  common::ui::SetModalHook([](common::ui::Window& w) {
    ASSERT_NE(dynamic_cast<Formclear*>(&w), nullptr);
    common::ui::ClickControl(w.hwnd(), Formclear::kChk0 + 8);
    common::ui::ClickControl(w.hwnd(), Formclear::kCommand1);
  });
  f.Command(kClearTraces);
  EXPECT_EQ(answers.shown().size(), 1u);
  EXPECT_TRUE(f.closedPages().Entry(1).caption.empty());
  EXPECT_EQ(GetMenuItemCount(f.cancelMenu()), 2);
}

TEST_F(ToolsMenu, DefaultBrowserCommandsFromTheMenu) {
  constexpr wchar_t kOpen[] = L"HTTP\\shell\\open\\command";
  common::DeleteSettingSection(kApp, L"navigation");
  std::wstring before = common::ReadRegString(HKEY_CLASSES_ROOT, kOpen, L"");
  FrmMain& f = Start();
  suite::MsgBoxAnswers answers;
  f.Command(kMakeDefault);
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kOpen, L""), common::OpenCommand(common::ExePath()));
  f.Command(kGiveDefaultBack);
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, kOpen, L""), before);
  EXPECT_TRUE(answers.shown().empty());
}

}  // namespace
}  // namespace corvane
