#include "browser/tools/win/default_browser.h"

#include <array>
#include <optional>

#include "browser/app.h"
#include "browser/pages/page_rules.h"
#include "browser/tools/options.h"
#include "common/explorer_entries.h"
#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"

namespace corvane {
namespace {

constexpr wchar_t kSection[] = L"navigation";

struct Entry {
  const wchar_t* setting;
  const wchar_t* key;
};
// In the order they are written; put back in the reverse order.
constexpr std::array<Entry, 2> kEntries{{{L"open", L"HTTP\\shell\\open\\command"},
                                         {L"ddeexec", L"http\\shell\\open\\ddeexec\\Application"}}};

// ERROR_FILE_NOT_FOUND only when the key is absent: a key that cannot be opened is there all the same.
LONG OpenResult(HKEY root, const std::wstring& key) {
  HKEY h;
  LONG r = RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h);
  if (r == ERROR_SUCCESS) RegCloseKey(h);
  return r;
}

// The default value of the key as it is now; nullopt when it cannot be read.
std::optional<SavedValue> ReadValue(HKEY root, const std::wstring& key) {
  SavedValue v;
  if (LONG r = OpenResult(root, key); r != ERROR_SUCCESS) {
    if (r != ERROR_FILE_NOT_FOUND) return std::nullopt;
    // The highest key that is missing: everything from there on down is made by the command.
    v.state = SavedValue::kNoKey;
    size_t from = 0;
    for (;;) {
      size_t sep = key.find(L'\\', from);
      std::wstring part = key.substr(0, sep);
      if (OpenResult(root, part) == ERROR_FILE_NOT_FOUND || sep == std::wstring::npos) {
        v.createdKey = part;
        return v;
      }
      from = sep + 1;
    }
  }
  HKEY h;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0, size = 0;
  LONG r = RegQueryValueExW(h, nullptr, nullptr, &type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    v.data.assign(size, '\0');
    r = RegQueryValueExW(h, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(v.data.data()), &size);
    v.data.resize(size);
    v.type = type;
    v.state = SavedValue::kValue;
  }
  RegCloseKey(h);
  if (r == ERROR_FILE_NOT_FOUND) return SavedValue{};  // the key without the value
  return r == ERROR_SUCCESS ? std::optional<SavedValue>(v) : std::nullopt;
}

bool WriteValue(HKEY root, const std::wstring& key, DWORD type, const void* data, DWORD size) {
  HKEY h;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = RegSetValueExW(h, nullptr, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  RegCloseKey(h);
  return ok;
}

bool WriteString(HKEY root, const std::wstring& key, const std::wstring& text) {
  return WriteValue(root, key, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

bool Gone(LONG r) { return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND; }

bool Restore(HKEY root, const std::wstring& key, const SavedValue& v) {
  switch (v.state) {
    case SavedValue::kValue: return WriteValue(root, key, v.type, v.data.data(), DWORD(v.data.size()));
    case SavedValue::kNoValue: {
      HKEY h;
      LONG r = RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &h);
      if (r == ERROR_FILE_NOT_FOUND) return true;
      if (r != ERROR_SUCCESS) return false;
      r = RegDeleteValueW(h, nullptr);
      RegCloseKey(h);
      return Gone(r);
    }
    case SavedValue::kNoKey:
      return !v.createdKey.empty() && Gone(RegDeleteTreeW(root, v.createdKey.c_str())) &&
             Gone(RegDeleteKeyW(root, v.createdKey.c_str()));
  }
  return false;
}


// What SetNavigation writes into entry i.
std::wstring OurValue(size_t i, const std::wstring& exePath) {
  return i == 0 ? common::OpenCommand(exePath) : std::wstring(kBrowserTitle);
}

bool HoldsOurs(HKEY root, size_t i, const std::wstring& exePath) {
  auto now = common::QueryRegString(root, kEntries[i].key, L"");
  return now && common::EqualsNoCase(*now, OurValue(i, exePath));
}

}  // namespace

NavigationResult SetNavigation(const std::wstring& exePath, HKEY root) {
  // What was there before the first setting is kept; setting again keeps it.
  bool savedNow = false;
  if (!common::QuerySetting(kApp, kSection, kEntries[0].setting)) {
    for (const Entry& e : kEntries) {
      std::optional<SavedValue> before = ReadValue(root, e.key);
      if (!before || !common::SaveSetting(kApp, kSection, e.setting, FormatSaved(*before))) {
        common::DeleteSettingSection(kApp, kSection);
        return NavigationResult::kFailed;
      }
    }
    savedNow = true;
  }
  bool ok = true;
  for (size_t i = 0; ok && i < kEntries.size(); ++i) ok = WriteString(root, kEntries[i].key, OurValue(i, exePath));
  // Whatever was written before a failure is put back.
  if (!ok && savedNow) CancelNavigation(root, exePath);
  return ok ? NavigationResult::kDone : NavigationResult::kFailed;
}

NavigationResult CancelNavigation(HKEY root, const std::wstring& exe) {
  std::wstring exePath = exe.empty() ? common::ExePath() : exe;
  std::array<std::optional<std::wstring>, kEntries.size()> texts;
  for (size_t i = 0; i < kEntries.size(); ++i) texts[i] = common::QuerySetting(kApp, kSection, kEntries[i].setting);
  if (!texts[0] && !texts[1])
    return HoldsOurs(root, 0, exePath) ? NavigationResult::kOursUnsaved : NavigationResult::kNothingSaved;
  bool restored = true, damaged = false, takenOver = false;
  for (size_t i = kEntries.size(); i-- > 0;) {
    if (!texts[i]) continue;
    // A value another program has written since is its own now: putting ours back would undo it.
    if (!HoldsOurs(root, i, exePath)) {
      takenOver = true;
      continue;
    }
    std::optional<SavedValue> v = ParseSaved(*texts[i]);
    damaged |= !v;
    bool back = v && Restore(root, kEntries[i].key, *v);
    // What went back is no longer kept, so that a later try after a failure puts back only the rest.
    if (back) common::DeleteSetting(kApp, kSection, kEntries[i].setting);
    restored = restored && (back || !v);
  }
  // Kept after a failed write, so that a later try can still put it back; a damaged record never can.
  if (!restored) return NavigationResult::kFailed;
  common::DeleteSettingSection(kApp, kSection);
  if (damaged) return NavigationResult::kFailed;
  return takenOver ? NavigationResult::kTakenOver : NavigationResult::kDone;
}

void setnavigation(HWND owner, HKEY root) {
  if (SetNavigation(common::ExePath(), root) == NavigationResult::kFailed)
    common::MsgBox(owner, kSetNavigationFailed, MB_OK | MB_ICONWARNING);
}

void cancelnavigation(HWND owner, HKEY root) {
  switch (CancelNavigation(root)) {
    case NavigationResult::kFailed: common::MsgBox(owner, kCancelNavigationFailed, MB_OK | MB_ICONWARNING); break;
    case NavigationResult::kTakenOver: common::MsgBox(owner, kNavigationTakenOver, MB_OK | MB_ICONINFORMATION); break;
    case NavigationResult::kOursUnsaved: common::MsgBox(owner, kNavigationNotSaved, MB_OK | MB_ICONWARNING); break;
    default: break;
  }
}

}  // namespace corvane
