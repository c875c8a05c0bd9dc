// The suite's harmless test program. Arguments: "--window TITLE" shows a window with that title
// (closed by WM_CLOSE); otherwise it waits until it is ended.
#include <windows.h>

#include <string>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR cmd, int) {
  std::wstring args = cmd ? cmd : L"";
  std::wstring title;
  if (args.rfind(L"--window ", 0) == 0) title = args.substr(9);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"SuiteChild";
  RegisterClassW(&wc);
  HWND h = CreateWindowW(L"SuiteChild", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, inst,
                         nullptr);
  if (!title.empty()) ShowWindow(h, SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
