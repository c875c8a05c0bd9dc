#include "browser/tools/win/text_output.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

#include "browser/files/win/browser_files.h"
#include "common/text.h"

namespace corvane {
namespace {

SaveDialogHook& Hook() {
  static SaveDialogHook hook;
  return hook;
}

bool PrintLines(HDC dc, const std::wstring& text) {
  int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
  int margin = GetDeviceCaps(dc, LOGPIXELSX) / 2;
  RECT page{margin, margin, width - margin, height - margin};
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"SimSun");
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  bool ok = StartPage(dc) > 0;
  int y = page.top;
  for (const std::wstring& line : common::SplitLines(text)) {
    if (!ok) break;
    std::wstring shown = line.empty() ? L" " : line;
    RECT r{page.left, 0, page.right, 0};
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
    DrawTextW(dc, shown.c_str(), int(shown.size()), &r, flags | DT_CALCRECT);
    int h = std::min<int>(r.bottom - r.top, page.bottom - page.top);
    if (y + h > page.bottom && y > page.top) {
      ok = EndPage(dc) > 0 && StartPage(dc) > 0;
      y = page.top;
    }
    RECT out{page.left, y, page.right, y + h};
    DrawTextW(dc, shown.c_str(), int(shown.size()), &out, flags);
    y += h;
  }
  if (ok) ok = EndPage(dc) > 0;
  SelectObject(dc, old);
  DeleteObject(font);
  return ok;
}

}  // namespace

void SetSaveDialogHook(SaveDialogHook hook) { Hook() = std::move(hook); }

std::optional<std::wstring> AskSaveName(HWND owner, const std::wstring& filter, const std::wstring& proposed) {
  if (Hook()) return Hook()(filter, proposed);
  std::wstring f = common::ReplaceAll(filter, L"|", std::wstring(1, L'\0')) + std::wstring(2, L'\0');
  std::vector<wchar_t> name(32768, L'\0');
  proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
  OPENFILENAMEW ofn{sizeof ofn};
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = f.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = DWORD(name.size());
  ofn.lpstrDefExt = L"htm";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  return std::wstring(name.data());
}

bool WriteTextLine(const std::wstring& path, const std::wstring& text) {
  // A page in another script is kept whole in UTF-8 (with its mark) rather than lost to the code page.
  return WriteWholeText(path, text + L"\r\n").ok();
}

bool PrintText(const std::wstring& text, const std::wstring& document) {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return false;
  std::wstring printer(size, L'\0');
  if (!GetDefaultPrinterW(printer.data(), &size)) return false;
  printer.resize(wcslen(printer.c_str()));
  HDC dc = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
  if (!dc) return false;
  DOCINFOW di{sizeof di};
  di.lpszDocName = document.c_str();
  bool ok = StartDocW(dc, &di) > 0;
  if (ok) {
    ok = PrintLines(dc, text);
    if (ok) ok = EndDoc(dc) > 0;
    else AbortDoc(dc);
  }
  DeleteDC(dc);
  return ok;
}

}  // namespace corvane
