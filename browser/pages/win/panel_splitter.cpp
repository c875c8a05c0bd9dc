#include "browser/pages/win/panel_splitter.h"

#include <commctrl.h>
#include <windowsx.h>

#include "browser/pages/favorites.h"
#include "common/win/ui/window.h"

namespace corvane {
namespace {
constexpr UINT_PTR kSubclassId = 0x7A77;
}

PanelSplitter::~PanelSplitter() {
  if (labLeft_ && IsWindow(labLeft_)) RemoveWindowSubclass(labLeft_, Proc, kSubclassId);
}

void PanelSplitter::Attach(HWND labLeft, std::function<int()> width, std::function<void(int)> resize) {
  labLeft_ = labLeft;
  width_ = std::move(width);
  resize_ = std::move(resize);
  // A label lets the mouse through to its parent unless it asks for notices.
  SetWindowLongPtrW(labLeft_, GWL_STYLE, GetWindowLongPtrW(labLeft_, GWL_STYLE) | SS_NOTIFY);
  SetWindowSubclass(labLeft_, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void PanelSplitter::LabLeft_MouseMove(WPARAM buttons, int x) {
  if (!(buttons & MK_LBUTTON)) return;
  HWND frame = GetParent(labLeft_);
  RECT rc;
  GetClientRect(frame, &rc);
  int frameWidth = common::ui::PixelsToTwips(frame, rc.right);
  int width = DraggedPanelWidth(width_(), common::ui::PixelsToTwips(frame, x), frameWidth);
  if (width != width_()) resize_(width);
}

LRESULT CALLBACK PanelSplitter::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* splitter = reinterpret_cast<PanelSplitter*>(self);
  switch (msg) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_SIZEWE)); return TRUE;
    case WM_LBUTTONDOWN: SetCapture(h); return 0;
    case WM_LBUTTONUP: ReleaseCapture(); return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == h) splitter->LabLeft_MouseMove(wp, GET_X_LPARAM(lp));
      return 0;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace corvane
