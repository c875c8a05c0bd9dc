// Modal windows built in code: the owner is disabled until the window is gone. Tests set a hook that
// receives each modal window as soon as it shows and answers it, so that no test waits for a person.
#pragma once
#include <functional>

#include "common/win/ui/window.h"

namespace common::ui {

using ModalHook = std::function<void(Window& dialog)>;
void SetModalHook(ModalHook hook);

// Sets the hook for as long as it lives.
class ModalHookScope {
 public:
  explicit ModalHookScope(ModalHook hook) { SetModalHook(std::move(hook)); }
  ~ModalHookScope() { SetModalHook(nullptr); }
  ModalHookScope(const ModalHookScope&) = delete;
  ModalHookScope& operator=(const ModalHookScope&) = delete;
};

// Shows the created window (one already shown stays as it is) and runs messages until it is destroyed.
void RunModal(Window& dialog, HWND owner);

// A push button or check box by control id.
void ClickControl(HWND dialog, int id);

}  // namespace common::ui
