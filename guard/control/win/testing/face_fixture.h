// Test support of the control centre: scratch registry keys in every place a page reads, and a window
// built on them.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/pump.h"
#include "guard/control/win/formface.h"
#include "guard/monitors/win/startup_backup.h"

namespace test_support {

inline constexpr wchar_t kScratch[] = L"Software\\ZorvixControlTest";
inline const std::wstring kScratchRun = std::wstring(kScratch) + L"\\Run";
inline const std::wstring kScratchUninstall = std::wstring(kScratch) + L"\\Uninstall";

// Removes the scratch keys (both machine views and the user's) before and after a test.
class ScratchKeys {
 public:
  ScratchKeys() { Clear(); }
  ~ScratchKeys() { Clear(); }
  static void Clear() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY h = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &h) == ERROR_SUCCESS) {
        RegDeleteTreeW(h, L"ZorvixControlTest");
        RegCloseKey(h);
      }
    }
  }
  // Writes a string value in a view (KEY_WOW64_64KEY or KEY_WOW64_32KEY).
  static bool Write(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data,
                    REGSAM view = KEY_WOW64_64KEY, DWORD type = REG_SZ) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return false;
    LONG r = RegSetValueExW(h, name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.c_str()), DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return r == ERROR_SUCCESS;
  }
  static bool Exists(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view = KEY_WOW64_64KEY) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &h) != ERROR_SUCCESS) return false;
    bool there = RegQueryValueExW(h, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(h);
    return there;
  }
};

// A control centre on the scratch keys; message boxes are answered OK unless queued otherwise.
class FaceTest : public testing::Test {
 protected:
  FaceTest() {
    links.startupLocations = {{zorvix::RegRoot::CurrentUser, kScratchRun},
                              {zorvix::RegRoot::LocalMachine, kScratchRun}};
    links.uninstallSources = zorvix::UninstallSources(kScratchUninstall);
    links.icon = LoadIconW(nullptr, IDI_APPLICATION);
    links.startupBackup = zorvix::StartupBackupPath(files.wpath());
    links.start = [this](const std::wstring& line) {
      started.push_back(line);
      return true;
    };
    links.shellOpen = [this](const std::wstring& file) {
      opened.push_back(file);
      return true;
    };
  }
  ~FaceTest() override {
    if (face) face->Unload();
  }
  zorvix::Formface& Open(int position) {
    face = std::make_unique<zorvix::Formface>(links);
    EXPECT_TRUE(face->Load());
    face->SelectTab(position);
    return *face;
  }
  // The texts of a row's columns.
  std::vector<std::wstring> Row(int row, int columns) {
    std::vector<std::wstring> out;
    for (int c = 0; c < columns; ++c) out.push_back(face->lvw().Text(row, c));
    return out;
  }
  int FindRow(int column, const std::wstring& text) {
    for (int i = 0; i < face->lvw().Count(); ++i)
      if (face->lvw().Text(i, column) == text) return i;
    return -1;
  }

  ScratchKeys scratch;
  suite::TempDir files;  // the program's folder for the files the window writes
  suite::MsgBoxAnswers answers;
  zorvix::FaceLinks links;
  std::unique_ptr<zorvix::Formface> face;
  std::vector<std::wstring> started, opened;
};

}  // namespace test_support
