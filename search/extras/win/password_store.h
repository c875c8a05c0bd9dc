// Where the password is kept: value "pd" of a section named by a number of this installation, chosen at
// random the first time and kept in the settings store.
#pragma once
#include <string>

namespace sercavo {

std::wstring PasswordSection();
std::wstring ReadPasswordValue();
bool WritePasswordValue(const std::wstring& value);

// Set by a good login or a newly saved password, cleared by a failed login (`LoggedIn`).
bool& LoggedIn();

}  // namespace sercavo
