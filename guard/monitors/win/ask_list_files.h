// The guard's decision lists in memory and their files "\sys\ask.dat" and "\sys\regask.dat".
#pragma once
#include <string>

#include "guard/monitors/ask_lists.h"

namespace zorvix {

struct DecisionLists {
  AskFileLists process;   // "\sys\ask.dat"
  AskFileLists registry;  // "\sys\regask.dat"
};
// The guard-wide lists.
DecisionLists& AskLists();

// folder: the program's folder (default: the running program's).
std::wstring AskFilePath(const std::wstring& folder = L"");
std::wstring RegAskFilePath(const std::wstring& folder = L"");

// Empty the lists, then read them from their file. False when the file exists but could not be read:
// the lists are then empty and must not be written back over the file.
bool LoadAskLists(const std::wstring& folder = L"");
bool LoadRegAskLists(const std::wstring& folder = L"");
// Write the lists to their file (ANSI code page), replacing it. False when it could not be written.
bool SaveAskLists(const std::wstring& folder = L"");
bool SaveRegAskLists(const std::wstring& folder = L"");

}  // namespace zorvix
