// Tests of the process window: the real program's menu resources and a loaded window per test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "common/testing/win/child_process.h"
#include "guard/process/win/process_commands.h"
#include "guard/process/win/process_menu_ids.h"
#include "guard/startup/guard_state.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix::testing {

// The menu bar and accelerators live in the program's resources, not in the test binary's.
inline void UseProgramResources() {
  static HMODULE program = LoadLibraryExW((suite::BinFolder() + L"zorvix.exe").c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  MenuResources() = program;
}

class ProcessWindow : public ::testing::Test {
 protected:
  void Load(const wchar_t* commandLine = L"2") {
    UseProgramResources();
    frm = std::make_unique<FrmMain>([](const std::wstring&) { return false; });
    ASSERT_TRUE(frm->Load(commandLine));
  }
  void TearDown() override {
    if (frm && frm->hwnd()) DestroyWindow(frm->hwnd());
    frm.reset();
    Guard() = GuardState{};
    suite::PumpFor(10);
  }
  // Selects the row of a PID; its index, or -1.
  int SelectPid(DWORD pid) {
    frm->table().ListProcess();
    int row = frm->table().HaveItem(pid);
    if (row >= 0) frm->lvw().Select(row);
    return row;
  }
  // Centre of a row in list client coordinates.
  POINT RowPoint(int row) {
    RECT r{LVIR_LABEL};
    SendMessageW(frm->lvw().hwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  bool OnTop() const { return GetWindowLongW(frm->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
  std::unique_ptr<FrmMain> frm;
};

}  // namespace zorvix::testing
