// Main of every test binary. On Windows it prepares COM and the common controls and answers every
// message box with OK unless a test says otherwise, so that no test waits for a person.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "common/testing/win/msgbox_answers.h"
#endif

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  testing::UnitTest::GetInstance()->listeners().Append(new suite::MsgBoxResetListener);
#endif
  return RUN_ALL_TESTS();
}
