#include "search/engine/win/busy.h"

namespace sercavo {
namespace {
int depth = 0;
HCURSOR before = nullptr;
}  // namespace

Busy::Busy() {
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (depth++ == 0) before = old;
}

Busy::~Busy() {
  if (--depth == 0) SetCursor(before ? before : LoadCursorW(nullptr, IDC_ARROW));
}

bool IsBusy() { return depth > 0; }

bool HoldBusyCursor() {
  if (!IsBusy()) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace sercavo
