// "清除所有列表" in the loaded guard: both list files and the whole settings section go, and the guard
// unloads to start again.
#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/clear_lists.h"
#include "guard/startup/win/process_window_fixture.h"
#include "guard/startup/win/environment.h"

using namespace zorvix;

namespace {

class ClearLists : public zorvix::testing::ProcessWindow {
 protected:
  void SetUp() override {
    Load();
    frm->formfire().AddProgram(L"c:\\kept.exe", 1);
    dir.Write(L"sys\\ask.dat", ";c:\\a.exe\r\n\r\n");
    dir.Write(L"sys\\regask.dat", ";hkey_current_user\\run\\a\r\n\r\n");
    LoadRegAskLists(dir.wpath());
  }
  suite::TempDir dir;
};

}  // namespace

TEST_F(ClearLists, CancelKeepsEverything) {
  suite::MsgBoxAnswers no(IDCANCEL);
  EXPECT_FALSE(ClearAllLists(*frm, dir.wpath()));
  ASSERT_EQ(no.shown().size(), 1u);
  EXPECT_EQ(no.shown()[0].text,
            L"您确实要清除所有的监控列表项目吗？\r\n\r\n提示：清除全部列表以后《Zorvix安全卫士》会立即重启……");
  EXPECT_EQ(no.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONQUESTION));
  EXPECT_TRUE(common::FileExists(AskFilePath(dir.wpath())));
  EXPECT_TRUE(common::QuerySetting(kGuardApp, kFireWallSection, L"ProgramCount"));
  EXPECT_FALSE(frm->unloadme);
}

TEST_F(ClearLists, OkLeavesNoListAndRestartsTheGuard) {
  suite::MsgBoxAnswers yes(IDOK);
  ASSERT_TRUE(ClearAllLists(*frm, dir.wpath()));
  EXPECT_FALSE(common::FileExists(AskFilePath(dir.wpath())));
  EXPECT_FALSE(common::FileExists(RegAskFilePath(dir.wpath())));
  EXPECT_FALSE(common::RegKeyExists(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\ZorvixSafe\\FireWall"));
  EXPECT_TRUE(AskLists().registry.allow.empty());
  EXPECT_TRUE(frm->formfire().monitor().programs().entries().empty());
  EXPECT_TRUE(frm->restartRequested());
  ASSERT_TRUE(suite::PumpUntil([&] { return frm->hwnd() == nullptr; }, 3000)) << "the next tick unloads it";
  SingleInstance next;
  EXPECT_TRUE(next.first()) << "a new guard may start at once";
}
