// What the process window's commands reach in the window that holds them (the guard's frame, which
// implements it): the lower parts know this much of the frame and no more.
#pragma once
#include <windows.h>

#include "guard/process/win/process_list.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/process_table.h"

namespace zorvix {

class ProcessHost {
 public:
  // The window the commands act in and own their message boxes by.
  virtual HWND frame() const = 0;
  virtual ProcessTable& table() = 0;
  virtual ProcessList& lvw() = 0;
  virtual ProcessSystem& system() = 0;
  // "刷新": the processes listed again now.
  virtual void RefreshTable() = 0;
  // The box "隐藏通过数字签名认证的进程" set by code, as a click would.
  virtual void SetChk(bool on) = 0;

 protected:
  ~ProcessHost() = default;
};

}  // namespace zorvix
