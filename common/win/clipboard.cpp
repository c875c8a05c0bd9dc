#include "common/win/clipboard.h"

#include <cstring>

namespace common {
namespace {
// Another program may hold the clipboard for a moment; try a few times.
bool OpenClipboardRetrying(HWND owner) {
  for (int i = 0; i < 10; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}
}  // namespace

bool SetClipboardText(HWND owner, const std::wstring& text) {
  if (!OpenClipboardRetrying(owner)) return false;
  EmptyClipboard();
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (void* p = mem ? GlobalLock(mem) : nullptr) {
    std::memcpy(p, text.c_str(), bytes);
    GlobalUnlock(mem);
    ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  }
  if (!ok && mem) GlobalFree(mem);
  CloseClipboard();
  return ok;
}

std::wstring GetClipboardText() {
  if (!OpenClipboardRetrying(nullptr)) return {};
  std::wstring text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      text = std::wstring(p, wcsnlen(p, GlobalSize(h) / sizeof(wchar_t)));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace common
