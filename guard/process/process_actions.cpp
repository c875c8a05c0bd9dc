#include "guard/process/process_actions.h"

#include "common/path.h"
#include "common/text.h"

namespace zorvix {

const std::array<PriorityItem, 6> kPriorityItems{{
    {L"实时(&R)", 0x100, L"实时"},
    {L"高(&H)", 0x80, L"高"},
    {L"高于标准(&A)", 0x8000, L"较高"},
    {L"标准(&N)", 0x20, L"标准"},
    {L"低于标准(&B)", 0x4000, L"较低"},
    {L"低(&L)", 0x40, L"低"},
}};

int PriorityItemFor(std::wstring_view rowText) {
  for (size_t i = 0; i < kPriorityItems.size(); ++i)
    if (rowText == kPriorityItems[i].rowText) return int(i);
  return -1;
}

uint32_t PidOf(std::wstring_view pidText) {
  auto n = common::ParseNumber(pidText);
  if (!n || *n < 0 || *n > 4294967295.0 || *n != static_cast<double>(static_cast<uint64_t>(*n))) return 0;
  return static_cast<uint32_t>(*n);
}

std::wstring EndConfirmText(std::wstring_view name) {
  return L"您确实要结束进程【 " + std::wstring(name) + L" 】吗？    ";
}

std::wstring DeleteConfirmText(std::wstring_view path) {
  return L"您确定要结束进程，并且还要删除以下文件吗？    \r\n\r\n【 " + std::wstring(path) + L" 】";
}

std::wstring PriorityFailText(std::wstring_view name) {
  return L"无法为进程 " + std::wstring(name) + L" 设置优先级。";
}

std::wstring CriticalRefusalText(std::wstring_view name) {
  return L"进程【 " + std::wstring(name) + L" 】是系统关键进程，结束它会使系统立即停止，因此不能结束。";
}

std::wstring DeleteFailText(std::wstring_view path) {
  return L"无法删除文件【 " + std::wstring(path) + L" 】。";
}

namespace {
std::wstring Program(std::wstring_view folder, std::wstring_view file) {
  return common::QuoteArg(common::JoinPath(folder, file), common::Quoting::WhenNeeded);
}
}  // namespace

std::wstring FolderSelectCommand(std::wstring_view windowsFolder, std::wstring_view path) {
  return Program(windowsFolder, L"explorer.exe") + L" /select," + common::QuoteArg(path);
}

std::wstring KillExplorerCommand(std::wstring_view systemFolder) {
  return Program(systemFolder, L"tskill.exe") + L" explorer";
}

std::vector<std::wstring> OpenExplorerCommands(std::wstring_view windowsFolder) {
  std::wstring shell = Program(windowsFolder, L"explorer.exe");
  return {shell, shell, Program(windowsFolder, L"regedit.exe")};
}

}  // namespace zorvix
