// What the control centre reaches in the loaded guard.
#pragma once
#include "guard/control/win/formface.h"

namespace zorvix {
class FrmMain;
FaceLinks FaceLinksFor(FrmMain& frmMain);
}  // namespace zorvix
