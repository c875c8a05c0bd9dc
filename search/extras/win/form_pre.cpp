#include "search/extras/win/form_pre.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "common/win/message_loop.h"
#include "common/win/ui/tool_tip.h"

namespace sercavo {
namespace {
constexpr int kWidthTwips = 6000, kHeightTwips = 5000;
}

bool FormPre::Load(HWND main) {
  main_ = main;
  if (hwnd()) return true;
  int w = common::ui::Twips(main, kWidthTwips), h = common::ui::Twips(main, kHeightTwips);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (!Create(kFormPreClass, L"窗口预览", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              std::max(0L, work.right - w - 20), work.top + 20, w, h, main))
    return false;
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (PreviewPane* p :
       {panes_.media.get(), panes_.web.get(), panes_.text.get(), static_cast<PreviewPane*>(panes_.picture.get())})
    if (p) p->Create(hwnd());
  if (HWND picture = GetDlgItem(hwnd(), kPictureId)) common::ui::AddToolTip(hwnd(), picture, L"鼠标双击打开图片");
  common::SetDialogKeys(hwnd());
  return true;
}

PreviewPane* FormPre::PaneOf(Viewer v) const {
  switch (v) {
    case Viewer::Media: return panes_.media.get();
    case Viewer::Web: return panes_.web.get();
    case Viewer::Text: return panes_.text.get();
    case Viewer::Picture: return panes_.picture.get();
    default: return nullptr;
  }
}

void FormPre::FirstSet() {
  for (Viewer v : {Viewer::Media, Viewer::Web, Viewer::Text, Viewer::Picture})
    if (PreviewPane* p = PaneOf(v)) {
      p->Show(false);
      p->Clear();
    }
}

void FormPre::Preview(const std::wstring& path, HWND main) {
  // Where the user is in the main window (the list): the keys that move through the rows stay there.
  HWND back = GetFocus();
  if (!back || (back != main && !IsChild(main, back))) back = main;
  Viewer v = ChooseViewer(path);
  if (v == Viewer::DefaultProgram) {
    ShellExecuteW(main, L"open", path.c_str(), nullptr, nullptr, SW_HIDE);
    return Close();
  }
  PreviewPane* pane = PaneOf(v);
  if (!pane || !Load(main)) return Close();
  FirstSet();
  viewer_ = v;
  path_ = path;
  pane->Open(path);
  Layout();
  pane->Show(true);
  SetWindowTextW(hwnd(), PreviewCaption(path).c_str());
  if (!previewShown_) {
    previewShown_ = true;
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
  // The user goes on moving through the list.
  if (GetFocus() != back) SetFocus(back);
}

void FormPre::Layout() {
  RECT inner;
  GetClientRect(hwnd(), &inner);
  for (Viewer v : {Viewer::Media, Viewer::Web, Viewer::Text})
    if (PreviewPane* p = PaneOf(v)) p->Place(inner);
  ChangeImageWidth();
}

void FormPre::ChangeImageWidth() {
  if (!panes_.picture || !hwnd()) return;
  RECT inner;
  GetClientRect(hwnd(), &inner);
  SIZE natural = panes_.picture->Natural();
  Box b = FitPicture(natural.cx, natural.cy, inner.right, inner.bottom);
  panes_.picture->Place(RECT{b.left, b.top, b.left + b.width, b.top + b.height});
}

RECT FormPre::PictureRect() const {
  RECT r{};
  HWND picture = GetDlgItem(hwnd(), kPictureId);
  if (!picture) return r;
  GetWindowRect(picture, &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void FormPre::Close() {
  if (hwnd()) Destroy();
}

LRESULT FormPre::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kPictureId && HIWORD(wp) == STN_DBLCLK && !path_.empty())
        ShellExecuteW(main_, L"open", path_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      if (LOWORD(wp) == IDCANCEL) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      FirstSet();
      for (Viewer v : {Viewer::Media, Viewer::Web, Viewer::Text, Viewer::Picture})
        if (PreviewPane* p = PaneOf(v)) p->Detach();
      previewShown_ = false;
      viewer_ = Viewer::None;
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
