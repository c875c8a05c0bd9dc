// Modal windows built in code: the owner is disabled until the window is gone. Tests set a hook that
// receives each modal window as soon as it shows and answers it, so that no test waits for a person.
#pragma once
#include <functional>

#include "common/win/ui/window.h"

namespace corvane {

using ModalHook = std::function<void(common::ui::Window& dialog)>;
void SetModalHook(ModalHook hook);

// Shows the created window and runs messages until it is destroyed.
void RunModal(common::ui::Window& dialog, HWND owner);

// A push button or check box by control id.
void ClickControl(HWND dialog, int id);

}  // namespace corvane
