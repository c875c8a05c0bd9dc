#include "search/engine/win/file_ops.h"

#include <gtest/gtest.h>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/text_files.h"

namespace sercavo {
namespace {

std::optional<std::string> Read(const std::wstring& path) { return suite::ReadBytes(path); }

bool MakeFolders(const std::wstring& path) {
  for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(common::ExtendedPath(path.substr(0, at)).c_str(), nullptr);
  return CreateDirectoryW(common::ExtendedPath(path).c_str(), nullptr) || PathExists(path);
}

bool Put(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(common::ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &n, nullptr) && n == bytes.size();
  CloseHandle(h);
  return ok;
}

// A folder path of more than 260 characters below root.
std::wstring Deep(const std::wstring& root, const std::wstring& tag) {
  std::wstring p = root + L"\\" + tag;
  for (int i = 0; i < 10; ++i) p += L"\\a-rather-long-folder-name-" + std::to_wstring(i);
  return p;
}

struct Case {
  const char* name;
  bool longPaths;
};

class Ops : public testing::TestWithParam<Case> {
 protected:
  std::wstring Folder(const std::wstring& tag) {
    std::wstring p = GetParam().longPaths ? Deep(t_.wpath(), tag) : t_.wpath() + L"\\" + tag;
    EXPECT_TRUE(MakeFolders(p));
    if (GetParam().longPaths) {
      EXPECT_GT(p.size() + 20, 260u);
    }
    return p;
  }
  // A folder holding a file and a subfolder with a file.
  std::wstring Tree(const std::wstring& at) {
    std::wstring f = at + L"\\报告 folder";
    EXPECT_TRUE(MakeFolders(f + L"\\inner"));
    EXPECT_TRUE(Put(f + L"\\top.txt", "top"));
    EXPECT_TRUE(Put(f + L"\\inner\\deep.txt", "deep"));
    return f;
  }
  void ExpectTree(const std::wstring& f) {
    EXPECT_EQ(Read(common::ExtendedPath(f + L"\\top.txt")), "top");
    EXPECT_EQ(Read(common::ExtendedPath(f + L"\\inner\\deep.txt")), "deep");
  }
  suite::TempDir t_;
};

TEST_P(Ops, SameNamesIntoOneFolderAreNumberedNeverReplaced) {
  std::wstring a = Folder(L"A"), b = Folder(L"B"), into = Folder(L"into");
  ASSERT_TRUE(Put(a + L"\\readme.txt", "from A"));
  ASSERT_TRUE(Put(b + L"\\readme.txt", "from B"));
  ASSERT_TRUE(Put(b + L"\\notes.txt", "notes"));
  EXPECT_TRUE(ShellFileOperation(FileOp::Move, a + L"\\readme.txt", into + L"\\"));
  EXPECT_TRUE(ShellFileOperation(FileOp::Move, b + L"\\readme.txt", into + L"\\"));
  EXPECT_EQ(Read(common::ExtendedPath(into + L"\\readme.txt")), "from A");
  EXPECT_EQ(Read(common::ExtendedPath(into + L"\\readme (2).txt")), "from B");
  EXPECT_FALSE(PathExists(a + L"\\readme.txt"));
  EXPECT_FALSE(PathExists(b + L"\\readme.txt"));
  // Copies as well, and a copy into its own folder.
  EXPECT_TRUE(ShellFileOperation(FileOp::Copy, b + L"\\notes.txt", into + L"\\"));
  EXPECT_TRUE(ShellFileOperation(FileOp::Copy, b + L"\\notes.txt", into));
  EXPECT_TRUE(ShellFileOperation(FileOp::Copy, b + L"\\notes.txt", b + L"\\"));
  EXPECT_EQ(Read(common::ExtendedPath(into + L"\\notes.txt")), "notes");
  EXPECT_EQ(Read(common::ExtendedPath(into + L"\\notes (2).txt")), "notes");
  EXPECT_EQ(Read(common::ExtendedPath(b + L"\\notes (2).txt")), "notes");
  EXPECT_EQ(Read(common::ExtendedPath(b + L"\\notes.txt")), "notes");
  // A file moved to where it already is stays as it is.
  EXPECT_TRUE(ShellFileOperation(FileOp::Move, b + L"\\notes.txt", b + L"\\"));
  EXPECT_EQ(Read(common::ExtendedPath(b + L"\\notes.txt")), "notes");
  EXPECT_FALSE(PathExists(b + L"\\notes (3).txt"));
}

TEST_P(Ops, FoldersAreCopiedMovedAndDeletedWhole) {
  std::wstring from = Folder(L"from"), into = Folder(L"into");
  std::wstring tree = Tree(from);
  ASSERT_TRUE(MakeFolders(into + L"\\报告 folder"));  // taken: the copy gets a numbered name
  EXPECT_TRUE(ShellFileOperation(FileOp::Copy, tree, into + L"\\"));
  ExpectTree(into + L"\\报告 folder (2)");
  ExpectTree(tree);
  EXPECT_TRUE(ShellFileOperation(FileOp::Move, tree, into + L"\\"));
  ExpectTree(into + L"\\报告 folder (3)");
  EXPECT_FALSE(PathExists(tree));
  EXPECT_TRUE(ShellFileOperation(FileOp::Delete, into + L"\\报告 folder (2)", L""));
  EXPECT_FALSE(PathExists(into + L"\\报告 folder (2)"));
  ExpectTree(into + L"\\报告 folder (3)");
  // A file on its own, read-only included.
  std::wstring file = into + L"\\报告 folder (3)\\top.txt";
  SetFileAttributesW(common::ExtendedPath(file).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(ShellFileOperation(FileOp::Delete, file, L""));
  EXPECT_FALSE(PathExists(file));
}

TEST_P(Ops, AFolderNeverGoesIntoItself) {
  std::wstring tree = Tree(Folder(L"self"));
  EXPECT_FALSE(ShellFileOperation(FileOp::Copy, tree, tree + L"\\inner\\"));
  EXPECT_FALSE(ShellFileOperation(FileOp::Move, tree, tree + L"\\"));
  ExpectTree(tree);
  EXPECT_FALSE(PathExists(tree + L"\\inner\\报告 folder"));
}

INSTANTIATE_TEST_SUITE_P(Routes, Ops, testing::Values(Case{"shell", false}, Case{"long", true}),
                         [](const testing::TestParamInfo<Case>& c) { return std::string(c.param.name); });

TEST(LongPathRoute, FailuresAreNamedNotHidden) {
  suite::TempDir t;
  std::wstring from = Deep(t.wpath(), L"from");
  ASSERT_TRUE(MakeFolders(from + L"\\sub"));
  ASSERT_TRUE(Put(from + L"\\sub\\a.txt", "a"));
  std::vector<std::wstring> failed;
  // The target folder is not there: nothing arrives and the source is named.
  EXPECT_FALSE(ShellFileOperation(FileOp::Copy, from + L"\\sub", t.wpath() + L"\\missing\\", &failed));
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0], from + L"\\sub");
  failed.clear();
  EXPECT_FALSE(ShellFileOperation(FileOp::Move, from + L"\\sub", t.wpath() + L"\\missing\\", &failed));
  EXPECT_FALSE(failed.empty());
  EXPECT_EQ(Read(common::ExtendedPath(from + L"\\sub\\a.txt")), "a");
  failed.clear();
  EXPECT_FALSE(ShellFileOperation(FileOp::Delete, from + L"\\gone", L"", &failed));
  EXPECT_EQ(failed, std::vector<std::wstring>{from + L"\\gone"});
}

}  // namespace
}  // namespace sercavo
