#include "common/win/ui/status_bar.h"

#include <commctrl.h>

#include "common/win/ui/window.h"

namespace common::ui {

void StatusBar::Create(HWND parent, int id, const std::vector<int>& widthsTwips) {
  hwnd_ = CreateControl(parent, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, id);
  widths_ = widthsTwips;
  Resize();
}

void StatusBar::Resize() {
  SendMessageW(hwnd_, WM_SIZE, 0, 0);
  std::vector<int> edges;
  int x = 0;
  for (int w : widths_) {
    x = w < 0 ? -1 : x + Twips(GetParent(hwnd_), w);
    edges.push_back(x);
  }
  SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetText(int panel, const std::wstring& text) {
  if (Text(panel) == text) return;  // an unchanged panel is not repainted
  SendMessageW(hwnd_, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::Text(int panel) const {
  int n = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, panel, 0));
  std::wstring s(n + 1, L'\0');
  SendMessageW(hwnd_, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(s.data()));
  s.resize(n);
  return s;
}

}  // namespace common::ui
