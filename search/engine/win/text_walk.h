// The text search over a folder tree: the files the type and size boxes let through are read, decoded in
// their own encoding and tested for the text; a replace rewrites the hits in place.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace sercavo {

struct TextRequest {
  std::wstring find;         // as typed: hits ignore letter case, the replace keeps it
  std::wstring replacement;  // written in place of every exact occurrence when replace is set
  std::wstring types;        // the file-type box
  int32_t sizeLimit = 0;     // bytes; only smaller files are read
  bool replace = false;
};

struct TextEvents {
  std::function<void(const std::wstring& path, uint64_t bytes)> reading;  // a file passed the type and size tests
  std::function<void(const std::wstring& path)> hit;
  std::function<void(const std::wstring& path)> notWritten;  // a hit whose replace could not be saved
  std::function<void()> pump;
  std::function<bool()> stopRequested;
};

// Walks folder (depth first, one pump step per entry) and counts into the search state. False when stopped.
bool WalkTextFolder(const std::wstring& folder, const TextRequest& request, const TextEvents& on);

}  // namespace sercavo
