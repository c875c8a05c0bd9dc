#include "common/win/msgbox.h"

namespace common {
namespace {
std::wstring& Title() {
  static std::wstring title;
  return title;
}
MsgBoxHook& Hook() {
  static MsgBoxHook hook;
  return hook;
}
}  // namespace

void SetAppTitle(const std::wstring& title) { Title() = title; }
const std::wstring& AppTitle() { return Title(); }
void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

int MsgBox(HWND owner, const std::wstring& text, UINT flags, const std::wstring& title) {
  const std::wstring& caption = title.empty() ? Title() : title;
  if (Hook()) return Hook()(text, caption, flags);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace common
