// The file menu's launcher items, shared by the main window and the text search window.
#pragma once
#include <windows.h>

namespace sercavo {

inline constexpr int kLauncherCount = 6;
// Appends "显示桌面" ... "电子邮件" with ids firstId .. firstId + 5.
void AppendLaunchers(HMENU menu, int firstId);
// Runs launcher index 0..5 (in menu order).
void RunLauncher(int index);

}  // namespace sercavo
