// The open-pages file of this browser, one of its own in the "temp" folder, held by a lock file while the
// browser runs: another browser started meanwhile never takes it for one left by an abnormal end, and
// never deletes it at its own exit.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace corvane {

class PageRecord {
 public:
  PageRecord() = default;
  PageRecord(const PageRecord&) = delete;
  PageRecord& operator=(const PageRecord&) = delete;
  ~PageRecord() { Release(); }

  // Takes the lowest slot of tempFolder (ending in "\") that no running browser holds and whose file no
  // ended browser left; false when no lock could be made (the file is then "page.his", unguarded).
  bool Claim(const std::wstring& tempFolder);
  // The lock goes with its handle: a browser that ends, normally or not, leaves its slot free.
  void Release();
  const std::wstring& path() const { return path_; }
  int slot() const { return slot_; }

 private:
  HANDLE lock_ = INVALID_HANDLE_VALUE;
  std::wstring path_;
  int slot_ = 1;
};

// The open-pages files of browsers that no longer run and did not end normally (11 bytes or more), other
// than the slot `own`.
std::vector<std::wstring> LeftRecords(const std::wstring& tempFolder, int own);
// A confirmed exit: every file of the folder goes but the open-pages files of other browsers, running or
// not, which are theirs to offer again.
void EmptyTemp(const std::wstring& tempFolder, int own);

}  // namespace corvane
