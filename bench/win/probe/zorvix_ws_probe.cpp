// A bare window program that does one part of the guard's work before it waits, so that the working
// set each part adds can be measured against the bare program. Every library is loaded at run time:
// the bare program loads none of them. Argument: bare, list, icons, shell-icons, version, trust,
// counters, query, all (what the guard itself does), "trust-unloaded" (the trust part, then its
// libraries freed whole, whoever holds them), or "load:" and library names joined by "," (only loads
// them).
#include <windows.h>
#include <commctrl.h>
#include <pdh.h>
#include <shellapi.h>
#include <softpub.h>
#include <wintrust.h>

#include <memory>
#include <string>
#include <vector>

namespace {

template <typename F>
F Call(const wchar_t* dll, const char* name) {
  HMODULE m = LoadLibraryW(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// Programs of the system folder, as the rows of a process list name them.
std::vector<std::wstring> SystemPrograms() {
  wchar_t sys[MAX_PATH];
  GetSystemDirectoryW(sys, MAX_PATH);
  std::vector<std::wstring> list;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((std::wstring(sys) + L"\\*.exe").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return list;
  do list.push_back(std::wstring(sys) + L"\\" + fd.cFileName);
  while (list.size() < 60 && FindNextFileW(h, &fd));
  FindClose(h);
  return list;
}

void List(HWND parent) {
  auto init = Call<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  if (init) init(&icc);
  CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, parent, nullptr,
                  nullptr, nullptr);
}

// Program icons read from their files, as the guard reads them.
void Icons() {
  auto extract = Call<UINT(WINAPI*)(LPCWSTR, int, HICON*, HICON*, UINT)>(L"shell32.dll", "ExtractIconExW");
  for (const auto& p : SystemPrograms()) {
    HICON small = nullptr;
    if (extract && extract(p.c_str(), 0, nullptr, &small, 1) && small) DestroyIcon(small);
  }
}

// The same icons through the shell's icon cache.
void ShellIcons() {
  auto info = Call<DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT)>(L"shell32.dll", "SHGetFileInfoW");
  for (const auto& p : SystemPrograms()) {
    SHFILEINFOW fi{};
    if (info && info(p.c_str(), 0, &fi, sizeof fi, SHGFI_ICON | SHGFI_SMALLICON)) DestroyIcon(fi.hIcon);
  }
}

void Version() {
  auto size = Call<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>(L"version.dll", "GetFileVersionInfoSizeW");
  auto read = Call<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>(L"version.dll", "GetFileVersionInfoW");
  for (const auto& p : SystemPrograms()) {
    DWORD n = size ? size(p.c_str(), nullptr) : 0;
    std::vector<BYTE> data(n);
    if (n && read) read(p.c_str(), 0, n, data.data());
  }
}

void Trust() {
  auto verify = Call<LONG(WINAPI*)(HWND, GUID*, LPVOID)>(L"wintrust.dll", "WinVerifyTrust");
  for (const auto& p : SystemPrograms()) {
    WINTRUST_FILE_INFO file{sizeof file};
    file.pcwszFilePath = p.c_str();
    WINTRUST_DATA data{sizeof data};
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    if (!verify) return;
    verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  }
}

// The signature libraries take references on themselves while they verify; this frees every one, to
// show what the trust part would cost if its libraries could be let go after use.
void UnloadTrustLibraries() {
  for (const wchar_t* name : {L"wintrust.dll", L"crypt32.dll"})
    for (int i = 0; i < 16; ++i)
      if (HMODULE m = GetModuleHandleW(name); !m || !FreeLibrary(m)) break;
}

void Counters() {
  auto open = Call<PDH_STATUS(WINAPI*)(LPCWSTR, DWORD_PTR, PDH_HQUERY*)>(L"pdh.dll", "PdhOpenQueryW");
  auto add = Call<PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*)>(L"pdh.dll", "PdhAddCounterW");
  auto collect = Call<PDH_STATUS(WINAPI*)(PDH_HQUERY)>(L"pdh.dll", "PdhCollectQueryData");
  PDH_HQUERY q = nullptr;
  PDH_HCOUNTER c = nullptr;
  if (open && add && collect && open(nullptr, 0, &q) == 0) {
    add(q, L"\\Processor(0)\\% Processor Time", 0, &c);
    collect(q);
  }
}

void Query() {
  using Fn = LONG(WINAPI*)(int, PVOID, ULONG, PULONG);
  const ULONG size = 256 << 10;  // left unfilled, as the guard's
  static auto buffer = std::make_unique_for_overwrite<BYTE[]>(size);
  ULONG needed = 0;
  if (auto q = Call<Fn>(L"ntdll.dll", "NtQuerySystemInformation")) q(5, buffer.get(), size, &needed);
}

void Load(const std::wstring& names) {
  for (size_t at = 0, end; at < names.size(); at = end + 1) {
    end = names.find(L',', at);
    if (end == std::wstring::npos) end = names.size();
    LoadLibraryW(names.substr(at, end - at).c_str());
  }
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR cmd, int) {
  std::wstring part = cmd ? cmd : L"";
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"ZorvixProbe";
  RegisterClassW(&wc);
  HWND h = CreateWindowW(L"ZorvixProbe", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, inst,
                         nullptr);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  bool all = part == L"all";
  if (all || part == L"list") List(h);
  if (all || part == L"icons") Icons();
  if (part == L"shell-icons") ShellIcons();
  if (all || part == L"version") Version();
  if (part == L"trust") Trust();  // the guard leaves it to its helper
  if (all || part == L"counters") Counters();
  if (part == L"trust-unloaded") {
    Trust();
    UnloadTrustLibraries();
  }
  if (all || part == L"query") Query();
  if (part.rfind(L"load:", 0) == 0) Load(part.substr(5));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
