#include "common/win/ui/form.h"

#include <gtest/gtest.h>

#include "common/win/message_loop.h"
#include "common/win/ui/placement.h"

namespace {
class Plain : public common::ui::Window {};
}  // namespace

TEST(Form, ADialogOfItsSizeOverItsOwnerWithItsKeysAndControlsInTwips) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 40, 40, 800, 600, nullptr, nullptr, nullptr, nullptr);
  Plain dialog;
  ASSERT_TRUE(common::ui::CreateForm(dialog, L"CommonFormTest", L"标题", 4800, 1800, owner));
  EXPECT_EQ(common::ui::WindowText(dialog.hwnd()), L"标题");
  EXPECT_EQ(GetWindow(dialog.hwnd(), GW_OWNER), owner);
  EXPECT_TRUE(GetWindowLongW(dialog.hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(common::HasDialogKeys(dialog.hwnd()));  // Tab, Enter and Esc work from the start
  RECT r, want = common::ui::PlacedOver(owner, common::ui::Twips(owner, 4800), common::ui::Twips(owner, 1800));
  GetWindowRect(dialog.hwnd(), &r);
  EXPECT_EQ(r.left, want.left);
  EXPECT_EQ(r.top, want.top);
  EXPECT_EQ(r.right - r.left, common::ui::Twips(owner, 4800));
  HWND button = common::ui::Put(dialog.hwnd(), L"BUTTON", L"取消(&C)", BS_PUSHBUTTON, 7, 1700, 750, 1200, 380);
  EXPECT_EQ(GetDlgItem(dialog.hwnd(), 7), button);
  EXPECT_EQ(HFONT(SendMessageW(button, WM_GETFONT, 0, 0)), common::ui::UiFontOf(button));
  GetWindowRect(button, &r);
  MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, common::ui::Twips(dialog.hwnd(), 1700));
  EXPECT_EQ(r.bottom - r.top, common::ui::Twips(dialog.hwnd(), 380));
  dialog.Destroy();
  DestroyWindow(owner);
}
