// Tests: stand-ins for the sibling tools beside a program, there for the length of a test. Files that were
// there before are left as they were.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/win/system.h"

namespace suite {

class SiblingFiles {
 public:
  explicit SiblingFiles(std::vector<std::wstring> names, const std::wstring& folder = common::AppFolder()) {
    for (const std::wstring& name : names) {
      std::wstring path = folder + name;
      HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (f == INVALID_HANDLE_VALUE) continue;
      CloseHandle(f);
      made_.push_back(path);
    }
  }
  ~SiblingFiles() {
    for (const std::wstring& path : made_) DeleteFileW(path.c_str());
  }
  SiblingFiles(const SiblingFiles&) = delete;
  SiblingFiles& operator=(const SiblingFiles&) = delete;

 private:
  std::vector<std::wstring> made_;
};

}  // namespace suite
