#include "search/engine/win/folder_walk.h"

#include <vector>

#include "common/path.h"
#include "common/text.h"

namespace sercavo {
namespace {

struct Level {
  std::wstring folder;  // with a trailing "\"
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW entry{};
  bool first = true;
};

class Walk {
 public:
  explicit Walk(const WalkHandlers& on) : on_(on) {}
  ~Walk() {
    for (auto& l : stack_)
      if (l.find != INVALID_HANDLE_VALUE) FindClose(l.find);
  }

  bool Run(const std::wstring& root) {
    // A range that is not there lists nothing, not even a folder row for its name.
    if (GetFileAttributesW(common::ExtendedPath(root).c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    Enter(root, ModifiedTime(root));
    while (!stack_.empty()) {
      if (!Next(stack_.back())) {
        Leave();
        continue;
      }
      if (stopped_) return false;
      Examine();
    }
    return true;
  }

 private:
  void Enter(const std::wstring& path, const FILETIME& modified) {
    if (on_.visitFolder) on_.visitFolder(path, modified);
    Level l;
    l.folder = common::WithTrailingSlash(path);
    l.find = FindFirstFileExW(common::ExtendedPath(l.folder + L"*").c_str(), FindExInfoBasic, &l.entry,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    // A folder that cannot be read ends its level silently.
    if (l.find != INVALID_HANDLE_VALUE) stack_.push_back(std::move(l));
  }

  void Leave() {
    FindClose(stack_.back().find);
    stack_.pop_back();
  }

  // Fetches the level's next entry; after every fetch but the first, lets messages run and reads the stop.
  bool Next(Level& l) {
    if (l.first) {
      l.first = false;
      return true;
    }
    if (!FindNextFileW(l.find, &l.entry)) return false;
    if (on_.pump) on_.pump();
    stopped_ = on_.stopRequested && on_.stopRequested();
    return true;
  }

  void Examine() {
    Level& l = stack_.back();
    const WIN32_FIND_DATAW& e = l.entry;
    if (!(e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      if (on_.file) on_.file(l.folder, e);
      return;
    }
    if (e.cFileName[0] == L'.') return;
    std::wstring path = l.folder + e.cFileName;
    if (e.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (on_.visitFolder) on_.visitFolder(path, e.ftLastWriteTime);
      return;
    }
    Enter(path, e.ftLastWriteTime);  // may move the stack: l is not used after this
  }

  const WalkHandlers& on_;
  std::vector<Level> stack_;
  bool stopped_ = false;
};

}  // namespace

bool WalkFolder(const std::wstring& path, const WalkHandlers& on) { return Walk(on).Run(path); }

FILETIME ModifiedTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(common::ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) return FILETIME{};
  return data.ftLastWriteTime;
}

}  // namespace sercavo
