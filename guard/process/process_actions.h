// Rules of the process window's actions that need no system: the priority items and the texts the
// user is asked or told.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

struct PriorityItem {
  const wchar_t* caption;
  unsigned long priorityClass;
  const wchar_t* rowText;  // the priority column text that puts the check mark on this item
};
// mnuSetProClassSub 0 to 5, highest first.
extern const std::array<PriorityItem, 6> kPriorityItems;
// The item whose row text equals the priority column, or -1 (an empty or unknown text marks none).
int PriorityItemFor(std::wstring_view rowText);

// The PID of a row's PID column; 0 for a text that is not a whole positive number.
uint32_t PidOf(std::wstring_view pidText);

std::wstring EndConfirmText(std::wstring_view name);
std::wstring DeleteConfirmText(std::wstring_view path);
std::wstring PriorityFailText(std::wstring_view name);
std::wstring CriticalRefusalText(std::wstring_view name);
std::wstring DeleteFailText(std::wstring_view path);

// Command lines of the shell commands. Each program is named by its full path in the Windows or system
// folder, so that a file of the same name beside the guard or in the current folder never runs instead.
std::wstring FolderSelectCommand(std::wstring_view windowsFolder, std::wstring_view path);
std::wstring KillExplorerCommand(std::wstring_view systemFolder);
// "打开explorer": the shell hidden, the shell shown, the registry editor.
std::vector<std::wstring> OpenExplorerCommands(std::wstring_view windowsFolder);

inline constexpr wchar_t kShutdownQuestion[] = L"您确认要关机吗？";
inline constexpr wchar_t kShutdownTitle[] = L"关机确认";
inline constexpr wchar_t kTipLine[] = L"提示：鼠标单击进程列表以后可以复制文件路径……";
inline constexpr wchar_t kWinlogonKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

}  // namespace zorvix
