// The browser's tab operations with the engine double: opening 50 tabs and closing them again, and one
// pailie with 50 tabs (layout plus the open-pages file). Baselines: creating and destroying as many bare
// child windows, and writing the same open-pages file alone.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/bench_util.h"
#include "browser/pages/open_pages.h"
#include "browser/shell/win/frm_main.h"
#include "browser/shell/win/testing/fake_engine.h"
#include "common/win/text_file.h"
#include "common/win/settings_store.h"

int main() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::wstring folder = std::wstring(tmp) + L"corvane-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  common::SaveSetting(L"Corvane", L"first", L"load", L"SoftLoad");
  common::SaveSetting(L"Corvane", L"myie", L"Start", L"about:blank");

  SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_T(-1), SIZE_T(-1));
  Sleep(100);
  size_t bareMB = bench::WorkingSetMB();
  double t0 = bench::NowMs();
  corvane::FrmMain frame({folder, corvane::testing::FakeEngines()});
  frame.Load(L"");
  double loadMs = bench::NowMs() - t0;
  SetProcessWorkingSetSize(GetCurrentProcess(), SIZE_T(-1), SIZE_T(-1));
  Sleep(100);
  size_t frameMB = bench::WorkingSetMB();

  auto openClose = [&] {
    for (int i = 0; i < 50; ++i) frame.loadnewform(L"http://site" + std::to_wstring(i) + L".cn/");
    for (int i = 0; i < 50; ++i) frame.delline();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  };
  double tabs = bench::BestMs(openClose, 1, 5);
  double o0 = bench::NowMs();
  for (int i = 0; i < 50; ++i) frame.loadnewform(L"http://site" + std::to_wstring(i) + L".cn/");
  double o1 = bench::NowMs();
  for (int i = 0; i < 50; ++i) frame.delline();
  double o2 = bench::NowMs();
  std::printf("open %.3f ms, close %.3f ms per tab\n", (o1 - o0) / 50, (o2 - o1) / 50);
  // The same window work bare: a child window per tab, shown in front of the previous one, which hides;
  // closing destroys it and shows the previous one again.
  // The parent lives outside the timing, as the frame does (destroying a shown top-level window makes Wine
  // wait for the X server).
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                nullptr);
  auto bare = [&] {
    std::vector<HWND> w;
    UINT hide = SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    for (int i = 0; i < 50; ++i) {
      w.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr));
      SetWindowPos(w.back(), HWND_TOP, 0, 0, 800, 600, SWP_SHOWWINDOW);
      if (i > 0) SetWindowPos(w[i - 1], nullptr, 0, 0, 0, 0, hide);
    }
    for (int i = 49; i >= 0; --i) {
      SetWindowPos(w[i], nullptr, 0, 0, 0, 0, hide);
      if (i > 0) SetWindowPos(w[i - 1], HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
      DestroyWindow(w[i]);
    }
  };
  double bareMs = bench::BestMs(bare, 1, 5);
  bench::Report("open 50 tabs + close them (engine double)", tabs, "the same window work, bare", bareMs);
  std::printf("%-48s %10.3f ms\n", "  per tab operation (100 operations)", tabs / 100);

  for (int i = 0; i < 49; ++i) frame.loadnewform(L"http://site" + std::to_wstring(i) + L".cn/");
  int flip = 0;
  double pailie = bench::BestMs([&] {
    frame.SetTabCaption(frame.table().NumberAt(7), (++flip & 1) ? L"甲" : L"乙");  // so the file changes
    frame.pailie();
  }, 20, 5);
  std::vector<corvane::OpenPage> pages;
  for (int i = 0; i < 50; ++i) pages.push_back({L"标题", L"http://site" + std::to_wstring(i) + L".cn/"});
  std::wstring text = corvane::FormatOpenPages(pages);
  double write = bench::BestMs([&] { common::WriteTextFile(folder + L"temp\\bench.his", text); }, 20, 5);
  bench::Report("pailie with 50 tabs (layout + open-pages file)", pailie, "the file write alone", write);
  std::printf("%-48s %10.3f ms\n", "frame load (start-up steps 1-10)", loadMs);
  std::printf("%-48s %10zu MB   %-32s %10zu MB\n", "frame working set (one blank page)", frameMB,
              "the same process before the frame", bareMB);
  frame.closeall();
  common::SaveSetting(L"Corvane", L"unload", L"askme", L"1");
  frame.QueryUnload();
  RemoveDirectoryW((folder + L"temp").c_str());
  RemoveDirectoryW((folder + L"Favorites").c_str());
  RemoveDirectoryW((folder + L"Group").c_str());
  RemoveDirectoryW(folder.c_str());
  OleUninitialize();
  return 0;
}
