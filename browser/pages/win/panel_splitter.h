// LabLeft: the splitter between the side panel and the pages. Dragged with the left button, it gives the
// panel a new width, which the frame then lays out.
#pragma once
#include <windows.h>

#include <functional>

namespace corvane {

class PanelSplitter {
 public:
  PanelSplitter() = default;
  PanelSplitter(const PanelSplitter&) = delete;
  PanelSplitter& operator=(const PanelSplitter&) = delete;
  ~PanelSplitter();

  // width gives the panel's width in twips; resize takes the new one.
  void Attach(HWND labLeft, std::function<int()> width, std::function<void(int)> resize);
  // A mouse move over the splitter: buttons as in WM_MOUSEMOVE, x in pixels from its left edge.
  void LabLeft_MouseMove(WPARAM buttons, int x);

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);

  HWND labLeft_ = nullptr;
  std::function<int()> width_;
  std::function<void(int)> resize_;
};

}  // namespace corvane
