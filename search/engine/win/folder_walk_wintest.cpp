#include <gtest/gtest.h>

#include <vector>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/text.h"
#include "search/engine/win/testing/host_links.h"
#include "search/engine/win/folder_walk.h"

namespace sercavo {
namespace {

struct Event {
  bool folder;
  std::wstring path;
};

std::vector<Event> Walk(const std::wstring& root, int stopAfterPumps = -1, int* pumps = nullptr) {
  std::vector<Event> events;
  int count = 0;
  bool stop = false;
  WalkHandlers on;
  on.visitFolder = [&](const std::wstring& p, const FILETIME&) { events.push_back({true, p}); };
  on.file = [&](const std::wstring& folder, const WIN32_FIND_DATAW& e) {
    events.push_back({false, folder + e.cFileName});
  };
  on.pump = [&] {
    if (++count == stopAfterPumps) stop = true;
  };
  on.stopRequested = [&] { return stop; };
  WalkFolder(root, on);
  if (pumps) *pumps = count;
  return events;
}

// Every entry's folder is the folder visited last and not yet left: the walk is depth first.
void ExpectDepthFirst(const std::vector<Event>& events) {
  std::vector<std::wstring> open;
  for (const Event& e : events) {
    std::wstring parent = common::FolderOf(e.path);
    while (!open.empty() && open.back() != parent) open.pop_back();
    if (&e != &events.front()) {
      ASSERT_FALSE(open.empty()) << "out of order: " << e.path;
    }
    if (e.folder) open.push_back(e.path);
  }
}

TEST(FolderWalk, DepthFirstSkipsDotFoldersAndExaminesEveryEntry) {
  suite::TempDir t;
  for (const wchar_t* f :
       {L"a.txt", L"b\\c.txt", L"b\\d\\e.txt", L"b\\f.txt", L"g\\h.txt", L".hidden\\x.txt", L"z.txt"})
    t.Write(f, "x");
  auto events = Walk(t.wpath());
  ExpectDepthFirst(events);
  std::vector<std::wstring> files, folders;
  for (const Event& e : events) (e.folder ? folders : files).push_back(e.path.substr(t.wpath().size()));
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L"\\a.txt", L"\\b\\c.txt", L"\\b\\d\\e.txt", L"\\b\\f.txt", L"\\g\\h.txt",
                                              L"\\z.txt"}));
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"", L"\\b", L"\\b\\d", L"\\g"}));
}

TEST(FolderWalk, FirstEntryOfARootIsExamined) {
  suite::TempDir t;
  t.Write(L"only.txt", "x");
  // With a trailing separator there are no "." entries ahead of the file.
  auto events = Walk(t.wpath() + L"\\");
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(common::FileNameOf(events[1].path), L"only.txt");
}

TEST(FolderWalk, AMissingRangeGivesNothing) {
  suite::TempDir t;
  EXPECT_TRUE(Walk(t.wpath() + L"\\gone").empty());
}

TEST(FolderWalk, StopTakesEffectWithinOneEntry) {
  suite::TempDir t;
  for (int i = 0; i < 30; ++i) t.Write(L"d" + std::to_wstring(i % 3) + L"\\f" + std::to_wstring(i) + L".txt", "x");
  int pumps = 0;
  auto all = Walk(t.wpath());
  auto some = Walk(t.wpath(), 5, &pumps);
  EXPECT_EQ(pumps, 5);
  EXPECT_LT(some.size(), all.size());
  // Nothing is examined after the pump step that asked for the stop.
  int none = 0;
  auto stopped = Walk(t.wpath(), 1, &none);
  EXPECT_EQ(none, 1);
  EXPECT_LE(stopped.size(), 4u);
}

TEST(FolderWalk, LongPathsAndNamesOutsideTheCodePage) {
  suite::TempDir t;
  std::wstring rel;
  for (int i = 0; i < 12; ++i) rel += L"folder-with-a-long-name-" + std::to_wstring(i) + L"\\";
  std::wstring name = L"na\u00efve \u2603 \u0444\u0430\u0439\u043b.txt";
  std::wstring deep = t.wpath() + L"\\" + rel;
  std::wstring built = t.wpath();
  for (size_t at = 0; at < rel.size();) {
    size_t end = rel.find(L'\\', at);
    built += L"\\" + rel.substr(at, end - at);
    ASSERT_TRUE(CreateDirectoryW(common::ExtendedPath(built).c_str(), nullptr));
    at = end + 1;
  }
  HANDLE h =
      CreateFileW(common::ExtendedPath(deep + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  ASSERT_GT((deep + name).size(), 300u);
  auto events = Walk(t.wpath());
  bool found = false;
  for (const Event& e : events) found = found || e.path == deep + name;
  EXPECT_TRUE(found);
}

// A link back to the top, made by the host as a user's system would have it: the walk lists it as a
// folder and does not go round through it.
TEST(FolderWalk, LinksBackIntoTheTreeAreListedNotEntered) {
  suite::TempDir t;
  t.Write(L"inner\\file.txt", "x");
  std::wstring link = t.wpath() + L"\\inner\\loop";
  test_support::HostLinks links;
  ASSERT_TRUE(links.Link(t.wpath(), link));
  DWORD attributes = GetFileAttributesW(link.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  ASSERT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  auto events = Walk(t.wpath());
  int visits = 0, files = 0;
  for (const Event& e : events) {
    visits += e.folder && e.path == link;
    files += !e.folder;
  }
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(files, 1);           // the file once, not again through the link
  EXPECT_EQ(events.size(), 4u);  // the top, inner, the link and the file
}

}  // namespace
}  // namespace sercavo
