// The guard's decision lists in memory and their files "\sys\ask.dat" and "\sys\regask.dat".
#pragma once
#include <optional>
#include <set>
#include <string>

#include "common/text_codec.h"
#include "common/win/text_file.h"
#include "guard/monitors/ask_lists.h"

namespace zorvix {

// What the last read of a list file found: the form to write it back in, and whether it may be written
// over (a file that was not read whole and exactly never is).
struct ListFileState {
  common::ReadStatus status = common::ReadStatus::kMissing;
  common::TextFormat format;  // a new file is in the ANSI code page
  bool exact = true;
  bool writable() const;
};

struct DecisionLists {
  AskFileLists process;   // "\sys\ask.dat"
  AskFileLists registry;  // "\sys\regask.dat"
  ListFileState processFile, registryFile;
  std::set<std::wstring> told;  // entries the user was told cannot be kept
};
// The guard-wide lists.
DecisionLists& AskLists();

// A list file may be no larger: one past it is not read (nor written over).
inline constexpr uint64_t kListFileCap = common::kSmallFileCap;

// folder: the program's folder (default: the running program's).
std::wstring AskFilePath(const std::wstring& folder = L"");
std::wstring RegAskFilePath(const std::wstring& folder = L"");

// Reads the lists from their file; this run's entries stay. False when the file exists but could not be
// read whole and exactly: it must then not be written over (the lists hold what could be read).
bool LoadAskLists(const std::wstring& folder = L"");
bool LoadRegAskLists(const std::wstring& folder = L"");
// Writes the lists to their file in the form it was read in, replacing it. False when it was not
// written: the file was not read whole, a character has no form there, or the write failed.
bool SaveAskLists(const std::wstring& folder = L"");
bool SaveRegAskLists(const std::wstring& folder = L"");

// Why a list file was not read, for the user; nullopt when it was read (or is not there).
std::optional<std::wstring> ListFileProblem(const std::wstring& path, const ListFileState& state);

// A lasting decision of a registry ask: the file is read again, the location added to its allow or deny
// line and the file written. A location the file cannot keep holds for this run only; the text telling the
// user so is returned the first time for that location, nullopt otherwise.
std::optional<std::wstring> RecordRegDecision(const std::wstring& location, bool allow,
                                              const std::wstring& folder = L"");

}  // namespace zorvix
