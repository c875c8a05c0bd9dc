#include "common/win/message_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/win/pump.h"

namespace {
// A top-level window built in code, as the programs build theirs: two edit boxes and a button "&Go".
class KeyWindow {
 public:
  KeyWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SuiteKeyWindow";
    RegisterClassW(&wc);
    top = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                          300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(top, GWLP_USERDATA, LONG_PTR(this));
    edit1 = Child(L"EDIT", L"", 0, 10);
    edit2 = Child(L"EDIT", L"", 0, 40);
    go = Child(L"BUTTON", L"&Go", 100, 70);
    SetForegroundWindow(top);
    SetFocus(edit1);
  }
  ~KeyWindow() { DestroyWindow(top); }

  // Posts a key to the focused control and lets the routing pump handle it.
  void Key(UINT message, WPARAM key) {
    PostMessageW(GetFocus() ? GetFocus() : top, message, key, message == WM_SYSCHAR ? (1 << 29) : 0);
    common::PumpMessages();
  }

  HWND top, edit1, edit2, go;
  std::vector<int> commands;

 private:
  HWND Child(const wchar_t* cls, const wchar_t* text, int id, int y) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, y, 120, 24, top,
                           HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
  }
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<KeyWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_COMMAND && self && HIWORD(wp) <= 1) self->commands.push_back(LOWORD(wp));  // clicks and accelerators
    return DefWindowProcW(h, m, wp, lp);
  }
};
}  // namespace

TEST(MessageLoop, TabMnemonicsEnterAndEscReachARegisteredWindowOnly) {
  KeyWindow w;
  ASSERT_EQ(GetFocus(), w.edit1);
  w.Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), w.edit1) << "an unregistered window keeps the old behaviour";

  common::SetDialogKeys(w.top);
  w.Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), w.edit2);
  w.Key(WM_SYSCHAR, 'g');
  w.Key(WM_KEYDOWN, VK_RETURN);
  w.Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(w.commands, (std::vector<int>{100, IDOK, IDCANCEL}));

  common::ClearDialogKeys(w.top);
  w.commands.clear();
  w.Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(w.commands.empty());
}

TEST(MessageLoop, FilterFirstThenAcceleratorsThenNavigation) {
  KeyWindow w;
  ACCEL keys[] = {{FVIRTKEY, VK_F5, 300}, {FVIRTKEY, VK_TAB, 301}};
  HACCEL accel = CreateAcceleratorTableW(keys, 2);
  common::SetDialogKeys(w.top, accel);
  std::vector<WPARAM> filtered;
  common::SetKeyFilter([&](MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam != VK_F6) return false;
    filtered.push_back(m.wParam);
    return true;
  });
  w.Key(WM_KEYDOWN, VK_F6);
  w.Key(WM_KEYDOWN, VK_F5);
  w.Key(WM_KEYDOWN, VK_TAB);
  common::SetKeyFilter(nullptr);
  EXPECT_EQ(filtered, std::vector<WPARAM>{VK_F6});
  EXPECT_EQ(w.commands, (std::vector<int>{300, 301}));
  EXPECT_EQ(GetFocus(), w.edit1) << "the accelerator took Tab before navigation";
  DestroyAcceleratorTable(accel);
}

TEST(MessageLoop, ModalLoopDisablesTheOwnerUntilTheDialogIsGone) {
  KeyWindow owner;
  HWND dialog = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner.top, nullptr,
                                nullptr, nullptr);
  bool ownerDisabledMeanwhile = false;
  struct Ctx {
    HWND dialog, owner;
    bool* seen;
  } ctx{dialog, owner.top, &ownerDisabledMeanwhile};
  SetPropW(dialog, L"ctx", &ctx);
  // A thread timer's message closes the dialog from inside the loop, as a user would.
  UINT_PTR t = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND d = FindWindowW(L"STATIC", L"modal");
    auto* c = static_cast<Ctx*>(GetPropW(d, L"ctx"));
    *c->seen = !IsWindowEnabled(c->owner);
    RemovePropW(d, L"ctx");
    DestroyWindow(d);
    KillTimer(nullptr, id);
  });
  common::RunModalLoop(dialog, owner.top);
  KillTimer(nullptr, t);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner.top));
}
