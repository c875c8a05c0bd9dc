// The value lister of the start-up locations: reads every value of a key, names of any length, in either
// registry view, and hands each to a sink (the monitor's queue, or a list that shows them).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "guard/monitors/start_delete.h"
#include "guard/monitors/startup_monitor.h"

namespace zorvix {

struct RunValue {
  RegRoot root;
  RegView view;
  std::wstring key;       // as opened in its view
  std::wstring name;      // empty for the unnamed value
  DWORD type;
  std::wstring data;      // the data as text: strings (expanded), numbers, hexadecimal bytes, lines
  std::wstring program;   // the program text: the data, a bare file name placed in its system folder
  std::wstring location;  // RunLocation
};
using RunValueSink = std::function<void(const RunValue&)>;

// The views in which a root is read: HKEY_LOCAL_MACHINE in both, the others as they are.
std::vector<RegView> ViewsOf(RegRoot root);
// Lists the values of one key in one view; a key that cannot be opened lists nothing.
void ListRunValues(RegRoot root, const std::wstring& key, RegView view, const RunValueSink& sink);
// Lists every value of the locations, in order, each root in its views.
void ListStartupValues(const std::vector<WatchedLocation>& locations, const RunValueSink& sink);
// The registry's delete of a value (tests refuse it as Windows does for a standard user).
using RegValueDelete = LONG(WINAPI*)(HKEY key, LPCWSTR name);
// Adds the value to the backup file, then deletes it in the view it was read in. A value that could not be
// saved is not deleted.
StartDelete DeleteStartValue(RegRoot root, const std::wstring& key, RegView view, const std::wstring& name,
                             const std::wstring& backupFile, RegValueDelete deleteValue = RegDeleteValueW);
// The location of a value as the user reads it: root name, key path in the native view, "\", value name
// ("(预设值)" for the unnamed one).
std::wstring ShownLocation(RegRoot root, const std::wstring& key, RegView view, const std::wstring& name);

}  // namespace zorvix
