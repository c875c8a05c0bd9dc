// Queries on one process by PID.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix {

// Opens for querying: full query and read rights, or limited query rights when those are refused
// (elevated and protected processes). Null when neither works.
HANDLE OpenForQuery(DWORD pid);
std::wstring ProcessImagePath(HANDLE process);
// The priority text of the process ("" on failure).
std::wstring GetProClass(DWORD pid);
bool SetProClass(DWORD pid, DWORD priorityClass);
// Physical memory in use, in whole MB.
std::wstring GetUsedMemoryMB();
// Full path for a bare file name: the Windows folder's file when it exists and is over 10 bytes,
// otherwise the system folder's.
std::wstring ResolveBareName(const std::wstring& name);

}  // namespace zorvix
