// The options the dialog edits, in their stored form, and how the default-browser registration keeps the
// values it replaces so that they can be put back (its command is common::OpenCommand).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr wchar_t kOptionsTitle[] = L"系统设置中心";

// The four options as the dialog shows them.
struct Options {
  std::wstring start;           // TextStart
  int startwindows = 0;         // 0: Optt(0), 1: Optt(1)
  std::optional<int> radio;     // CheckRadio; absent leaves the box as it is
  bool askOnExit = true;        // CheckQuit
};

// The stored texts ("myie"/"Start", "myie"/"startwindows", "myie"/"startRadio", "unload"/"askme"); absent
// values are nullopt.
struct StoredOptions {
  std::optional<std::wstring> start, startwindows, startRadio, askme;
};

Options LoadOptions(const StoredOptions& stored);
// The texts saved: startwindows "0"/"1", startRadio "0"/"1", askme 1 minus the box, Start as typed.
StoredOptions SaveOptions(const Options& options);

// A registry value as it was before the browser replaced it: its key missing (from `createdKey`, the
// highest key that had to be made, on down), the key there without the value, or the value's type and
// bytes.
struct SavedValue {
  enum State { kNoKey, kNoValue, kValue } state = kNoValue;
  std::wstring createdKey;
  uint32_t type = 0;
  std::string data;
};
// "0," + created key | "1" | "2," + type + "," + bytes in hex.
std::wstring FormatSaved(const SavedValue& value);
std::optional<SavedValue> ParseSaved(std::wstring_view text);

}  // namespace corvane
