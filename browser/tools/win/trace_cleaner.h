// The trace cleaner's steps carried out: registry keys, files in the known folders, the browser's history
// settings and the control's cookies.
#pragma once
#include <windows.h>

#include <vector>

#include "browser/tools/trace_plan.h"

namespace corvane {

// The shell's known folders for history, recent documents and cookies, and the Windows folder.
TraceFolders KnownTraceFolders();

// Runs every action (a failing one does not stop the others) and returns the boxes whose step failed.
// A folder, key or file that is not there is no failure. Keys are taken under `root`.
std::vector<int> RunTracePlan(const std::vector<TraceAction>& plan, HKEY root = HKEY_CURRENT_USER);

}  // namespace corvane
