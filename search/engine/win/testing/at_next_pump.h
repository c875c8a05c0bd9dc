// Tests: runs a function at the next message-pump step, e.g. the first one of a walk.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>

namespace sercavo::test_support {

class AtNextPump {
 public:
  explicit AtNextPump(std::function<void()> f) : f_(std::move(f)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SercavoTestAtNextPump";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PostMessageW(hwnd_, WM_APP, 0, 0);
  }
  ~AtNextPump() { DestroyWindow(hwnd_); }
  bool ran() const { return ran_; }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<AtNextPump*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (msg == WM_APP && self && !self->ran_) {
      self->ran_ = true;
      self->f_();
      return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
  }
  std::function<void()> f_;
  HWND hwnd_ = nullptr;
  bool ran_ = false;
};

}  // namespace sercavo::test_support
