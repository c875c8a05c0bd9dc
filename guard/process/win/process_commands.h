// The process window's commands: menu bar, accelerators, buttons, the list's mouse handling, the lock
// and the file-information window.
#pragma once
#include <windows.h>

#include <functional>

#include "guard/process/win/forminfo.h"
#include "guard/process/win/process_host.h"

namespace zorvix {

class ProcessCommands {
 public:
  explicit ProcessCommands(ProcessHost& f);
  ~ProcessCommands();
  // Puts the menu bar on the window, routes its keys (accelerators, Tab, mnemonics) and watches the
  // list's mouse.
  void Attach();
  // Runs a command of the menu bar or a button; false when the id is not one.
  bool Command(int id);
  // Enter (IDOK) and Esc (IDCANCEL) of the window: Enter on a row opens its file information for the
  // keyboard; Esc closes it.
  void DialogKey(int id);

  void EndProcess();     // mnuEndPro, cmd[1]
  void DeleteProcess();  // mnuDelPro, cmd[2]
  void SetPriority(int item);
  void Suoding();        // "全部锁定"
  void TurnOff();
  void ToggleOnTop();

  // The list's mouse, in list client coordinates.
  void ListRightClick(POINT client);
  void ListLeftPress(POINT client);
  void ListMouseMove(POINT client);

  HMENU menu() const { return menu_; }
  HMENU processMenu() const;
  bool ItemEnabled(int id) const;
  bool ItemChecked(int id) const;
  bool ProcessMenuEnabled() const;
  Forminfo& forminfo() { return forminfo_; }
  // Shows a popup menu at a screen point (the real one tracks it; tests may watch instead).
  std::function<void(HMENU menu, POINT screen)> showPopup;
  // The confirmed half of "强制关机" (tests watch instead of shutting the machine down).
  std::function<void()> shutdown;
  // A command is running (it may be waiting with window messages running); others are ignored.
  bool busy() const { return busy_; }

 private:
  bool IsCommand(int id) const;
  void Run(int id);
  int SelectedRow() const;
  bool WindowGone() const;
  void ShowForminfo(POINT client);
  void ClearFilter();
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  ProcessHost& f_;
  HMENU menu_ = nullptr;
  HACCEL accel_ = nullptr;
  Forminfo forminfo_;
  POINT pressAt_{-1, -1};
  bool busy_ = false;
};

// Module whose resources hold the process window's menu and accelerators (the program itself).
HMODULE& MenuResources();

}  // namespace zorvix
