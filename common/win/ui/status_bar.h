// Status bar with fixed panels.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace common::ui {

class StatusBar {
 public:
  HWND hwnd() const { return hwnd_; }
  // Panel widths in twips; a width of -1 stretches to the right edge.
  void Create(HWND parent, int id, const std::vector<int>& widthsTwips);
  void SetText(int panel, const std::wstring& text);
  std::wstring Text(int panel) const;
  // Follows the parent's size; call from the parent's WM_SIZE.
  void Resize();

 private:
  HWND hwnd_ = nullptr;
  std::vector<int> widths_;
};

}  // namespace common::ui
