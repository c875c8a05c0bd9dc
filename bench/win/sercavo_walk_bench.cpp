// Name search over a generated tree of about 200,000 entries, against a bare FindFirstFileExW walk of the
// same tree (the limit) and `cmd /c dir /s /b` (a peer); then a million rows through the results list.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/bench_util.h"
#include "common/path.h"
#include "search/engine/search_state.h"
#include "search/engine/win/frm_main.h"

namespace {

const std::wstring kRoot = L"C:\\sercavo-bench-tree";
constexpr int kTop = 20, kMid = 20, kFiles = 480;  // 20 * 20 * (1 + 480) + 420 folders ≈ 192,820 entries

void MakeFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

void EnsureTree() {
  std::wstring done = kRoot + L"\\complete.txt";
  if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::printf("building the tree under %ls (once)...\n", kRoot.c_str());
  CreateDirectoryW(kRoot.c_str(), nullptr);
  for (int a = 0; a < kTop; ++a) {
    std::wstring top = kRoot + L"\\dir" + std::to_wstring(a);
    CreateDirectoryW(top.c_str(), nullptr);
    for (int b = 0; b < kMid; ++b) {
      std::wstring mid = top + L"\\sub" + std::to_wstring(b);
      CreateDirectoryW(mid.c_str(), nullptr);
      for (int f = 0; f < kFiles; ++f) MakeFile(mid + L"\\file" + std::to_wstring(f) + (f % 7 ? L".txt" : L".dat"));
    }
  }
  MakeFile(done);
}

long long BareWalk(const std::wstring& folder) {
  long long n = 0;
  WIN32_FIND_DATAW e;
  HANDLE h = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &e, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (e.cFileName[0] == L'.') continue;
    ++n;
    if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) n += BareWalk(folder + L"\\" + e.cFileName);
  } while (FindNextFileW(h, &e));
  FindClose(h);
  return n;
}

void DirS() {
  std::wstring line = L"cmd /c dir /s /b " + common::QuoteArg(kRoot) + L" > NUL";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return;
  // The window of this program stays served while the peer runs.
  while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace

int main() {
  EnsureTree();
  sercavo::FrmMain frm;
  if (!frm.Load(L"")) return 1;
  long long entries = BareWalk(kRoot);
  auto& st = sercavo::State();
  double search = bench::BestMs(
      [&] {
        st.searchMode = sercavo::kName;
        st.searchKeyword = L"file479.";
        st.stopRequested = false;
        frm.Search(kRoot);
      },
      1, 3);
  double bare = bench::BestMs([] { BareWalk(kRoot); }, 1, 3);
  std::printf("%lld entries, %d matches\n", entries, st.foundCount);
  std::fflush(stdout);
  double dir = bench::BestMs(DirS, 1, 1);  // the peer is slow under Wine: one run
  std::printf("working set after the walks: %zu MB\n", bench::WorkingSetMB());
  std::printf("entries per second: name search %.0f, bare walk %.0f, dir /s /b %.0f\n", entries * 1000.0 / search,
              entries * 1000.0 / bare, entries * 1000.0 / dir);
  bench::Report("name search (pump step per entry)", search, "bare FindFirstFileExW walk", bare);
  bench::Report("name search (pump step per entry)", search, "cmd /c dir /s /b", dir);

  // A million rows through the virtual list (1,000 folders of 1,000 files), against the bare names in a vector.
  constexpr int kRows = 1000000, kPerFolder = 1000;
  auto name = [](int i) { return L"name" + std::to_wstring(int(i * 7919LL % kRows)) + L".txt"; };
  std::vector<std::wstring> folders;
  for (int f = 0; f < kRows / kPerFolder; ++f)
    folders.push_back(L"C:\\Users\\someone\\Documents\\projects\\folder" + std::to_wstring(f) + L"\\");
  size_t before = bench::WorkingSetMB();
  double list = bench::BestMs(
      [&] {
        frm.lvw().Clear();
        WIN32_FIND_DATAW e{};
        e.nFileSizeLow = 123456;
        GetSystemTimeAsFileTime(&e.ftLastWriteTime);
        for (int i = 0; i < kRows; ++i) {
          wcscpy(e.cFileName, name(i).c_str());
          frm.lvw().AddFile(folders[size_t(i / kPerFolder)], e);
        }
        frm.lvw().ShowNewRows();
        UpdateWindow(frm.lvw().hwnd());
      },
      1, 1);
  size_t filled = bench::WorkingSetMB();
  double sort = bench::BestMs(
      [&] {
        frm.lvw().ColumnClick(sercavo::kColName);
        UpdateWindow(frm.lvw().hwnd());
      },
      1, 1);
  double sortSize = bench::BestMs([&] { frm.lvw().ColumnClick(sercavo::kColSize); }, 1, 1);
  size_t sorted = bench::WorkingSetMB();
  std::printf(
      "working set: %zu MB before the rows, %zu MB holding 1,000,000 rows, %zu MB after sorting "
      "(limit 120 MB; ratio to the limit %.2f)\n",
      before, filled, sorted, double(std::max(filled, sorted)) / 120.0);
  frm.lvw().Clear();
  // The baselines come after, so that what they leave in the heap is not counted above.
  std::vector<std::wstring> names;
  double bareFill = bench::BestMs(
      [&] {
        names.clear();
        names.reserve(kRows);
        for (int i = 0; i < kRows; ++i) names.push_back(name(i));
      },
      1, 1);
  double bareSort = bench::BestMs([&] { std::sort(names.begin(), names.end()); }, 1, 1);
  bench::Report("1,000,000 rows added to the results list", list, "the names into a bare vector", bareFill);
  bench::Report("sorting 1,000,000 rows as text (and redraw)", sort, "std::sort of the bare names", bareSort);
  bench::Report("sorting 1,000,000 rows by size text", sortSize, "std::sort of the bare names", bareSort);
  frm.Destroy();
  return 0;
}
