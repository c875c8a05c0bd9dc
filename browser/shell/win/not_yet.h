// The answer of a command whose window this version does not have yet.
#pragma once
#include <windows.h>

#include "common/win/msgbox.h"

namespace corvane {

inline void NotYetAvailable(HWND owner, const std::wstring& what) {
  common::MsgBox(owner, L"“" + what + L"”在本版本中尚未提供。", MB_OK | MB_ICONINFORMATION);
}

}  // namespace corvane
