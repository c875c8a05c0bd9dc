#include "common/win/message_loop.h"

#include <algorithm>
#include <vector>

namespace common {
namespace {
struct KeyEntry {
  HWND top;
  HACCEL accel;
  bool navigate;
};

std::vector<KeyEntry>& Entries() {
  static std::vector<KeyEntry> entries;
  return entries;
}

std::function<bool(MSG&)>& Filter() {
  static std::function<bool(MSG&)> filter;
  return filter;
}

void DropEntry(HWND top) {
  auto& e = Entries();
  e.erase(std::remove_if(e.begin(), e.end(), [top](const KeyEntry& k) { return k.top == top || !IsWindow(k.top); }),
          e.end());
}

const KeyEntry* EntryOf(HWND top) {
  for (const auto& k : Entries())
    if (k.top == top) return &k;
  return nullptr;
}

bool IsKey(const MSG& msg) { return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST; }
}  // namespace

void SetDialogKeys(HWND top, HACCEL accel, bool navigate) {
  DropEntry(top);
  if (top) Entries().push_back({top, accel, navigate});
}

void ClearDialogKeys(HWND top) { DropEntry(top); }

bool HasDialogKeys(HWND top) { return top && IsWindow(top) && EntryOf(top); }

void SetKeyFilter(std::function<bool(MSG&)> filter) { Filter() = std::move(filter); }

bool PreTranslate(MSG& msg) {
  if (IsKey(msg) && Filter() && Filter()(msg)) return true;
  if (!msg.hwnd) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  const KeyEntry* k = EntryOf(top);
  if (!k) return false;
  // Copies: a handler run by the translation may change the entries.
  HACCEL accel = k->accel;
  bool navigate = k->navigate;
  if (accel && TranslateAcceleratorW(top, accel, &msg)) return true;
  return navigate && IsDialogMessageW(top, &msg);
}

int RunMessageLoop() {
  MSG msg;
  int r;
  while ((r = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return r == 0 ? int(msg.wParam) : -1;
}

void RunModalLoop(HWND dialog, HWND owner) {
  if (!dialog) return;
  if (!EntryOf(dialog)) SetDialogKeys(dialog);
  bool reenable = owner && IsWindowEnabled(owner);
  if (reenable) EnableWindow(owner, FALSE);
  MSG msg;
  while (IsWindow(dialog)) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(int(msg.wParam));
      break;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (reenable) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

}  // namespace common
