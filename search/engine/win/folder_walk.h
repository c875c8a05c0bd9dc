// The depth-first folder walk of a search. It keeps its own stack, so folder depth costs no call depth,
// and it never descends into a directory reparse point (junctions and links can lead back into the tree).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace sercavo {

struct WalkHandlers {
  // Once per folder before its entries; path as walked (a reparse point is visited but not entered).
  std::function<void(const std::wstring& path, const FILETIME& modified)> visitFolder;
  // Each file: the folder with a trailing "\" and the entry.
  std::function<void(const std::wstring& folder, const WIN32_FIND_DATAW& entry)> file;
  // One message-pump step, after each entry but the first of a folder.
  std::function<void()> pump;
  std::function<bool()> stopRequested;
};

// Walks path (with or without a trailing "\"); false when it was stopped.
bool WalkFolder(const std::wstring& path, const WalkHandlers& on);

// Last-modified time of a folder or file; zero when it cannot be read.
FILETIME ModifiedTime(const std::wstring& path);

}  // namespace sercavo
