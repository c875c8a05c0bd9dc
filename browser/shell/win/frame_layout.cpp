// The frame's controls and their places: toolbar and speed meters, the address strip `Pict`, the tab
// strip, the side panel, the page area and the status bar; their notifications.
#include "browser/shell/win/frm_main.h"

#include <commctrl.h>

#include "browser/shell/win/pages_menu.h"
#include "common/win/ui/tool_tip.h"

namespace corvane {
namespace {
using common::ui::CreateControl;
using common::ui::Twips;

enum : int {
  kIdToolbar = 100,
  kIdComb,
  kIdCmdGo,
  kIdStat,
  kIdTvw,
  kIdCombSearch,
  kIdCmdSearch,
  kIdImage2,
  kIdImage3,
  kIdImage4,
  kIdImage5
};
constexpr int kRowTwips = 345;

void Place(HWND h, bool shown, int x, int y, int w, int hgt) {
  if (shown) MoveWindow(h, x, y, std::max(0, w), std::max(0, hgt), TRUE);
  ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
}
}  // namespace

void FrmMain::CreateControls() {
  toolbar_ = CreateFrameToolbar(hwnd(), kIdToolbar);
  picDown_ = CreateControl(hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
  picUp_ = CreateControl(hwnd(), L"STATIC", L"", SS_SUNKEN, 0);
  // TextUrl is the drop-down's own edit box: one address box with the closed pages' list below it.
  comb_ = CreateControl(hwnd(), WC_COMBOBOXW, kUrlPrompt, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                        kIdComb);
  COMBOBOXINFO ci{sizeof ci};
  GetComboBoxInfo(comb_, &ci);
  textUrl_ = ci.hwndItem;
  SendMessageW(comb_, CB_LIMITTEXT, 0, 0);
  cmdGo_ = CreateControl(hwnd(), L"BUTTON", L"转到", BS_PUSHBUTTON | WS_TABSTOP, kIdCmdGo);
  combSearch_ = CreateControl(hwnd(), WC_COMBOBOXW, L"网上搜索",
                              CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, kIdCombSearch);
  GetComboBoxInfo(combSearch_, &ci);
  searchEdit_ = ci.hwndItem;
  cmdSearch_ = CreateControl(hwnd(), L"BUTTON", L"搜索", BS_PUSHBUTTON | WS_TABSTOP, kIdCmdSearch);
  // A drop-down's own edit box takes no text at creation.
  SetWindowTextW(textUrl_, kUrlPrompt);
  SetWindowTextW(searchEdit_, L"网上搜索");
  common::ui::AddToolTip(hwnd(), searchEdit_, L"自动粘贴 选定的网页内容");
  common::ui::AddToolTip(hwnd(), cmdSearch_, L"网上搜索关键词");
  // The page pictures: top, bottom and full screen; the menus and keys do the same.
  image3_ = CreateControl(hwnd(), L"BUTTON", L"▲", BS_PUSHBUTTON, kIdImage3);
  image2_ = CreateControl(hwnd(), L"BUTTON", L"▼", BS_PUSHBUTTON, kIdImage2);
  image4_ = CreateControl(hwnd(), L"BUTTON", L"全屏", BS_PUSHBUTTON, kIdImage4);
  common::ui::AddToolTip(hwnd(), image3_, L"至页面顶部       (Home)");
  common::ui::AddToolTip(hwnd(), image2_, L"至页面底部       (End )");
  common::ui::AddToolTip(hwnd(), image4_, L"全屏                         F11");
  strip_.Create(hwnd(), {[this](int n, int b) { Lab_MouseDown(n, b); }, [this](int n) { Lab_DblClick(n); },
                         [this](int b) { Image1_MouseDown(b); }});
  // The side panel PictLeft: its caption, close picture, tree and splitter stand on the frame itself, so
  // that the tree's notifications reach it.
  label2_ = CreateControl(hwnd(), L"STATIC", L"网址收藏夹", SS_CENTER | SS_SUNKEN | SS_CENTERIMAGE, 0);
  image5_ = CreateControl(hwnd(), L"BUTTON", L"×", BS_PUSHBUTTON, kIdImage5);
  tvw_ = CreateControl(hwnd(), WC_TREEVIEWW, L"", TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                       kIdTvw, WS_EX_CLIENTEDGE);
  labLeft_ = CreateControl(hwnd(), L"STATIC", L"", SS_ETCHEDVERT, 0);
  for (HWND h : {label2_, image5_, tvw_, labLeft_}) ShowWindow(h, SW_HIDE);
  client_ =
      CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      0, 0, 10, 10, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  stat_.Create(hwnd(), kIdStat, {5200, 80, 1000, 80, 2600, 80, -1});
}

void FrmMain::ShowSidePanel(bool on) {
  sidePanel_ = on;
  Relayout();
}

void FrmMain::SetSidePanelWidth(int twips) {
  sidePanelTwips_ = twips;
  Relayout();
}

void FrmMain::Relayout() {
  Layout();
  // The window kept its size: what moved inside it is drawn anew, the page's control included.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FrmMain::ShowBars(bool toolbar, bool pict, bool status) {
  toolbarShown_ = toolbar, pictShown_ = pict, statusShown_ = status;
  CheckMenuItem(menus_.view, kAnniu, toolbar ? MF_CHECKED : MF_UNCHECKED);
  CheckMenuItem(menus_.view, kDizhi, pict ? MF_CHECKED : MF_UNCHECKED);
  CheckMenuItem(menus_.view, kZhuangtai, status ? MF_CHECKED : MF_UNCHECKED);
  Relayout();
}

void FrmMain::Layout() {
  if (!client_) return;
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int cw = rc.right, ch = rc.bottom, y = 0;
  int row = Twips(hwnd(), kRowTwips), gap = Twips(hwnd(), 45);
  // Toolbar and the two speed meters at its right. Every button stays in view: on a narrow frame the
  // meters give up width, and go when too little is left for their text.
  int th = HIWORD(SendMessageW(toolbar_, TB_GETBUTTONSIZE, 0, 0)) + 2;
  int meter = std::min(Twips(hwnd(), 1400), (cw - ToolbarWidth() - 8) / 2);
  bool meters = toolbarShown_ && meter >= Twips(hwnd(), 800);
  if (!meters) meter = 0;
  Place(toolbar_, toolbarShown_, 0, 0, meters ? cw - 2 * meter - 8 : cw, th);
  Place(picDown_, meters, cw - 2 * meter - 6, 3, meter, th - 6);
  Place(picUp_, meters, cw - meter - 3, 3, meter, th - 6);
  if (toolbarShown_) y = th + gap;
  // The address strip: address box, go, search box, search, the page pictures.
  int go = Twips(hwnd(), 700), search = Twips(hwnd(), 2600), pic = row;
  int addressW = cw - 4 - go - search - go - 4 * pic - 6 * gap - 4;
  int x = 4;
  Place(comb_, pictShown_, x, y, addressW, row * 12);
  Place(cmdGo_, pictShown_, x += addressW + gap, y, go, row);
  Place(combSearch_, pictShown_, x += go + 2 * gap, y, search, row * 12);
  Place(cmdSearch_, pictShown_, x += search + gap, y, go, row);
  Place(image3_, pictShown_, x += go + 2 * gap, y, pic, row);
  Place(image2_, pictShown_, x += pic, y, pic, row);
  Place(image4_, pictShown_, x += pic, y, 2 * pic, row);
  if (pictShown_) y += row + gap;
  int stripH = Twips(hwnd(), kTabStripTwips);
  MoveWindow(strip_.hwnd(), 0, y, cw, stripH, TRUE);
  y += stripH + 2;
  ShowWindow(stat_.hwnd(), statusShown_ ? SW_SHOWNA : SW_HIDE);
  stat_.Resize();
  RECT sr{};
  if (statusShown_) GetWindowRect(stat_.hwnd(), &sr);
  int bodyH = std::max(0, ch - int(sr.bottom - sr.top) - y);
  int left = sidePanel_ ? Twips(hwnd(), sidePanelTwips_) : 0, head = row;
  Place(label2_, sidePanel_, 0, y, left - 4 - head, head);
  Place(image5_, sidePanel_, left - 4 - head, y, head, head);
  Place(tvw_, sidePanel_, 0, y + head + 2, left - 4, bodyH - head - 2);
  Place(labLeft_, sidePanel_, left - 3, y, 3, bodyH);
  MoveWindow(client_, left, y, std::max(0, cw - left), bodyH, TRUE);
  // The tabs follow the new width; the active page fills the new client area.
  for (const TabBox& b : LayoutTabs(table_, StripWidthTwips())) {
    strip_.labels()[b.number].left = b.left;
    strip_.labels()[b.number].width = b.width;
  }
  strip_.Show(table_.Order());
  if (Formweb* page = ActivePage()) FillPage(page);
}

int FrmMain::ToolbarWidth() const {
  int buttons = int(SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0));
  RECT last{};
  if (buttons == 0 || !SendMessageW(toolbar_, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last))) return 0;
  return last.right + 2;
}

int FrmMain::StripWidthTwips() const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  return common::ui::PixelsToTwips(hwnd(), rc.right);
}

void FrmMain::FillPage(Formweb* page) {
  if (!page || !page->hwnd()) return;
  RECT rc, now;
  GetClientRect(client_, &rc);
  GetWindowRect(page->hwnd(), &now);
  MapWindowPoints(nullptr, client_, reinterpret_cast<POINT*>(&now), 2);
  UINT keep = EqualRect(&rc, &now) ? SWP_NOMOVE | SWP_NOSIZE : 0;
  SetWindowPos(page->hwnd(), HWND_TOP, 0, 0, rc.right, rc.bottom, SWP_SHOWWINDOW | keep);
  if (shown_ != page) page->butenableable();
  // Only the page in front is shown: the others cost the window manager nothing while hidden.
  if (shown_ && shown_ != page && shown_->hwnd())
    SetWindowPos(shown_->hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  shown_ = page;
}

void FrmMain::DropDown(int button) {
  HMENU m = button == kUpDir         ? menus_.up
            : button == kCancel      ? menus_.cancel
            : button == kSearchSites ? menus_.searchDrop
            : button == kFilmSites   ? menus_.filmDrop
            : button == kCloseMe     ? menus_.close
                                     : nullptr;
  if (!m) return;
  if (button == kUpDir) ShowUpItems();
  RECT r;
  SendMessageW(toolbar_, TB_GETRECT, button, reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  TrackPopupMenu(m, TPM_LEFTALIGN, r.left, r.bottom, 0, hwnd(), nullptr);
}

void FrmMain::OnNotify(NMHDR* hdr, LRESULT& result) {
  if (PagesNotify(*this, hdr)) return;
  switch (hdr->code) {
    case TBN_DROPDOWN:
      DropDown(reinterpret_cast<NMTOOLBARW*>(hdr)->iItem);
      result = TBDDRET_DEFAULT;
      break;
    case TTN_GETDISPINFOW:
      if (hdr->hwndFrom == reinterpret_cast<HWND>(SendMessageW(toolbar_, TB_GETTOOLTIPS, 0, 0)))
        if (const wchar_t* tip = ToolTipOf(int(hdr->idFrom)))
          reinterpret_cast<NMTTDISPINFOW*>(hdr)->lpszText = const_cast<wchar_t*>(tip);
      break;
    case NM_CLICK:
      if (hdr->hwndFrom == stat_.hwnd()) Stat_PanelClick(int(reinterpret_cast<NMMOUSE*>(hdr)->dwItemSpec) + 1);
      break;
  }
}

}  // namespace corvane
