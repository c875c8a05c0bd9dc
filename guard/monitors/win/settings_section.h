// One section of the settings store as a key store.
#pragma once
#include <string>

#include "guard/monitors/program_table.h"

namespace zorvix {

class SettingsSection : public KeyStore {
 public:
  SettingsSection(std::wstring app, std::wstring section) : app_(std::move(app)), section_(std::move(section)) {}
  std::optional<std::wstring> Get(const std::wstring& key) const override;
  bool Set(const std::wstring& key, const std::wstring& value) override;
  bool Remove(const std::wstring& key) override;
  // The text values of the section in one pass of the registry key (other types are left out).
  std::vector<std::pair<std::wstring, std::wstring>> All() const override;
  // Deletes the whole section.
  bool Clear();

 private:
  std::wstring app_, section_;
};

}  // namespace zorvix
