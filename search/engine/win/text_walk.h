// The text search over a folder tree: the files the type and size boxes let through are read, decoded in
// their own encoding (rich text by what it shows) and tested for the text; a replace rewrites the hits.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "search/engine/text_search_rules.h"

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
  std::function<void(const std::wstring& path, NotReplaced why)> notReplaced;  // a hit the replace left alone
  std::function<void()> pump;
  std::function<bool()> stopRequested;
};

// Files larger than this are read a piece of this size at a time; the replace reads at most the layer's
// cap for large files whole.
inline constexpr size_t kPieceBytes = 16u << 20;

// Walks folder (depth first, one pump step per entry) and counts into the search state. False when stopped.
bool WalkTextFolder(const std::wstring& folder, const TextRequest& request, const TextEvents& on);

}  // namespace sercavo
