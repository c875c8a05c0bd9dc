// The program-wide state of a search and of the file operations, owned by the main window's module.
#pragma once
#include <cstdint>
#include <string>

#include "search/engine/search_rules.h"

namespace sercavo {

// What the copy window does with the selected rows (FileOpKind).
enum FileOpKind : int16_t { kFileOpCopy = 1, kFileOpMove = 2, kFileOpDelete = 3 };

struct SearchState {
  int16_t searchMode = kName;  // SearchMode
  std::wstring searchKeyword;  // SearchKeyword
  bool stopRequested = false;  // StopRequested
  bool walking = false;        // a name or text search is walking folders: never two at once
  int32_t foundCount = 0;      // FoundCount
  int32_t scannedCount = 0;    // ScannedCount
  ShieldFlags shieldFlags;     // ShieldFlags
  KeywordHistory keywordHistory;
  int16_t fileOpKind = 0;     // FileOpKind
  std::wstring targetFolder;  // TargetFolder
};
SearchState& State();

}  // namespace sercavo
