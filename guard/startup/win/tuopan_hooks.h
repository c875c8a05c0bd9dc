// What the tray menu opens in the process window's guard.
#pragma once
#include "guard/startup/win/tuopan.h"

namespace zorvix {
class FrmMain;
Tuopan::Hooks TrayHooks(FrmMain& frmMain);
}  // namespace zorvix
