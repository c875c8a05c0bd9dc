// Tests of the process window: the real program's menu resources and a loaded window per test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "common/testing/win/child_process.h"
#include "common/win/pump.h"
#include "guard/process/win/fake_process_system.h"
#include "guard/process/win/process_commands.h"
#include "guard/process/win/process_menu_ids.h"
#include "guard/process/win/process_system.h"
#include "guard/guard_state.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix::testing {

// The menu bar and accelerators live in the program's resources, not in the test binary's.
inline void UseProgramResources() {
  static HMODULE program = LoadLibraryExW((suite::BinFolder() + L"zorvix.exe").c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  MenuResources() = program;
}

inline std::optional<std::wstring> NoSigner(const std::wstring&) { return std::nullopt; }

// The clipboard's text; nullopt when the clipboard could not be opened or holds no text, so that a
// check against it fails then.
inline std::optional<std::wstring> ClipboardText() {
  bool opened = false;
  for (int i = 0; i < 50 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
  if (!opened) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text = std::wstring(p, wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

class ProcessWindow : public ::testing::Test {
 protected:
  void Load(const wchar_t* commandLine = L"2", ProcessSystem& system = RealProcessSystem()) {
    UseProgramResources();
    frm = std::make_unique<FrmMain>(NoSigner, system);
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
  // A key posted to the focused control and handled by the program's routing (Alt+letter as WM_SYSCHAR).
  static void Key(UINT message, WPARAM code) {
    PostMessageW(GetFocus(), message, code, message == WM_SYSCHAR ? (1 << 29) : 1);
    common::PumpMessages();
  }
  std::unique_ptr<FrmMain> frm;
};

}  // namespace zorvix::testing
