// How a delete of a start-up value ended, and what the user is told when the value stays: the ask dialog's
// deny, its countdown and the control centre's delete all say the same.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zorvix {

enum class StartDelete {
  Deleted,   // saved to the file, then deleted
  Missing,   // not there (any more): nothing to do
  NotSaved,  // the file could not be written: the value stays
  Refused,   // the registry refused the delete (a standard user under HKEY_LOCAL_MACHINE): the value stays
};
// The registry refused to delete the value at location.
std::wstring DeleteStartFailedText(std::wstring_view valueName, std::wstring_view location);
// What the user is told when a value stays; nothing when it is gone.
std::optional<std::wstring> StartDeleteProblem(StartDelete result, std::wstring_view valueName,
                                               std::wstring_view location, std::wstring_view backupFile);

}  // namespace zorvix
