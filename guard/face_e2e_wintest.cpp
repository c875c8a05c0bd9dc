// The real zorvix.exe under Wine: a left click on its tray icon shows the control centre.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "common/testing/win/child_process.h"
#include "guard/control/face_pages.h"
#include "guard/guard_state.h"
#include "guard/startup/tray_text.h"

using namespace zorvix;

TEST(FaceEndToEnd, TheTraysLeftClickShowsTheControlCentreWithItsSevenTabs) {
  suite::ChildProcess guard(L"1", suite::BinFolder() + L"zorvix.exe");
  ASSERT_TRUE(guard.started());
  HWND tray = nullptr, face = nullptr;
  ASSERT_TRUE(suite::PumpUntil([&] { return (tray = FindWindowW(L"ZorvixTuopan", kTrayCaption)) != nullptr; }, 15000));
  EXPECT_EQ(FindWindowW(L"ZorvixFormface", kFaceCaption), nullptr) << "not shown before the click";
  // What the shell posts for a left click on the icon.
  PostMessageW(tray, 0x205, 1, WM_LBUTTONDOWN);
  ASSERT_TRUE(suite::PumpUntil([&] {
    face = FindWindowW(L"ZorvixFormface", kFaceCaption);
    return face && IsWindowVisible(face);
  }, 10000));
  HWND tap = FindWindowExW(face, nullptr, WC_TABCONTROLW, nullptr);
  ASSERT_NE(tap, nullptr);
  EXPECT_EQ(SendMessageW(tap, TCM_GETITEMCOUNT, 0, 0), kPageCount);
  EXPECT_EQ(SendMessageW(tap, TCM_GETCURSEL, 0, 0), 0) << "on its first tab";

  // Closing it leaves the guard running; closing the hidden main window ends it.
  PostMessageW(face, WM_CLOSE, 0, 0);
  EXPECT_TRUE(suite::PumpUntil([] { return FindWindowW(L"ZorvixFormface", kFaceCaption) == nullptr; }, 5000));
  EXPECT_TRUE(guard.Running());
  PostMessageW(FindWindowW(L"ZorvixFrmMain", kMainCaption), WM_CLOSE, 0, 0);
  EXPECT_TRUE(guard.WaitExit(10000));
}
