// The hourglass while a walk or a file operation runs. Setting the pointer once is not enough: the next
// mouse move asks the window under it for its pointer, so every window of the program answers
// WM_SETCURSOR with the hourglass while anything is busy.
#pragma once
#include <windows.h>

namespace sercavo {

// Busy from construction to destruction; nests.
class Busy {
 public:
  Busy();
  ~Busy();
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;
};

bool IsBusy();
// For WM_SETCURSOR: shows the hourglass and returns true while busy; false lets the window choose.
bool HoldBusyCursor();

}  // namespace sercavo
